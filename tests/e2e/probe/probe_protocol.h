// The request block the test driver writes into the program under test and hands to the probe DLL loaded
// there. The probe answers in the same block. Add a command by adding a value here and a case in probe.cpp.
#pragma once

#include <cstdint>

namespace brennic::e2e {

enum ProbeCommand : std::uint32_t {
    kProbeMenuItem = 1,      // window, id -> found, state (MF_* flags of GetMenuState), text
    kProbeBigIconPixel = 2,  // window -> found, value (0xAARRGGBB at the centre of the window's big icon),
                             // state (the icon's width)
    kProbeBoxIcon = 3,       // window (a message box) -> found, value (the standard icon id it shows, 0 none)
    kProbeSettle = 4,        // window -> found once the window's thread has handled everything queued before
                             // the request (posted messages, input, paint) and waits for more, also inside a
                             // modal loop
    kProbeDropReleased = 5,  // window, text (a file name) -> found, value (1 when the window released the
                             // dropped-files handle it was sent, as DragFinish does)
    kProbePopupMenuItem = 6, // id -> found (a context menu of the program is open and holds the item), state,
                             // text
    kProbeDropFiles = 10,    // window, text (names each ended by a zero byte, then one more) -> found once a
                             // dropped-files handle holding them was posted to the window as WM_DROPFILES
    kProbeCurrentDirectory = 11,  // -> found, text (the program's current directory)
    kProbeSmallIconPixel = 12,    // as kProbeBigIconPixel, for the window's small icon
    kProbeAccessibleName = 13,    // window, id (0 the control, n its part n) -> found (the window has an
                                  // accessible object), value (1 when it gave a name), text (the name, UTF-8)
};

struct ProbeRequest {
    std::uint32_t command = 0;
    std::uint32_t found = 0;  // 1 when the probe could answer
    std::uint64_t window = 0;
    std::int32_t id = 0;
    std::uint32_t state = 0;
    std::uint32_t value = 0;
    char text[512] = {};
};

}  // namespace brennic::e2e
