// The state of one argument page.
#pragma once

#include <array>
#include <cstdint>
#include <string>

namespace brennic {

// Opaque handle of a platform window (a tool-tip control), stored but never interpreted by the core.
using WindowHandle = std::uintptr_t;

struct ArgumentSlot {
    std::int32_t enabled = 0;
    std::int32_t pathUsed = 0;
    std::int32_t manualUsed = 0;
    WindowHandle toolTip = 0;
    std::uint16_t group = 0;
    std::uint16_t item = 0;
    std::string path;
    std::string manualText;
};

inline constexpr int kArgumentCount = 3;
using ArgumentSlots = std::array<ArgumentSlot, kArgumentCount>;

// Texts read from controls and dialogs go through 260-byte buffers.
inline constexpr std::size_t kMaxText = 259;

}  // namespace brennic
