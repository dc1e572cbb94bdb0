// A small DLL the test driver loads into the program under test, for what Wine does not allow across
// processes (menus, icon bits). The driver runs probeMain on a thread of the program with a request block.
#include <windows.h>
#include <shlobj.h>
#include <oleacc.h>

#include <cstring>

#include "probe_protocol.h"

namespace {

using brennic::e2e::ProbeRequest;

// A menu item's text as UTF-8.
void menuText(HMENU menu, UINT id, ProbeRequest& request) {
    wchar_t text[256] = {};
    GetMenuStringW(menu, id, text, 256, MF_BYCOMMAND);
    WideCharToMultiByte(CP_UTF8, 0, text, -1, request.text, sizeof request.text, nullptr, nullptr);
}

HMENU findMenuHolding(HMENU menu, UINT id) {
    if (menu == nullptr) return nullptr;
    if (GetMenuState(menu, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) return menu;
    return nullptr;
}

void menuItem(ProbeRequest& request) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    HMENU holder = findMenuHolding(GetMenu(window), static_cast<UINT>(request.id));
    if (holder == nullptr) return;
    request.state = GetMenuState(holder, static_cast<UINT>(request.id), MF_BYCOMMAND);
    menuText(holder, static_cast<UINT>(request.id), request);
    request.found = 1;
}

void iconPixel(ProbeRequest& request, WPARAM which) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    HICON icon = reinterpret_cast<HICON>(SendMessageW(window, WM_GETICON, which, 0));
    if (icon == nullptr) return;
    ICONINFO info{};
    if (!GetIconInfo(icon, &info)) return;
    BITMAP bitmap{};
    if (info.hbmColor != nullptr && GetObjectW(info.hbmColor, sizeof bitmap, &bitmap) != 0) {
        BITMAPINFO format{};
        format.bmiHeader.biSize = sizeof format.bmiHeader;
        format.bmiHeader.biWidth = bitmap.bmWidth;
        format.bmiHeader.biHeight = -bitmap.bmHeight;
        format.bmiHeader.biPlanes = 1;
        format.bmiHeader.biBitCount = 32;
        format.bmiHeader.biCompression = BI_RGB;
        const int width = bitmap.bmWidth;
        const int height = bitmap.bmHeight;
        DWORD* pixels = static_cast<DWORD*>(HeapAlloc(GetProcessHeap(), 0, sizeof(DWORD) * static_cast<SIZE_T>(width * height)));
        HDC dc = GetDC(nullptr);
        if (pixels != nullptr && GetDIBits(dc, info.hbmColor, 0, static_cast<UINT>(height), pixels, &format, DIB_RGB_COLORS) != 0) {
            request.value = pixels[(height / 2) * width + width / 2];
            request.state = static_cast<std::uint32_t>(width);
            request.found = 1;
        }
        ReleaseDC(nullptr, dc);
        if (pixels != nullptr) HeapFree(GetProcessHeap(), 0, pixels);
    }
    if (info.hbmColor != nullptr) DeleteObject(info.hbmColor);
    if (info.hbmMask != nullptr) DeleteObject(info.hbmMask);
}

void boxIcon(ProbeRequest& request) {
    HWND box = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    request.found = 1;
    request.value = 0;
    // The message box's icon is the one static control that shows an icon.
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        HICON shown = reinterpret_cast<HICON>(SendMessageW(child, STM_GETICON, 0, 0));
        if (shown == nullptr) continue;
        const std::uintptr_t standard[] = {32513, 32514, 32515, 32516};  // hand, question, exclamation, asterisk
        for (std::uintptr_t id : standard) {
            if (LoadIconW(nullptr, MAKEINTRESOURCEW(id)) == shown) request.value = static_cast<std::uint32_t>(id);
        }
        if (request.value == 0) request.value = 1;  // an icon, but not a standard one
    }
}

// Settling: a registered message is posted to the window; when the window's thread takes it from its queue
// (in its own loop or in a modal one), a thread timer is started, and when that timer's message is taken the
// thread has nothing else pending: timer messages come only after posted messages, input and painting.
HHOOK g_hook = nullptr;
HANDLE g_settled = nullptr;
UINT g_settleMessage = 0;
UINT_PTR g_timer = 0;
HINSTANCE g_instance = nullptr;

LRESULT CALLBACK watchMessages(int code, WPARAM removed, LPARAM parameter) {
    if (code == HC_ACTION && removed == PM_REMOVE) {
        const MSG* message = reinterpret_cast<const MSG*>(parameter);
        if (message->message == g_settleMessage && g_settleMessage != 0) {
            g_timer = SetTimer(nullptr, 0, USER_TIMER_MINIMUM, nullptr);
        } else if (message->message == WM_TIMER && message->hwnd == nullptr && g_timer != 0 &&
                   message->wParam == g_timer) {
            KillTimer(nullptr, g_timer);
            g_timer = 0;
            SetEvent(g_settled);
        }
    }
    return CallNextHookEx(g_hook, code, removed, parameter);
}

void settle(ProbeRequest& request) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    const DWORD thread = GetWindowThreadProcessId(window, nullptr);
    if (thread == 0) return;
    if (g_settled == nullptr) {
        g_settled = CreateEventW(nullptr, FALSE, FALSE, nullptr);
        g_settleMessage = RegisterWindowMessageW(L"BrennicE2ESettle");
    }
    if (g_hook == nullptr) g_hook = SetWindowsHookExW(WH_GETMESSAGE, watchMessages, g_instance, thread);
    if (g_hook == nullptr || g_settled == nullptr) return;
    ResetEvent(g_settled);
    if (!PostMessageW(window, g_settleMessage, 0, 0)) return;
    if (WaitForSingleObject(g_settled, 15000) == WAIT_OBJECT_0) request.found = 1;
}

// A dropped-files handle as the shell builds one: DROPFILES, then the names in UTF-16, each ended by a zero,
// then one more zero. `names` is UTF-8 in that form (its length includes the closing zero).
HGLOBAL wideDrop(const char* names, std::size_t length) {
    const int units = MultiByteToWideChar(CP_UTF8, 0, names, static_cast<int>(length), nullptr, 0);
    if (units <= 0) return nullptr;
    const std::size_t size = sizeof(DROPFILES) + static_cast<std::size_t>(units) * sizeof(wchar_t);
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, size);
    if (memory == nullptr) return nullptr;
    auto* drop = static_cast<DROPFILES*>(GlobalLock(memory));
    drop->pFiles = sizeof(DROPFILES);
    drop->fWide = TRUE;
    MultiByteToWideChar(CP_UTF8, 0, names, static_cast<int>(length),
                        reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(drop) + sizeof(DROPFILES)), units);
    GlobalUnlock(memory);
    return memory;
}

// Sends the window a real dropped-files handle naming one file, then tells whether the handle was freed.
void dropReleased(ProbeRequest& request) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    request.text[sizeof request.text - 2] = '\0';
    request.text[sizeof request.text - 1] = '\0';
    const std::size_t length = std::strlen(request.text) + 2;  // the name's zero and the list's closing zero
    HGLOBAL memory = wideDrop(request.text, length);
    if (memory == nullptr) return;
    SendMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0);
    request.found = 1;
    request.value = GlobalFlags(memory) == GMEM_INVALID_HANDLE ? 1 : 0;
    if (request.value == 0) GlobalFree(memory);
}

// The item of the context menu that is open now (its pop-up window, class #32768, is visible).
void popupMenuItem(ProbeRequest& request) {
    struct Search {
        DWORD processId;
        HWND found;
    } search{GetCurrentProcessId(), nullptr};
    EnumWindows(
        [](HWND window, LPARAM parameter) -> BOOL {
            auto* s = reinterpret_cast<Search*>(parameter);
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            char name[16] = {};
            GetClassNameA(window, name, sizeof name);
            if (owner == s->processId && IsWindowVisible(window) && std::strcmp(name, "#32768") == 0) {
                s->found = window;
                return FALSE;
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found == nullptr) return;
    HMENU menu = reinterpret_cast<HMENU>(SendMessageA(search.found, MN_GETHMENU, 0, 0));
    const UINT id = static_cast<UINT>(request.id);
    if (menu == nullptr || GetMenuState(menu, id, MF_BYCOMMAND) == static_cast<UINT>(-1)) return;
    request.state = GetMenuState(menu, id, MF_BYCOMMAND);
    menuText(menu, id, request);
    request.window = reinterpret_cast<std::uintptr_t>(search.found);
    request.found = 1;
}

// A dropped-files handle built the way the shell builds one, posted to the window like a real drop.
void dropFiles(ProbeRequest& request) {
    std::size_t length = 0;
    while (length < sizeof request.text && request.text[length] != '\0')
        length += strnlen(request.text + length, sizeof request.text - length) + 1;
    if (length >= sizeof request.text) return;
    ++length;  // the closing zero
    HGLOBAL memory = wideDrop(request.text, length);
    if (memory == nullptr) return;
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    if (PostMessageW(window, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) {
        request.found = 1;
    } else {
        GlobalFree(memory);
    }
}

void currentDirectory(ProbeRequest& request) {
    wchar_t directory[MAX_PATH] = {};
    const DWORD length = GetCurrentDirectoryW(MAX_PATH, directory);
    if (length == 0 || length >= MAX_PATH) return;
    const int size = WideCharToMultiByte(CP_UTF8, 0, directory, -1, request.text, sizeof request.text, nullptr, nullptr);
    request.found = size > 0 ? 1 : 0;
}

// What a screen reader asks: the window's accessible object (through WM_GETOBJECT, as a reader gets it) and
// its name. Wine's standard objects answer only a single-threaded apartment.
void accessibleName(ProbeRequest& request) {
    HWND window = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(request.window));
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IAccessible* accessible = nullptr;
    const HRESULT got = AccessibleObjectFromWindow(window, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                                   reinterpret_cast<void**>(&accessible));
    if (SUCCEEDED(got) && accessible != nullptr) {
        request.found = 1;
        VARIANT child;
        VariantInit(&child);
        child.vt = VT_I4;
        child.lVal = request.id;
        BSTR name = nullptr;
        if (accessible->get_accName(child, &name) == S_OK && name != nullptr) {
            request.value = 1;
            WideCharToMultiByte(CP_UTF8, 0, name, -1, request.text, sizeof request.text, nullptr, nullptr);
        }
        if (name != nullptr) SysFreeString(name);
        accessible->Release();
    }
    if (SUCCEEDED(com)) CoUninitialize();
}

}  // namespace

extern "C" __declspec(dllexport) DWORD WINAPI probeMain(LPVOID parameter) {
    auto* request = static_cast<ProbeRequest*>(parameter);
    switch (request->command) {
        case brennic::e2e::kProbeMenuItem: menuItem(*request); break;
        case brennic::e2e::kProbeBigIconPixel: iconPixel(*request, ICON_BIG); break;
        case brennic::e2e::kProbeSmallIconPixel: iconPixel(*request, ICON_SMALL); break;
        case brennic::e2e::kProbeBoxIcon: boxIcon(*request); break;
        case brennic::e2e::kProbeSettle: settle(*request); break;
        case brennic::e2e::kProbeDropReleased: dropReleased(*request); break;
        case brennic::e2e::kProbePopupMenuItem: popupMenuItem(*request); break;
        case brennic::e2e::kProbeDropFiles: dropFiles(*request); break;
        case brennic::e2e::kProbeCurrentDirectory: currentDirectory(*request); break;
        case brennic::e2e::kProbeAccessibleName: accessibleName(*request); break;
        default: break;
    }
    return 0;
}

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID) {
    if (reason == DLL_PROCESS_ATTACH) g_instance = instance;
    return TRUE;
}
