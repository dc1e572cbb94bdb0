// The pages' background: the dialog face colour, each channel lightened by 10 (at most 255).
#pragma once

#include <cstdint>

namespace brennic {

// Takes and returns a 0x00BBGGRR colour value.
constexpr std::uint32_t pageColour(std::uint32_t face) {
    std::uint32_t lightened = 0;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t channel = (face >> shift) & 0xFFu;
        lightened |= (channel >= 246 ? 255u : channel + 10u) << shift;
    }
    return lightened;
}

}  // namespace brennic
