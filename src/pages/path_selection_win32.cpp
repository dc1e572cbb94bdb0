// The open-file, save-file and folder dialogs of "Select path", and dropped files.
#include "pages/path_selection_win32.h"

#include <commdlg.h>

#include <algorithm>
#include <string>

#include "state/program_description.h"
#include "state/argument_slot.h"
#include "pages/browse_folder_win32.h"
#include "pages/path_display.h"
#include "pages/path_selection.h"
#include "platform/platform.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace brennic {

static_assert(kOfnNoChangeDir == OFN_NOCHANGEDIR && kOfnPathMustExist == OFN_PATHMUSTEXIST &&
              kOfnFileMustExist == OFN_FILEMUSTEXIST);

namespace {

// The one file dialog record shared by both file dialogs and the three pages. It lives for the whole run, so
// what a dialog writes back (the chosen filter index above all) is there at the next use.
struct FileDialogRecord {
    OPENFILENAMEW dialog{};
    wchar_t filter[kFilterBufferSize]{};
    wchar_t fileName[MAX_PATH]{};

    FileDialogRecord() {
        dialog.lStructSize = sizeof(OPENFILENAMEW);
        dialog.lpstrFilter = filter;
        dialog.lpstrFile = fileName;
        dialog.nMaxFile = MAX_PATH;
        dialog.nFilterIndex = 0;
    }
};

FileDialogRecord& fileDialogRecord() {
    static FileDialogRecord record;
    return record;
}

// Copies a text into a fixed buffer, always zero-terminated inside it.
template <std::size_t N>
void copyInto(wchar_t (&buffer)[N], const std::wstring& text) {
    const std::size_t length = std::min(text.size(), N - 1);
    std::copy_n(text.data(), length, buffer);
    buffer[length] = L'\0';
}

template <std::size_t N>
std::string textOf(const wchar_t (&buffer)[N]) {
    return narrow(std::wstring_view(buffer, static_cast<std::size_t>(std::find(buffer, buffer + N, L'\0') - buffer)));
}

class OwnedMessageBoxes : public MessageBoxes {
public:
    explicit OwnedMessageBoxes(HWND owner) : owner_(owner) {}
    int show(const std::string& text, const std::string& caption, unsigned style) override {
        return MessageBoxW(owner_, widen(text).c_str(), widen(caption).c_str(), style);
    }
    void beep(unsigned type) override { MessageBeep(type); }

private:
    HWND owner_;
};

// The process's current directory, put back when this goes out of scope. GetOpenFileName may change it even
// with OFN_NOCHANGEDIR; choosing a file must never move it, whichever dialog ran.
class CurrentDirectoryKept {
public:
    CurrentDirectoryKept() {
        const DWORD size = GetCurrentDirectoryW(0, nullptr);
        if (size == 0) return;
        saved_.resize(size);
        const DWORD length = GetCurrentDirectoryW(size, saved_.data());
        saved_.resize(length > 0 && length < size ? length : 0);
    }
    ~CurrentDirectoryKept() {
        if (!saved_.empty()) SetCurrentDirectoryW(saved_.c_str());
    }
    CurrentDirectoryKept(const CurrentDirectoryKept&) = delete;
    CurrentDirectoryKept& operator=(const CurrentDirectoryKept&) = delete;

private:
    std::wstring saved_;
};

void showPath(HWND page, int pathFieldId, const ArgumentSlot& slot) {
    setDlgItemText(page, pathFieldId, displayPath(slot.path));
}

bool runFileDialog(HWND page, bool saveDialog, const std::string& filterText, const std::string& path,
                   std::string& chosen) {
    FileDialogRecord& record = fileDialogRecord();
    // Built fresh for every dialog: nothing of an earlier dialog's list can be read.
    // The list is at most kFilterBufferSize bytes, so never more UTF-16 units; its zero separators are kept.
    const std::string listText = filterList(filterText);
    const std::wstring list = widen(listText);
    std::copy_n(list.data(), std::min<std::size_t>(list.size(), kFilterBufferSize), record.filter);
    copyInto(record.fileName, widen(dialogInitialText(path)));

    OPENFILENAMEW& dialog = record.dialog;
    dialog.hwndOwner = GetAncestor(page, GA_ROOT);
    dialog.Flags = fileDialogFlags(saveDialog);
    const CurrentDirectoryKept kept;
    const BOOL picked = saveDialog ? saveFileDialog(&dialog) : openFileDialog(&dialog);
    if (!picked) return false;
    chosen = textOf(record.fileName);
    // A name typed without extension takes the chosen filter's, as a save dialog is expected to.
    if (saveDialog) chosen = withDefaultExtension(chosen, listText, dialog.nFilterIndex);
    return true;
}

}  // namespace

bool selectPath(HWND page, ArgumentSlot& slot, int pathFieldId, const ProgramDescription& description) {
    const ActionEntry* entry = description.selectedEntry(slot.group, slot.item);
    if (!entry || entry->pathSpec >= description.pathSpecs.size()) return false;
    const PathSpec& spec = description.pathSpecs[entry->pathSpec];

    std::string chosen;
    switch (spec.dialogKind) {
    case kOpenFileDialog:
    case kSaveFileDialog:
        if (!runFileDialog(page, spec.dialogKind == kSaveFileDialog, buildFilterText(description, spec), slot.path,
                           chosen))
            return false;
        break;
    case kFolderDialog:
        chosen = dialogInitialText(slot.path);
        if (!browseFolder(page, chosen, spec.label)) return false;
        break;
    default:
        return false;
    }
    if (!takeChosenPath(slot, chosen)) return false;
    showPath(page, pathFieldId, slot);
    return true;
}

bool acceptDroppedFile(HWND page, ArgumentSlot& slot, int pathFieldId, HDROP drop) {
    std::wstring wide;
    if (dragQueryFile(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        const UINT length = dragQueryFile(drop, 0, nullptr, 0);
        wide.resize(std::size_t{length} + 1);
        const UINT got = dragQueryFile(drop, 0, wide.data(), length + 1);
        wide.resize(std::min<std::size_t>(got, length));
    }
    dragFinish(drop);
    const std::string name = narrow(wide);

    OwnedMessageBoxes boxes(GetAncestor(page, GA_ROOT));
    if (!takeDroppedName(slot, name, boxes)) return false;
    showPath(page, pathFieldId, slot);
    return true;
}

}  // namespace brennic
