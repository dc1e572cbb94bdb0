// The folders a test run works in.
#include "driver/workspace.h"

#include <windows.h>

#include "platform/text.h"

namespace brennic::e2e {

namespace {

WorkspaceSettings g_settings;
std::string g_appDir;
std::string g_exe;

void removeTree(const std::string& folder, const std::string& keep) {
    WIN32_FIND_DATAW entry;
    HANDLE find = FindFirstFileW(wide(join(folder, "*")).c_str(), &entry);
    if (find == INVALID_HANDLE_VALUE) return;
    do {
        const std::string name = utf8(entry.cFileName);
        if (name == "." || name == "..") continue;
        const std::string path = join(folder, name);
        if (path == keep) continue;
        if (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
            removeTree(path, keep);
            RemoveDirectoryW(wide(path).c_str());
        } else {
            SetFileAttributesW(wide(path).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileW(wide(path).c_str());
        }
    } while (FindNextFileW(find, &entry));
    FindClose(find);
}

}  // namespace

std::wstring wide(const std::string& text) {
    const std::u16string units = utf16FromUtf8(text);
    return std::wstring(units.begin(), units.end());
}

std::string utf8(const wchar_t* text) {
    const std::wstring_view view(text);
    return utf8FromUtf16(std::u16string(view.begin(), view.end()));
}

std::string join(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    return folder.back() == '\\' ? folder + name : folder + "\\" + name;
}

bool makeFolders(const std::string& path) {
    for (std::size_t i = 3; i <= path.size(); ++i) {
        if (i == path.size() || path[i] == '\\') CreateDirectoryW(wide(path.substr(0, i)).c_str(), nullptr);
    }
    const DWORD attributes = GetFileAttributesW(wide(path).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool initWorkspace(const WorkspaceSettings& settings) {
    g_settings = settings;
    g_appDir = join(settings.workDir, "app");
    g_exe = join(g_appDir, "brennic.exe");
    if (!makeFolders(settings.workDir)) return false;
    removeTree(settings.workDir, "");
    return makeFolders(g_appDir) && CopyFileW(wide(settings.brennicExe).c_str(), wide(g_exe).c_str(), FALSE);
}

const std::string& workDir() { return g_settings.workDir; }
const std::string& appDir() { return g_appDir; }
const std::string& brennicExePath() { return g_exe; }
const std::string& dataDir() { return g_settings.dataDir; }

void resetWorkspace() {
    removeTree(g_settings.workDir, g_exe);
    makeFolders(g_appDir);
}

bool writeFile(const std::string& path, const std::string& bytes) {
    const auto slash = path.rfind('\\');
    if (slash != std::string::npos) makeFolders(path.substr(0, slash));
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    DWORD written = 0;
    const bool ok = WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    return CloseHandle(file) && ok;
}

bool writeFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    return writeFile(path, std::string(bytes.begin(), bytes.end()));
}

bool copyFile(const std::string& from, const std::string& to) {
    const auto slash = to.rfind('\\');
    if (slash != std::string::npos) makeFolders(to.substr(0, slash));
    return CopyFileW(wide(from).c_str(), wide(to).c_str(), FALSE) != 0;
}

bool fileExists(const std::string& path) { return GetFileAttributesW(wide(path).c_str()) != INVALID_FILE_ATTRIBUTES; }

std::string readFile(const std::string& path) {
    HANDLE file = CreateFileW(wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                              0, nullptr);
    if (file == INVALID_HANDLE_VALUE) return {};
    std::string bytes;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) bytes.append(buffer, got);
    CloseHandle(file);
    return bytes;
}

}  // namespace brennic::e2e

namespace brennic::e2e {

std::string builtProgram(const std::string& name) {
    wchar_t path[MAX_PATH] = {};
    GetModuleFileNameW(nullptr, path, MAX_PATH);
    const std::string text = utf8(path);
    return text.substr(0, text.rfind('\\') + 1) + name;
}

}  // namespace brennic::e2e
