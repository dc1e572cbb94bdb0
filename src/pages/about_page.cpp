#include "pages/about_page.h"

#include <cstdint>

namespace brennic {

void fillAboutPage(const AppState& state, AboutView& view) {
    if (!state.descriptionReady) return;
    const ProgramDescription& description = state.description;
    view.setWindowTitle(description.descriptionText(kProgramFolderName));
    for (int which = kProgramFolderName; which <= kContactText; ++which)
        view.setText(static_cast<DescriptionText>(which), description.descriptionText(which));
}

void refreshAboutStatus(const AppState& state, PageHost& host) {
    if (!state.descriptionReady) return;
    host.setStatusText(1, "0");
    host.setStatusText(2, "0");
}

std::optional<std::string> versionLineFromResource(std::string_view resource) {
    // The fixed part starts on a 32-bit boundary with its signature; the product version is its fourth and
    // fifth double words (most significant first).
    constexpr std::uint32_t kSignature = 0xFEEF04BD;
    constexpr std::size_t kFixedSize = 13 * 4;
    auto dword = [&](std::size_t at) {
        std::uint32_t value = 0;
        for (int i = 3; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(resource[at + static_cast<std::size_t>(i)]);
        return value;
    };
    for (std::size_t at = 0; at + kFixedSize <= resource.size(); at += 4) {
        if (dword(at) != kSignature) continue;
        const std::uint32_t high = dword(at + 16);
        const std::uint32_t low = dword(at + 20);
        std::string line = "Version ";
        line += std::to_string(high >> 16);
        line += '.';
        line += std::to_string(high & 0xFFFF);
        line += '.';
        line += std::to_string(low >> 16);
        if ((low & 0xFFFF) != 0) {
            line += '.';
            line += std::to_string(low & 0xFFFF);
        }
        return line;
    }
    return std::nullopt;
}

}  // namespace brennic
