// The user options record, with the built-in defaults.
#pragma once

#include <cstdint>
#include <string>

namespace brennic {

struct AppOptions {
    std::uint32_t userDir = 0;     // 1: runAppPath names the programs folder
    std::uint32_t consoleOpt = 2;  // 0 hide, 1 show, 2 hold in cmd.exe, 3 output in Brennic's run window
    std::uint32_t startSound = 0;
    std::uint32_t pathClr = 0;
    std::uint32_t margsClr = 0;
    std::uint32_t showWarn = 1;
    std::string runAppPath;
};

}  // namespace brennic
