// The path display form and the file dialogs' filter lists over fuzzed paths and fuzzed filter texts.
// displayPath keeps every byte and undoes itself; a filter list always fits the dialog's buffer, ends in two
// zero bytes and holds only complete, non-empty description/pattern pairs.
#include <fuzzer/FuzzedDataProvider.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "state/program_description.h"
#include "state/argument_slot.h"
#include "pages/path_display.h"
#include "platform/text.h"

namespace {

void checkFilterList(const std::string& list) {
    if (list.size() > brennic::kFilterBufferSize || list.size() < 4) std::abort();
    if (list[list.size() - 1] != '\0' || list[list.size() - 2] != '\0') std::abort();
    // Parts up to the double zero: each non-empty, an even number of them.
    std::size_t parts = 0;
    std::size_t start = 0;
    while (start < list.size() - 1) {
        const auto end = list.find('\0', start);
        if (end == start) std::abort();
        ++parts;
        start = end + 1;
    }
    if (parts % 2 != 0 || start != list.size() - 1) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider in(data, size);

    const std::string path = in.ConsumeRandomLengthString(1000);
    const std::string shown = brennic::displayPath(path);
    if (shown.size() != path.size()) std::abort();
    if (std::count(shown.begin(), shown.end(), '\\') != std::count(path.begin(), path.end(), '\\')) std::abort();
    if (brennic::displayPath(shown) != path) std::abort();
    // Cut to the dialog's buffer as the platform counts (UTF-16 units), always a start of the path.
    const std::string initial = brennic::dialogInitialText(path);
    if (brennic::utf16Length(initial) > brennic::kMaxText || path.compare(0, initial.size(), initial) != 0) std::abort();

    brennic::ProgramDescription description;
    const std::size_t textCount = in.ConsumeIntegralInRange<std::size_t>(0, 8);
    for (std::size_t i = 0; i < textCount; ++i) description.filterTexts.push_back(in.ConsumeRandomLengthString(2100));
    brennic::PathSpec spec;
    const std::size_t filters = in.ConsumeIntegralInRange<std::size_t>(0, 10);
    for (std::size_t i = 0; i < filters; ++i) spec.filters.push_back(in.ConsumeIntegralInRange<std::uint16_t>(0, 9));
    spec.filterCount = in.ConsumeIntegral<std::uint8_t>();

    const std::string text = brennic::buildFilterText(description, spec);
    if (text.size() >= brennic::kFilterBufferSize && text != brennic::kDefaultFilter) std::abort();
    checkFilterList(brennic::filterList(text));
    checkFilterList(brennic::filterList(in.ConsumeRemainingBytesAsString()));
    return 0;
}
