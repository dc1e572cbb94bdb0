// Any byte sequence as a save file: decoding must stay inside the input, and whatever it accepts must come
// back unchanged through encoding and decoding again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "persist/save_file.h"
#include "platform/text.h"

namespace {

const brennic::Windows1252 kCodePage;  // stands for the system's ANSI code page

class FieldText : public brennic::PageControls {
public:
    std::string text;
    std::string manualText() const override { return text; }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    brennic::ArgumentSlots slots{};
    if (!brennic::decodeSaveFile(bytes, slots, kCodePage)) return 0;

    // The manual fields show what was restored, as the pages do (the field holds at most 259 characters).
    FieldText fields[3];
    brennic::PageControlsTable controls{};
    for (std::size_t i = 0; i < 3; ++i) {
        fields[i].text = slots[i].manualText.substr(0, brennic::kMaxText);
        controls[i] = &fields[i];
    }
    brennic::ArgumentSlots copy = slots;
    const std::string encoded = brennic::encodeSaveFile(copy, controls, kCodePage);
    brennic::ArgumentSlots again{};
    if (!brennic::decodeSaveFile(encoded, again, kCodePage)) std::abort();
    for (std::size_t i = 0; i < 3; ++i) {
        if ((again[i].enabled != 0) != (slots[i].enabled != 0)) std::abort();
        if (slots[i].enabled == 0) continue;
        if (again[i].group != slots[i].group || again[i].item != slots[i].item) std::abort();
        if (slots[i].pathUsed != 0 && !slots[i].path.empty() && again[i].path != slots[i].path) std::abort();
    }
    return 0;
}
