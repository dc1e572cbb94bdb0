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
    std::uint32_t keepPagesAtExit = 0;  // 1: closing Brennic writes the save file as Ctrl+S does
    std::string runAppPath;
    // The main window's size in pixels at 96 dots per inch; 0 while it was never given (today's size).
    std::uint32_t windowWidth = 0;
    std::uint32_t windowHeight = 0;
};

}  // namespace brennic
