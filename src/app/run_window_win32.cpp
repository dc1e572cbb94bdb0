// The run window (dialog 120): the Win32 side of one run. The program's output arrives from its reader thread
// as WM_BRENNIC_RUN_OUTPUT, goes whole into a temporary file (for "Save log...") and into the run model,
// whose view updates the timer applies to the output control. Everything here runs on the GUI thread.
#include "app/run_window_win32.h"

#include <commctrl.h>
#include <commdlg.h>
#include <shobjidl.h>

#include <algorithm>
#include <array>
#include <ctime>
#include <iterator>
#include <optional>
#include <vector>

#include "launch/process_win32.h"
#include "platform/system_library_win32.h"
#include "platform/text_win32.h"
#include "resource_ids.h"
#include "run/run_log.h"
#include "run/run_model.h"
#include "run/run_texts.h"

namespace brennic {

namespace {

constexpr UINT kTickMs = 100;
// Output handled per message: the rest waits for the next turn, so that the window answers in between.
constexpr std::size_t kOutputPerTurn = 256 * 1024;
// The output control is brought up to date at most this often, and never spends more than about a tenth of the
// time: with tens of thousands of lines an edit control takes long for each change (it measures every line
// again), so during a flood the view changes less often while the window keeps answering.
constexpr std::uint64_t kViewEveryMs = 100;
constexpr std::uint64_t kViewCostShare = 10;
// During a flood (this much output since the last update) the control changes at most this often: each change
// replaces most of its lines, and nobody reads text that scrolls past at that rate.
constexpr std::size_t kFloodBytes = 1024 * 1024;
constexpr std::uint64_t kFloodViewEveryMs = 250;
// While a flood comes in and the user follows its end, the control holds only the lines it shows: giving it all
// kept lines each time would cost far more than the output itself (an edit control measures each line it is
// given). Every kept line comes back when the output slows down or ends.
// After the program has ended, how long its pipe may stay open (held by something it started) before the run
// is reported as ended anyway; what comes later still shows.
constexpr std::uint64_t kDrainMs = 500;

#ifndef WM_DPICHANGED
#define WM_DPICHANGED 0x02E0
#endif

// Without linking the uuid library: the taskbar's class and interface ids as the SDK defines them.
constexpr CLSID kClsidTaskbarList = {0x56FDF344, 0xFD6D, 0x11d0, {0x95, 0x8A, 0x00, 0x60, 0x97, 0xC9, 0xA0, 0x90}};
constexpr IID kIidTaskbarList3 = {0xea1afb91, 0x9e28, 0x4b86, {0x90, 0xe9, 0x9e, 0x9f, 0x8a, 0x5e, 0xef, 0xaf}};

constexpr std::array<OutputReading, 4> kReadings{OutputReading::Auto, OutputReading::Utf8, OutputReading::Oem,
                                                  OutputReading::Ansi};

std::uint64_t nowMs() { return GetTickCount64(); }

// The window's DPI: per monitor where the system says so, else the system's.
UINT dpiOf(HWND window) {
    using GetDpiForWindowFunction = UINT(WINAPI*)(HWND);
    static const auto function = reinterpret_cast<GetDpiForWindowFunction>(reinterpret_cast<void (*)()>(
        GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
    if (function != nullptr) {
        const UINT dpi = function(window);
        if (dpi != 0) return dpi;
    }
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return static_cast<UINT>(dpi);
}

int systemDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
    if (screen != nullptr) ReleaseDC(nullptr, screen);
    return dpi;
}

// The message font of the system (what dialogs use), and a fixed-pitch one for the output, for `dpi`.
HFONT createUiFont(UINT dpi) {
    NONCLIENTMETRICSW metrics{};
    metrics.cbSize = sizeof metrics;
    LOGFONTW font{};
    if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) {
        font = metrics.lfMessageFont;
        font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(dpi), systemDpi());
    } else {
        font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
        lstrcpynW(font.lfFaceName, L"Segoe UI", LF_FACESIZE);
    }
    return CreateFontIndirectW(&font);
}

HFONT createOutputFont(UINT dpi) {
    LOGFONTW font{};
    font.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
    font.lfCharSet = DEFAULT_CHARSET;
    font.lfPitchAndFamily = FIXED_PITCH | FF_MODERN;
    lstrcpynW(font.lfFaceName, L"Consolas", LF_FACESIZE);
    return CreateFontIndirectW(&font);
}

// A temporary file for the raw output, removed by the system when its handle closes.
class RawOutputFile {
public:
    RawOutputFile() {
        wchar_t folder[MAX_PATH + 1] = {};
        wchar_t name[MAX_PATH + 1] = {};
        const DWORD length = GetTempPathW(MAX_PATH + 1, folder);
        if (length == 0 || length > MAX_PATH || GetTempFileNameW(folder, L"brn", 0, name) == 0) return;
        file_ = CreateFileW(name, GENERIC_READ | GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                            FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr);
        if (file_ == INVALID_HANDLE_VALUE) {
            file_ = nullptr;
            DeleteFileW(name);
        }
    }
    ~RawOutputFile() {
        if (file_ != nullptr) CloseHandle(file_);
    }
    RawOutputFile(const RawOutputFile&) = delete;
    RawOutputFile& operator=(const RawOutputFile&) = delete;

    // False once anything could not be written: the log would be incomplete.
    bool complete() const { return file_ != nullptr && complete_; }

    void append(const std::string& bytes) {
        if (file_ == nullptr || !complete_ || bytes.empty()) return;
        DWORD written = 0;
        complete_ = WriteFile(file_, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
                    written == bytes.size();
    }

    // Every byte so far, in chunks, from the start; the file is left ready for more afterwards.
    template <typename Consumer>
    bool readAll(Consumer&& consume) {
        if (file_ == nullptr) return false;
        LARGE_INTEGER zero{}, end{};
        if (!SetFilePointerEx(file_, zero, &end, FILE_CURRENT) || !SetFilePointerEx(file_, zero, nullptr, FILE_BEGIN))
            return false;
        std::string buffer(1 << 20, '\0');
        bool ok = true;
        for (;;) {
            DWORD got = 0;
            if (!ReadFile(file_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr)) {
                ok = false;
                break;
            }
            if (got == 0) break;
            if (!consume(std::string_view(buffer.data(), got))) {
                ok = false;
                break;
            }
        }
        SetFilePointerEx(file_, end, nullptr, FILE_BEGIN);
        return ok;
    }

private:
    HANDLE file_ = nullptr;
    bool complete_ = true;
};

class FileSink : public LogSink {
public:
    explicit FileSink(HANDLE file) : file_(file) {}
    bool write(std::string_view utf8) override {
        DWORD written = 0;
        return WriteFile(file_, utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr) &&
               written == utf8.size();
    }

private:
    HANDLE file_;
};

bool writeClipboardUnicode(HWND owner, const std::wstring& text) {
    bool opened = false;
    for (int attempt = 0; attempt < 10 && !(opened = OpenClipboard(owner) != FALSE); ++attempt) Sleep(10);
    if (!opened) return false;
    EmptyClipboard();
    bool done = false;
    if (HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t))) {
        if (void* target = GlobalLock(memory)) {
            std::copy(text.c_str(), text.c_str() + text.size() + 1, static_cast<wchar_t*>(target));
            GlobalUnlock(memory);
            done = SetClipboardData(CF_UNICODETEXT, memory) != nullptr;
        }
        if (!done) GlobalFree(memory);
    }
    CloseClipboard();
    return done;
}

UINT taskbarButtonCreatedMessage() {
    static const UINT message = RegisterWindowMessageW(L"TaskbarButtonCreated");
    return message;
}

}  // namespace

struct RunWindow::State {
    State(const StartedRun& started, std::string programName, RunWindowHost& windowHost)
        : run(started), host(windowHost), model(std::move(programName), started.line, oem, ansi) {}

    StartedRun run;
    RunWindowHost& host;
    RunWindow* self = nullptr;
    OemCodePage oem;
    AnsiCodePage ansi;
    RunModel model;
    PipedProcess process;
    std::unique_ptr<PipeReader> reader;
    RawOutputFile raw;

    HWND window = nullptr;
    ITaskbarList3* taskbar = nullptr;
    HFONT uiFont = nullptr;
    HFONT outputFont = nullptr;
    UINT dpi = 96;

    bool stopRequested = false;
    bool endReported = false;
    std::optional<std::uint64_t> processEndedAt;
    std::optional<RunEnd> processEnd;
    bool viewDirty = true;
    std::uint64_t nextViewAt = 0;
    std::size_t bytesSinceView = 0;  // output taken since the control was last updated
    bool showsTail = false;          // the control holds only the latest lines of a flood
    std::string shownStatus, shownTitle;
    int shownProgress = -1;  // what the bar shows, as one number; -1 for nothing yet
    bool closing = false;

    HWND item(int id) const { return GetDlgItem(window, id); }
    int scale(int pixelsAt96) const { return MulDiv(pixelsAt96, static_cast<int>(dpi), 96); }

    // ---- creation and destruction

    static INT_PTR CALLBACK dialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
        State* state = nullptr;
        if (message == WM_INITDIALOG) {
            state = reinterpret_cast<State*>(lParam);
            state->window = window;
            SetWindowLongPtrW(window, GWLP_USERDATA, lParam);
        } else {
            state = reinterpret_cast<State*>(GetWindowLongPtrW(window, GWLP_USERDATA));
        }
        if (state == nullptr) return FALSE;
        try {
            return state->handle(message, wParam, lParam);
        } catch (...) {
            // Nothing may cross the window procedure; a failed step leaves the window as it was.
            return FALSE;
        }
    }

    void initialise() {
        dpi = dpiOf(window);
        createFonts();
        HWND reading = item(IDC_RUN_READING);
        for (OutputReading r : kReadings)
            SendMessageW(reading, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(widen(readingName(r)).c_str()));
        SendMessageW(reading, CB_SETCURSEL, 0, 0);
        SendMessageW(item(IDC_RUN_OUTPUT), EM_SETLIMITTEXT, 0, 0);
        SendMessageW(item(IDC_RUN_PROGRESS), PBM_SETRANGE32, 0, 100);
        setDlgItemText(window, IDC_RUN_COMMAND, run.line);

        if (SUCCEEDED(CoCreateInstance(kClsidTaskbarList, nullptr, CLSCTX_INPROC_SERVER, kIidTaskbarList3,
                                       reinterpret_cast<void**>(&taskbar)))) {
            if (FAILED(taskbar->HrInit())) {
                taskbar->Release();
                taskbar = nullptr;
            }
        }
        HICON icon = reinterpret_cast<HICON>(SendMessageW(GetWindow(window, GW_OWNER), WM_GETICON, ICON_SMALL, 0));
        if (icon != nullptr) SendMessageW(window, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        icon = reinterpret_cast<HICON>(SendMessageW(GetWindow(window, GW_OWNER), WM_GETICON, ICON_BIG, 0));
        if (icon != nullptr) SendMessageW(window, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));

        // A first size that fits the screen's DPI: the template's size is in dialog units of its own font.
        RECT area{0, 0, scale(720), scale(460)};
        AdjustWindowRectEx(&area, static_cast<DWORD>(GetWindowLongPtrW(window, GWL_STYLE)), FALSE,
                           static_cast<DWORD>(GetWindowLongPtrW(window, GWL_EXSTYLE)));
        SetWindowPos(window, nullptr, 0, 0, area.right - area.left, area.bottom - area.top,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        layout();
        // The line from its start: the program's name is what a reader looks for first.
        SendMessageW(item(IDC_RUN_COMMAND), EM_SETSEL, 0, 0);
        SendMessageW(item(IDC_RUN_COMMAND), EM_SCROLLCARET, 0, 0);
        refresh();
        SetTimer(window, IDT_RUN_TICK, kTickMs, nullptr);
        // The output has the keyboard (the dialog would select the whole command line and show its end).
        SetFocus(item(IDC_RUN_OUTPUT));
    }

    void createFonts() {
        HFONT ui = createUiFont(dpi), output = createOutputFont(dpi);
        for (HWND child = GetWindow(window, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT))
            SendMessageW(child, WM_SETFONT, reinterpret_cast<WPARAM>(ui), FALSE);
        SendMessageW(item(IDC_RUN_OUTPUT), WM_SETFONT, reinterpret_cast<WPARAM>(output), FALSE);
        SendMessageW(item(IDC_RUN_COMMAND), WM_SETFONT, reinterpret_cast<WPARAM>(output), FALSE);
        if (uiFont != nullptr) DeleteObject(uiFont);
        if (outputFont != nullptr) DeleteObject(outputFont);
        uiFont = ui;
        outputFont = output;
    }

    void destroyed() {
        KillTimer(window, IDT_RUN_TICK);
        // Nothing the run started outlives its window: the job takes the whole tree.
        process.stop();
        reader.reset();
        if (taskbar != nullptr) {
            taskbar->Release();
            taskbar = nullptr;
        }
        if (uiFont != nullptr) DeleteObject(uiFont);
        if (outputFont != nullptr) DeleteObject(outputFont);
        uiFont = outputFont = nullptr;
        window = nullptr;
    }

    // ---- layout

    int textHeight(HFONT font) const {
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, font);
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        return metrics.tmHeight;
    }

    int textWidth(HFONT font, const std::wstring& text) const {
        HDC dc = GetDC(window);
        HGDIOBJ old = SelectObject(dc, font);
        SIZE size{};
        GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(window, dc);
        return size.cx;
    }

    void layout() {
        RECT client{};
        GetClientRect(window, &client);
        const int margin = scale(8), gap = scale(6);
        const int uiText = textHeight(uiFont), outputText = textHeight(outputFont);
        const int width = std::max(0, static_cast<int>(client.right) - 2 * margin);
        const int buttonHeight = std::max(scale(23), uiText + scale(10));
        const int commandHeight = outputText + scale(8);
        const int statusHeight = uiText + scale(2);
        const int progressHeight = scale(14);

        HDWP positions = BeginDeferWindowPos(12);
        const auto place = [&](int id, int x, int y, int w, int h) {
            if (positions != nullptr)
                positions = DeferWindowPos(positions, item(id), nullptr, x, y, std::max(0, w), std::max(0, h),
                                           SWP_NOZORDER | SWP_NOACTIVATE);
        };
        int y = margin;
        place(IDC_RUN_COMMAND, margin, y, width, commandHeight);
        y += commandHeight + gap;
        const int bottomRow = client.bottom - margin - buttonHeight;
        const int progressTop = bottomRow - gap - progressHeight;
        const int statusTop = progressTop - scale(4) - statusHeight;
        place(IDC_RUN_OUTPUT, margin, y, width, statusTop - gap - y);
        place(IDC_RUN_STATUS, margin, statusTop, width, statusHeight);
        place(IDC_RUN_PROGRESS, margin, progressTop, width, progressHeight);

        // The buttons from the right, each as wide as its caption needs; the reading choice on the left.
        int x = client.right - margin;
        for (int id : {IDC_RUN_CLOSE, IDC_RUN_SAVE, IDC_RUN_COPY, IDC_RUN_AGAIN, IDC_RUN_STOP}) {
            const int w = std::max(scale(75), textWidth(uiFont, widen(windowText(item(id)))) + scale(20));
            x -= w;
            place(id, x, bottomRow, w, buttonHeight);
            x -= scale(6);
        }
        const int labelWidth = textWidth(uiFont, L"Reading:") + scale(4);
        const int comboTop = bottomRow + (buttonHeight - (uiText + scale(8))) / 2;
        place(IDC_RUN_READING_LABEL, margin, bottomRow + (buttonHeight - uiText) / 2, labelWidth, uiText);
        place(IDC_RUN_READING, margin + labelWidth, comboTop, scale(80), uiText + scale(8) + scale(120));
        if (positions != nullptr) EndDeferWindowPos(positions);
    }

    // ---- output

    void takeOutput() {
        if (!reader) return;
        bool more = false;
        const std::string bytes = reader->take(kOutputPerTurn, more);
        if (!bytes.empty()) {
            raw.append(bytes);
            model.append(bytes);
            viewDirty = true;
            bytesSinceView += bytes.size();
        }
        if (more) PostMessageW(window, WM_BRENNIC_RUN_OUTPUT, 0, 0);
        if (reader->finished() && processEnd) finishRun();
    }

    // Applies the model's changes to the output control, keeping it at its end unless the user scrolled up.
    void applyView() {
        if (!viewDirty && !showsTail) return;
        viewDirty = false;
        const std::uint64_t begin = nowMs();
        struct Pace {
            State& s;
            std::uint64_t begin;
            ~Pace() {
                const std::uint64_t cost = nowMs() - begin;
                const std::uint64_t every = s.bytesSinceView >= kFloodBytes ? kFloodViewEveryMs : kViewEveryMs;
                s.nextViewAt = nowMs() + std::max(every, cost * kViewCostShare);
                s.bytesSinceView = 0;
            }
        } pace{*this, begin};
        HWND output = item(IDC_RUN_OUTPUT);
        SCROLLINFO scroll{};
        scroll.cbSize = sizeof scroll;
        scroll.fMask = SIF_ALL;
        const bool hasBar = GetScrollInfo(output, SB_VERT, &scroll) != FALSE;
        const bool atEnd = !hasBar || scroll.nMax <= 0 ||
                           scroll.nPos + static_cast<int>(std::max(1u, scroll.nPage)) >= scroll.nMax;
        const bool flood = model.running() && bytesSinceView >= kFloodBytes;
        ViewUpdate update;
        if (flood && atEnd) {
            model.viewReplaced();
            update.changed = true;
            update.reset = true;
            RECT area{};
            SendMessageW(output, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
            const int lines = (area.bottom - area.top) / std::max(1, textHeight(outputFont)) + 2;
            update.text = model.viewTail(static_cast<std::size_t>(std::max(1, lines)));
        } else {
            update = model.takeViewUpdate();
        }
        if (!update.changed) return;
        const bool wasTail = showsTail;
        showsTail = flood && atEnd;
        DWORD selStart = 0, selEnd = 0;
        SendMessageW(output, EM_GETSEL, reinterpret_cast<WPARAM>(&selStart), reinterpret_cast<LPARAM>(&selEnd));
        const LRESULT firstLine = SendMessageW(output, EM_GETFIRSTVISIBLELINE, 0, 0);
        const LRESULT linesBefore = SendMessageW(output, EM_GETLINECOUNT, 0, 0);

        SendMessageW(output, WM_SETREDRAW, FALSE, 0);
        const std::wstring text = widen(update.text);
        if (update.reset) {
            SendMessageW(output, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
        } else {
            if (update.dropFront > 0) {
                SendMessageW(output, EM_SETSEL, 0, static_cast<LPARAM>(update.dropFront));
                SendMessageW(output, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(L""));
            }
            SendMessageW(output, EM_SETSEL, static_cast<WPARAM>(update.replaceFrom), -1);
            SendMessageW(output, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(text.c_str()));
        }
        if (atEnd) {
            const LRESULT length = GetWindowTextLengthW(output);
            SendMessageW(output, EM_SETSEL, static_cast<WPARAM>(length), length);
            SendMessageW(output, WM_SETREDRAW, TRUE, 0);
            SendMessageW(output, WM_VSCROLL, SB_BOTTOM, 0);
        } else if (wasTail) {
            // The user scrolled up in the latest lines: the same distance from the end stays in view.
            const LRESULT linesNow = SendMessageW(output, EM_GETLINECOUNT, 0, 0);
            const LRESULT wanted = std::max<LRESULT>(0, firstLine + (linesNow - linesBefore));
            SendMessageW(output, EM_SETSEL, 0, 0);
            const LRESULT nowFirst = SendMessageW(output, EM_GETFIRSTVISIBLELINE, 0, 0);
            SendMessageW(output, EM_LINESCROLL, 0, wanted - nowFirst);
            SendMessageW(output, WM_SETREDRAW, TRUE, 0);
        } else {
            // Where the user was reading stays in view, shifted by what left the front.
            const auto shift = [&](DWORD at) {
                return static_cast<WPARAM>(at > update.dropFront ? at - update.dropFront : 0);
            };
            SendMessageW(output, EM_SETSEL, shift(selStart), static_cast<LPARAM>(shift(selEnd)));
            const LRESULT nowFirst = SendMessageW(output, EM_GETFIRSTVISIBLELINE, 0, 0);
            SendMessageW(output, EM_LINESCROLL, 0, firstLine - nowFirst);
            SendMessageW(output, WM_SETREDRAW, TRUE, 0);
        }
        InvalidateRect(output, nullptr, TRUE);
    }

    // ---- how the run stands

    void checkProcess() {
        if (processEnd) {
            if (!endReported && nowMs() - *processEndedAt >= kDrainMs) finishRun();
            return;
        }
        DWORD exitCode = 0;
        if (!process.ended(exitCode)) return;
        processEnd = RunEnd{exitCode, stopRequested};
        processEndedAt = nowMs();
        if (reader) takeOutput();
        if (!reader || reader->finished()) finishRun();
    }

    void finishRun() {
        if (endReported || !processEnd) return;
        endReported = true;
        model.ended(*processEnd, nowMs());
        viewDirty = true;
        applyView();
        refresh();
        EnableWindow(item(IDC_RUN_STOP), FALSE);
        if (GetFocus() == nullptr || GetFocus() == item(IDC_RUN_STOP)) SetFocus(item(IDC_RUN_CLOSE));
        if (GetForegroundWindow() != window) {
            FLASHWINFO flash{};
            flash.cbSize = sizeof flash;
            flash.hwnd = window;
            flash.dwFlags = FLASHW_TRAY | FLASHW_TIMERNOFG;
            FlashWindowEx(&flash);
        }
        host.runEnded(*self, describeExit(*processEnd));
    }

    void refresh() {
        const std::uint64_t now = nowMs();
        std::string status = model.statusText(now);
        const std::string leftOut = model.leftOutText();
        if (!leftOut.empty()) status += " \u2014 " + leftOut;
        if (status != shownStatus) {
            shownStatus = status;
            setDlgItemText(window, IDC_RUN_STATUS, status);
        }
        const std::string title = model.titleText();
        if (title != shownTitle) {
            shownTitle = title;
            setWindowText(window, title);
        }
        showProgress();
    }

    void showProgress() {
        HWND bar = item(IDC_RUN_PROGRESS);
        const LONG_PTR style = GetWindowLongPtrW(bar, GWL_STYLE);
        std::optional<int> value;
        int state = PBST_NORMAL;
        TBPFLAG taskbarState = TBPF_NORMAL;
        if (model.running()) {
            value = model.progress();
            if (!value) taskbarState = TBPF_INDETERMINATE;
        } else {
            value = 100;
            if (!model.endedWell()) {
                state = PBST_ERROR;
                taskbarState = TBPF_ERROR;
            }
        }
        const int shown = value ? *value * 4 + (state == PBST_ERROR ? 1 : 0) : -2;
        if (shownProgress == shown) return;
        shownProgress = shown;
        if (!value) {
            if ((style & PBS_MARQUEE) == 0) SetWindowLongPtrW(bar, GWL_STYLE, style | PBS_MARQUEE);
            SendMessageW(bar, PBM_SETMARQUEE, TRUE, 30);
        } else {
            if ((style & PBS_MARQUEE) != 0) {
                SendMessageW(bar, PBM_SETMARQUEE, FALSE, 0);
                SetWindowLongPtrW(bar, GWL_STYLE, style & ~static_cast<LONG_PTR>(PBS_MARQUEE));
            }
            SendMessageW(bar, PBM_SETSTATE, static_cast<WPARAM>(state), 0);
            SendMessageW(bar, PBM_SETPOS, static_cast<WPARAM>(*value), 0);
        }
        showTaskbarProgress(value, taskbarState);
    }

    void showTaskbarProgress(std::optional<int> value, TBPFLAG taskbarState) {
        if (taskbar == nullptr) return;
        taskbar->SetProgressState(window, taskbarState);
        if (value) taskbar->SetProgressValue(window, static_cast<ULONGLONG>(*value), 100);
    }

    // ---- commands

    void stop() {
        if (!model.running() || stopRequested) return;
        stopRequested = true;
        process.stop();
        checkProcess();
    }

    // Escape, the close box and "Close": a run still going is stopped only when the user says so.
    void close() {
        if (model.running() && !processEnd) {
            const std::string question = "The program is still running.\n\nStop it and close the window?";
            const int answer = MessageBoxW(window, widen(question).c_str(), widen(shownTitle).c_str(),
                                           MB_OKCANCEL | MB_ICONQUESTION | MB_DEFBUTTON2);
            if (answer != IDOK || window == nullptr) return;
            stopRequested = true;
            process.stop();
        }
        closeNow();
    }

    void closeNow() {
        if (closing || window == nullptr) return;
        closing = true;
        if (model.running() && !processEnd) {
            stopRequested = true;
            process.stop();
            // The end is reported as it is: the program was stopped.
            WaitForSingleObject(process.process(), 2000);
            checkProcess();
            if (processEnd && !endReported) finishRun();
        }
        DestroyWindow(window);
    }

    void copyAll() {
        std::wstring text = widen(model.viewText());
        writeClipboardUnicode(window, text);
    }

    void saveLog() {
        wchar_t name[MAX_PATH * 4] = L"output.log";
        OPENFILENAMEW dialog{};
        dialog.lStructSize = sizeof dialog;
        dialog.hwndOwner = window;
        dialog.lpstrFilter = L"Log files (*.log)\0*.log\0Text files (*.txt)\0*.txt\0All files\0*.*\0";
        dialog.lpstrFile = name;
        dialog.nMaxFile = static_cast<DWORD>(std::size(name));
        dialog.lpstrDefExt = L"log";
        dialog.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_NOCHANGEDIR | OFN_HIDEREADONLY;
        if (!saveFileDialog(&dialog)) return;
        std::string error;
        if (!writeLog(name, error)) {
            MessageBoxW(window, widen("The log could not be written.\n" + narrow(name) + "\n" + error).c_str(),
                        L"Save log", MB_ICONERROR);
        }
    }

    bool writeLog(const wchar_t* path, std::string& error) {
        if (!raw.complete()) {
            error = "Brennic could not keep the whole output of this run.";
            return false;
        }
        HANDLE file = CreateFileW(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
        if (file == INVALID_HANDLE_VALUE) {
            error = systemErrorText(GetLastError());
            return false;
        }
        FileSink sink(file);
        LogWriter writer(sink, model.logReading(), oem, ansi);
        bool ok = writer.header(model.commandLine());
        ok = ok && raw.readAll([&](std::string_view bytes) { return writer.write(bytes); });
        ok = ok && writer.finish(model.logFooter(nowMs()));
        if (!ok) error = systemErrorText(GetLastError());
        CloseHandle(file);
        if (!ok) DeleteFileW(path);
        return ok;
    }

    void command(int id, int code) {
        switch (id) {
            case IDC_RUN_STOP: stop(); break;
            case IDC_RUN_AGAIN: {
                StartedRun again = run;
                again.startedAt = static_cast<std::int64_t>(std::time(nullptr));
                host.runAgain(again);
                break;
            }
            case IDC_RUN_COPY: copyAll(); break;
            case IDC_RUN_SAVE: saveLog(); break;
            case IDC_RUN_CLOSE:
            case IDCANCEL: close(); break;
            case IDC_RUN_READING:
                if (code == CBN_SELCHANGE) {
                    const LRESULT selected = SendMessageW(item(IDC_RUN_READING), CB_GETCURSEL, 0, 0);
                    if (selected >= 0 && selected < static_cast<LRESULT>(kReadings.size())) {
                        model.setReading(kReadings[static_cast<std::size_t>(selected)]);
                        viewDirty = true;
                        applyView();
                    }
                }
                break;
            default: break;
        }
    }

    INT_PTR handle(UINT message, WPARAM wParam, LPARAM lParam) {
        if (message == taskbarButtonCreatedMessage() && message != 0) {
            // The taskbar (re)made the button: show the progress on it again.
            shownProgress = -1;
            showProgress();
            return TRUE;
        }
        switch (message) {
            case WM_INITDIALOG: initialise(); return FALSE;  // the focus is set
            case WM_COMMAND: command(LOWORD(wParam), HIWORD(wParam)); return TRUE;
            case WM_CLOSE: close(); return TRUE;
            case WM_BRENNIC_RUN_OUTPUT:
                takeOutput();
                return TRUE;
            case WM_TIMER:
                if (wParam == IDT_RUN_TICK) {
                    if (nowMs() >= nextViewAt) applyView();
                    checkProcess();
                    refresh();
                }
                return TRUE;
            case WM_SIZE: layout(); return TRUE;
            case WM_GETMINMAXINFO: {
                auto* info = reinterpret_cast<MINMAXINFO*>(lParam);
                info->ptMinTrackSize.x = scale(520);
                info->ptMinTrackSize.y = scale(240);
                return TRUE;
            }
            case WM_DPICHANGED: {
                dpi = HIWORD(wParam);
                createFonts();
                const auto* suggested = reinterpret_cast<const RECT*>(lParam);
                SetWindowPos(window, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                             suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
                layout();
                InvalidateRect(window, nullptr, TRUE);
                return TRUE;
            }
            case WM_NCDESTROY: {
                destroyed();
                host.windowGone(*self);
                return FALSE;
            }
            default: return FALSE;
        }
    }
};

RunWindow::RunWindow(const StartedRun& run, std::string programName, RunWindowHost& host)
    : state_(std::make_unique<State>(run, std::move(programName), host)) {
    state_->self = this;
}

RunWindow::~RunWindow() {
    if (state_->window != nullptr) {
        SetWindowLongPtrW(state_->window, GWLP_USERDATA, 0);
        HWND window = state_->window;
        state_->destroyed();
        DestroyWindow(window);
    }
}

bool RunWindow::open(HWND owner, std::string& reason) {
    State& s = *state_;
    DWORD error = 0;
    if (!s.process.start(s.run.request, s.run.line, error)) {
        reason = systemErrorText(error);
        return false;
    }
    s.model.started(nowMs());
    HWND window = CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(IDD_RUN), owner, &State::dialogProc,
                                     reinterpret_cast<LPARAM>(&s));
    if (window == nullptr) {
        const DWORD windowError = GetLastError();
        s.process.stop();
        reason = systemErrorText(windowError != 0 ? windowError : ERROR_INVALID_WINDOW_HANDLE);
        return false;
    }
    s.reader = std::make_unique<PipeReader>(s.process.takeOutput(), window, WM_BRENNIC_RUN_OUTPUT);
    ShowWindow(window, SW_SHOWNORMAL);
    return true;
}

HWND RunWindow::window() const { return state_->window; }

bool RunWindow::running() const { return state_->window != nullptr && !state_->endReported; }

void RunWindow::stop() { state_->stop(); }

void RunWindow::closeNow() { state_->closeNow(); }

}  // namespace brennic
