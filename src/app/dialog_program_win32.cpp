#include "app/dialog_program_win32.h"

#include <commctrl.h>
#include <ole2.h>

#include "resource_ids.h"

namespace brennic {

namespace {

// Enter with a combo box's list dropped down belongs to the list, as in every dialog: it closes the list on the
// highlighted entry. The accelerator table would otherwise take it as Start and leave the list open. The focus
// is the combo box itself, or the edit field inside one that takes typing.
bool isEnterForDroppedList(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_RETURN) return false;
    HWND focus = GetFocus();
    for (int level = 0; level < 2 && focus != nullptr; ++level, focus = GetParent(focus)) {
        wchar_t className[16] = {};
        if (GetClassNameW(focus, className, 16) > 0 && lstrcmpiW(className, L"ComboBox") == 0)
            return SendMessageW(focus, CB_GETDROPPEDSTATE, 0, 0) != FALSE;
    }
    return false;
}

// A window of the dialog class (#32770).
bool isDialog(HWND window) {
    wchar_t name[8] = {};
    return GetClassNameW(window, name, 8) == 6 && lstrcmpW(name, L"#32770") == 0;
}

}  // namespace

int runDialogProgram(HINSTANCE instance, HWND (*createMainWindow)(HINSTANCE)) {
    INITCOMMONCONTROLSEX controls{};
    controls.dwSize = sizeof controls;
    controls.dwICC = ICC_WIN95_CLASSES;
    InitCommonControlsEx(&controls);
    const HRESULT com = OleInitialize(nullptr);

    HACCEL accelerators = LoadAcceleratorsW(instance, MAKEINTRESOURCEW(IDA_MAIN));
    HWND mainWindow = createMainWindow(instance);
    if (mainWindow != nullptr) ShowWindow(mainWindow, SW_SHOWNORMAL);

    MSG message{};
    int exitCode = 0;
    if (mainWindow != nullptr) {
        BOOL got;
        while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
            if (got == -1) break;
            // Another dialog window of the program (a run window) has its own keys: the main window's
            // accelerators (Enter starts) are not for it.
            HWND root = message.hwnd != nullptr ? GetAncestor(message.hwnd, GA_ROOT) : nullptr;
            if (root != nullptr && root != mainWindow && isDialog(root)) {
                if (IsDialogMessageW(root, &message)) continue;
                TranslateMessage(&message);
                DispatchMessageW(&message);
                continue;
            }
            if (!isEnterForDroppedList(message) && TranslateAcceleratorW(mainWindow, accelerators, &message)) continue;
            if (IsWindow(mainWindow) && IsDialogMessageW(mainWindow, &message)) continue;
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
        exitCode = static_cast<int>(message.wParam);
    } else {
        exitCode = 1;
    }
    DestroyAcceleratorTable(accelerators);
    if (SUCCEEDED(com)) OleUninitialize();
    return exitCode;
}

}  // namespace brennic
