// The folders a test run works in, and files the tests put there.
//
//   <work>\app\brennic.exe     a fresh copy of the program under test for every run; its folder is the program
//                              directory, so prog.vx and the described program's folder go beside it
//   <work>\...                 anything else a test needs (configs elsewhere, a chosen programs folder)
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace brennic::e2e {

struct WorkspaceSettings {
    std::string brennicExe;  // the program under test, as built
    std::string workDir;     // emptied at the start of the run
    std::string dataDir;     // tests/e2e/data and the test programs built beside the driver
};

bool initWorkspace(const WorkspaceSettings& settings);

// Paths and texts are UTF-8 throughout the driver; these convert at the wide interfaces.
std::wstring wide(const std::string& text);
std::string utf8(const wchar_t* text);

const std::string& workDir();
const std::string& appDir();         // <work>\app, holds brennic.exe
const std::string& brennicExePath();  // <work>\app\brennic.exe
const std::string& dataDir();

// Empties <work>\app but for brennic.exe, and removes everything else from <work>.
void resetWorkspace();

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
bool writeFile(const std::string& path, const std::string& bytes);
bool copyFile(const std::string& from, const std::string& to);  // creates the target's folders
bool fileExists(const std::string& path);
std::string readFile(const std::string& path);  // empty when missing
bool makeFolders(const std::string& path);

// `folder` + "\" + `name`.
std::string join(const std::string& folder, const std::string& name);

}  // namespace brennic::e2e

namespace brennic::e2e {

// A program built beside the driver (the icon test programs), by file name.
std::string builtProgram(const std::string& name);

}  // namespace brennic::e2e
