// Any byte sequence as a tool folder's options file: parsing must stay inside the input, and a file it accepts
// must keep every value through a change and a save, and parse again to the same values.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "persist/ini_store.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string problem;
    auto file = brennic::OptionsFile::parse(bytes, problem);
    if (!file) {
        if (problem.empty()) std::abort();  // a refusal always says why
        return 0;
    }
    const char* const names[] = {"user dir", "console opt ", "run app path", "window width"};
    brennic::StoredValue before[4];
    bool present[4];
    for (int i = 0; i < 4; ++i) present[i] = file->find(names[i], before[i]);

    // Changing one value keeps the others; the saved text parses to the same values.
    const brennic::StoredValue folder{brennic::kStoreText, "C:\\Tools"};
    if (!file->set("run app path", folder)) std::abort();
    auto again = brennic::OptionsFile::parse(file->bytes(), problem);
    if (!again) std::abort();
    for (int i = 0; i < 4; ++i) {
        brennic::StoredValue value;
        const bool found = again->find(names[i], value);
        const brennic::StoredValue expected = i == 2 ? folder : before[i];
        if (found != (i == 2 || present[i])) std::abort();
        if (found && (value.type != expected.type || value.data != expected.data)) std::abort();
    }
    return 0;
}
