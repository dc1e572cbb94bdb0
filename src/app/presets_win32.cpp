// The Presets menu's dialogs and menu items.
#include "app/presets_win32.h"

#include <cstdio>

#include "platform/text_win32.h"
#include "resource_ids.h"

namespace brennic {

namespace {

// WM_COMMAND of a small modal dialog whose data hangs at GWLP_USERDATA: OK takes the answer into the data and
// ends the dialog, Cancel (Escape, the close box) just ends it.
template <typename Data, typename Take>
INT_PTR okOrCancel(HWND dialog, WPARAM wParam, Take take) {
    auto* data = reinterpret_cast<Data*>(GetWindowLongPtrW(dialog, GWLP_USERDATA));
    if (LOWORD(wParam) == IDOK && data != nullptr) {
        take(*data);
        EndDialog(dialog, IDOK);
        return TRUE;
    }
    if (LOWORD(wParam) == IDCANCEL) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
    return FALSE;
}

struct NameDialog {
    std::string text;
};

INT_PTR CALLBACK nameDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG: {
                SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
                auto* data = reinterpret_cast<NameDialog*>(lParam);
                HWND edit = GetDlgItem(dialog, IDC_PRESET_NAME);
                // The limit counts UTF-16 units, as the name check does.
                SendMessageW(edit, EM_LIMITTEXT, kMaxPresetName, 0);
                setWindowText(edit, data->text);
                SendMessageW(edit, EM_SETSEL, 0, -1);
                SetFocus(edit);
                return FALSE;  // the focus was set here
            }
            case WM_COMMAND:
                return okOrCancel<NameDialog>(dialog, wParam, [&](NameDialog& data) {
                    data.text = windowText(GetDlgItem(dialog, IDC_PRESET_NAME));
                });
            default: return FALSE;
        }
    } catch (...) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

struct ChoiceDialog {
    const std::vector<std::string>* names = nullptr;
    int chosen = -1;
};

INT_PTR CALLBACK choiceDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    try {
        switch (message) {
            case WM_INITDIALOG: {
                SetWindowLongPtrW(dialog, GWLP_USERDATA, lParam);
                const auto* data = reinterpret_cast<const ChoiceDialog*>(lParam);
                HWND list = GetDlgItem(dialog, IDC_PRESET_LIST);
                for (const std::string& name : *data->names)
                    SendMessageW(list, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(name).c_str()));
                SendMessageW(list, CB_SETCURSEL, 0, 0);
                return TRUE;
            }
            case WM_COMMAND:
                return okOrCancel<ChoiceDialog>(dialog, wParam, [&](ChoiceDialog& data) {
                    data.chosen = static_cast<int>(SendDlgItemMessageW(dialog, IDC_PRESET_LIST, CB_GETCURSEL, 0, 0));
                });
            default: return FALSE;
        }
    } catch (...) {
        EndDialog(dialog, IDCANCEL);
        return TRUE;
    }
}

// The popup of the bar, or the submenu of a popup, that holds the command.
HMENU submenuHolding(HMENU menu, UINT id) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        HMENU sub = GetSubMenu(menu, i);
        if (sub == nullptr) continue;
        if (GetMenuState(sub, id, MF_BYCOMMAND) != static_cast<UINT>(-1)) {
            // The item itself, not one of the sub's own submenus.
            const int subCount = GetMenuItemCount(sub);
            for (int k = 0; k < subCount; ++k) {
                if (GetMenuItemID(sub, k) == id) return sub;
            }
            HMENU deeper = submenuHolding(sub, id);
            if (deeper != nullptr) return deeper;
        }
    }
    return nullptr;
}

int positionOf(HMENU menu, UINT id) {
    const int count = GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) {
        if (GetMenuItemID(menu, i) == id) return i;
    }
    return -1;
}

// Removes the items with ids first..last and inserts `items` before the separator above the `anchor` item.
void replaceItems(HMENU menu, UINT first, UINT last, UINT anchor, const std::vector<PresetsMenuItem>& items) {
    if (menu == nullptr) return;
    for (int i = GetMenuItemCount(menu) - 1; i >= 0; --i) {
        const UINT id = GetMenuItemID(menu, i);
        if (id != static_cast<UINT>(-1) && id >= first && id <= last) DeleteMenu(menu, static_cast<UINT>(i), MF_BYPOSITION);
    }
    const int anchorAt = positionOf(menu, anchor);
    if (anchorAt < 1) return;
    UINT at = static_cast<UINT>(anchorAt - 1);
    for (const PresetsMenuItem& item : items) {
        std::wstring text = widen(item.text);
        MENUITEMINFOW info{};
        info.cbSize = sizeof info;
        info.fMask = MIIM_ID | MIIM_STRING | MIIM_STATE | MIIM_FTYPE;
        info.fType = MFT_STRING;
        info.fState = item.grayed ? MFS_GRAYED : MFS_ENABLED;
        info.wID = static_cast<UINT>(item.id);
        info.dwTypeData = text.data();
        InsertMenuItemW(menu, at++, TRUE, &info);
    }
}

}  // namespace

std::optional<std::string> askPresetNameDialog(HWND owner, const std::string& initial) {
    NameDialog data{initial};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_PRESET_NAME), owner,
                                           nameDialogProc, reinterpret_cast<LPARAM>(&data));
    if (result != IDOK) return std::nullopt;
    return data.text;
}

std::optional<std::string> choosePresetDialog(HWND owner, const std::vector<std::string>& names) {
    ChoiceDialog data{&names, -1};
    const INT_PTR result = DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_DELETE_PRESET), owner,
                                           choiceDialogProc, reinterpret_cast<LPARAM>(&data));
    if (result != IDOK || data.chosen < 0 || static_cast<std::size_t>(data.chosen) >= names.size())
        return std::nullopt;
    return names[static_cast<std::size_t>(data.chosen)];
}

void setPresetMenuItems(HMENU bar, const std::vector<PresetsMenuItem>& items) {
    replaceItems(submenuHolding(bar, IDCMD_DELETE_PRESET), IDCMD_PRESET_FIRST, IDCMD_PRESET_NONE,
                 IDCMD_DELETE_PRESET, items);
}

void setRecentRunMenuItems(HMENU bar, const std::vector<PresetsMenuItem>& items) {
    replaceItems(submenuHolding(bar, IDCMD_CLEAR_RECENT_RUNS), IDCMD_RECENT_RUN_FIRST, IDCMD_RECENT_RUN_NONE,
                 IDCMD_CLEAR_RECENT_RUNS, items);
}

std::string localTimeText(std::int64_t secondsSince1970) {
    // FILETIME counts 100-nanosecond steps from 1601-01-01.
    const auto ticks = static_cast<ULONGLONG>(secondsSince1970 + 11644473600LL) * 10000000ULL;
    FILETIME utcFile{static_cast<DWORD>(ticks & 0xFFFFFFFFu), static_cast<DWORD>(ticks >> 32)};
    SYSTEMTIME utc{}, local{};
    if (secondsSince1970 < 0 || !FileTimeToSystemTime(&utcFile, &utc)) return "?";
    if (!SystemTimeToTzSpecificLocalTime(nullptr, &utc, &local)) local = utc;
    char text[32];
    std::snprintf(text, sizeof text, "%04u-%02u-%02u %02u:%02u", unsigned{local.wYear}, unsigned{local.wMonth},
                  unsigned{local.wDay}, unsigned{local.wHour}, unsigned{local.wMinute});
    return text;
}

}  // namespace brennic
