// Any byte sequence as a presets file (bit 0 of the first byte clear) or a recent-runs file (set): decoding must
// stay inside the input, and whatever it accepts must come back unchanged through encoding and decoding again.
// With bit 1 set the rest is taken as a payload and sealed with a valid envelope first, so the fuzzer reaches
// the payload rules behind the checksum.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "persist/presets.h"
#include "persist/recent_runs.h"
#include "persist/record_file.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const std::string_view rest(reinterpret_cast<const char*>(data) + 1, size - 1);
    const bool presets = (data[0] & 1u) == 0;
    const std::string sealed = (data[0] & 2u) != 0
                                   ? brennic::sealRecordFile(presets ? brennic::kPresetsKind : brennic::kRecentRunsKind,
                                                             1, rest)
                                   : std::string(rest);
    const std::string_view bytes = sealed;
    if (presets) {
        const brennic::DecodedPresets decoded = brennic::decodePresets(bytes);
        if (!decoded.problem.empty()) {
            if (!decoded.presets.empty()) std::abort();  // refused means refused whole
            return 0;
        }
        for (const brennic::Preset& preset : decoded.presets) {
            if (!brennic::presetSlots(preset)) std::abort();  // accepted presets always restore
        }
        const brennic::DecodedPresets again = brennic::decodePresets(brennic::encodePresets(decoded.presets));
        if (!again.problem.empty() || again.presets != decoded.presets) std::abort();
    } else {
        const brennic::DecodedRecentRuns decoded = brennic::decodeRecentRuns(bytes);
        if (!decoded.problem.empty()) {
            if (!decoded.runs.empty()) std::abort();
            return 0;
        }
        if (decoded.runs.size() > brennic::kMaxRecentRuns) std::abort();
        for (const brennic::RecentRun& run : decoded.runs) (void)brennic::recentRunCaption(run, "t", 20);
        const brennic::DecodedRecentRuns again = brennic::decodeRecentRuns(brennic::encodeRecentRuns(decoded.runs));
        if (!again.problem.empty() || again.runs != decoded.runs) std::abort();
    }
    return 0;
}
