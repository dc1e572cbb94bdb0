// Starting and following processes, and reading their output.
#include "launch/process_win32.h"

#include <shellapi.h>

#include <algorithm>
#include <vector>

#include "platform/system_library_win32.h"
#include "platform/text_win32.h"

namespace brennic {

namespace {

// A program that writes fast fills a small pipe at once and then waits for every read: a larger pipe and
// larger reads let it write on while the reader hands over what it has, with fewer hand-overs.
constexpr DWORD kPipeBytes = 256 * 1024;
constexpr std::size_t kReadBytes = 256 * 1024;
// What the reader may queue before it waits for the GUI thread.
constexpr std::size_t kQueueBytes = 1024 * 1024;

const wchar_t* orNull(const std::wstring& text) { return text.empty() ? nullptr : text.c_str(); }

void closeHandle(HANDLE& handle) {
    if (handle != nullptr && handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    handle = nullptr;
}

}  // namespace

std::string systemErrorText(DWORD code) {
    wchar_t* buffer = nullptr;
    const DWORD length = FormatMessageW(
        FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code,
        0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text = length > 0 && buffer != nullptr ? std::wstring(buffer, length) : std::wstring();
    if (buffer != nullptr) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\n' || text.back() == L'\r' || text.back() == L' ')) text.pop_back();
    if (text.empty()) return "Error " + std::to_string(code);
    return narrow(text);
}

ShellStart shellStart(const ShellRequest& request) {
    // cmd.exe from the system folder, never from the current folder.
    const std::wstring verb = widen(request.verb), file = systemProgramPath(widen(request.file));
    const std::wstring parameters = widen(request.parameters), directory = widen(request.directory);
    SHELLEXECUTEINFOW info{};
    info.cbSize = sizeof info;
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI;
    info.lpVerb = orNull(verb);
    info.lpFile = file.c_str();
    info.lpParameters = orNull(parameters);
    info.lpDirectory = orNull(directory);
    info.nShow = request.showCommand;
    ShellStart result;
    if (shellExecuteEx(&info)) {
        result.started = true;
        result.process = info.hProcess;
        return result;
    }
    result.error = GetLastError();
    if (result.error == ERROR_SUCCESS) {
        // Some shells give only the old result code; its small values are the system's error codes.
        const auto code = reinterpret_cast<INT_PTR>(info.hInstApp);
        result.error = code > 0 && code <= 32 ? static_cast<DWORD>(code) : ERROR_GEN_FAILURE;
    }
    return result;
}

PipedProcess::~PipedProcess() {
    // Closing the job ends whatever still runs in it (JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE).
    closeHandle(output_);
    closeHandle(process_);
    closeHandle(job_);
}

bool PipedProcess::start(const ShellRequest& request, const std::string& commandLine, DWORD& error) {
    SECURITY_ATTRIBUTES inheritable{};
    inheritable.nLength = sizeof inheritable;
    inheritable.bInheritHandle = TRUE;

    HANDLE read = nullptr, write = nullptr, input = nullptr;
    std::vector<unsigned char> attributeStorage;
    LPPROC_THREAD_ATTRIBUTE_LIST attributes = nullptr;
    PROCESS_INFORMATION info{};
    const auto fail = [&](DWORD code) {
        error = code;
        if (attributes != nullptr) DeleteProcThreadAttributeList(attributes);
        closeHandle(read);
        closeHandle(write);
        closeHandle(input);
        if (info.hProcess != nullptr) {
            TerminateProcess(info.hProcess, code);
            CloseHandle(info.hProcess);
        }
        closeHandle(info.hThread);
        closeHandle(job_);
        return false;
    };

    if (!CreatePipe(&read, &write, &inheritable, kPipeBytes)) return fail(GetLastError());
    SetHandleInformation(read, HANDLE_FLAG_INHERIT, 0);
    input = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable, OPEN_EXISTING, 0,
                        nullptr);
    if (input == INVALID_HANDLE_VALUE) {
        input = nullptr;
        return fail(GetLastError());
    }

    job_ = CreateJobObjectW(nullptr, nullptr);
    if (job_ == nullptr) return fail(GetLastError());
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    if (!SetInformationJobObject(job_, JobObjectExtendedLimitInformation, &limits, sizeof limits))
        return fail(GetLastError());

    // Only the pipe's write end and NUL are inherited, whatever else of Brennic's is inheritable.
    SIZE_T size = 0;
    InitializeProcThreadAttributeList(nullptr, 1, 0, &size);
    attributeStorage.resize(size);
    attributes = reinterpret_cast<LPPROC_THREAD_ATTRIBUTE_LIST>(attributeStorage.data());
    if (!InitializeProcThreadAttributeList(attributes, 1, 0, &size)) {
        attributes = nullptr;
        return fail(GetLastError());
    }
    HANDLE inherited[2] = {write, input};
    if (!UpdateProcThreadAttribute(attributes, 0, PROC_THREAD_ATTRIBUTE_HANDLE_LIST, inherited, sizeof inherited,
                                   nullptr, nullptr))
        return fail(GetLastError());

    STARTUPINFOEXW startup{};
    startup.StartupInfo.cb = sizeof startup;
    startup.StartupInfo.dwFlags = STARTF_USESTDHANDLES;
    startup.StartupInfo.hStdInput = input;
    startup.StartupInfo.hStdOutput = write;
    startup.StartupInfo.hStdError = write;
    startup.lpAttributeList = attributes;

    std::wstring line = widen(commandLine);  // CreateProcessW may write into its command line
    const std::wstring folder = widen(request.directory);
    if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE,
                        CREATE_NO_WINDOW | CREATE_SUSPENDED | EXTENDED_STARTUPINFO_PRESENT | CREATE_UNICODE_ENVIRONMENT,
                        nullptr, orNull(folder), &startup.StartupInfo, &info)) {
        info = PROCESS_INFORMATION{};
        return fail(GetLastError());
    }
    // In the job before it runs a single instruction: nothing it starts can escape it.
    if (!AssignProcessToJobObject(job_, info.hProcess)) return fail(GetLastError());
    if (ResumeThread(info.hThread) == static_cast<DWORD>(-1)) return fail(GetLastError());

    DeleteProcThreadAttributeList(attributes);
    CloseHandle(info.hThread);
    // The program holds the write end now; Brennic's copy would keep the pipe from ever ending.
    CloseHandle(write);
    CloseHandle(input);
    process_ = info.hProcess;
    id_ = info.dwProcessId;
    output_ = read;
    return true;
}

HANDLE PipedProcess::takeOutput() {
    HANDLE output = output_;
    output_ = nullptr;
    return output;
}

void PipedProcess::stop() {
    if (job_ != nullptr) TerminateJobObject(job_, 1);
}

bool PipedProcess::ended(DWORD& exitCode) const {
    if (process_ == nullptr || WaitForSingleObject(process_, 0) != WAIT_OBJECT_0) return false;
    if (!GetExitCodeProcess(process_, &exitCode)) exitCode = 1;
    return true;
}

PipeReader::PipeReader(HANDLE pipe, HWND target, UINT message) : pipe_(pipe), target_(target), message_(message) {
    if (pipe_ == nullptr) {
        ended_ = true;
        return;
    }
    thread_ = CreateThread(nullptr, 0, &PipeReader::threadMain, this, 0, nullptr);
    if (thread_ == nullptr) ended_ = true;
}

PipeReader::~PipeReader() {
    {
        std::lock_guard<std::mutex> guard(lock_);
        stopping_ = true;
    }
    room_.notify_all();
    if (thread_ != nullptr) {
        // Normally the pipe has ended already (the job was closed first); a read still waiting is cancelled.
        while (WaitForSingleObject(thread_, 20) == WAIT_TIMEOUT) CancelSynchronousIo(thread_);
        CloseHandle(thread_);
    }
    closeHandle(pipe_);
}

DWORD WINAPI PipeReader::threadMain(void* self) {
    static_cast<PipeReader*>(self)->readLoop();
    return 0;
}

void PipeReader::readLoop() {
    std::string buffer(kReadBytes, '\0');
    for (;;) {
        DWORD got = 0;
        const BOOL ok = ReadFile(pipe_, buffer.data(), static_cast<DWORD>(buffer.size()), &got, nullptr);
        std::unique_lock<std::mutex> guard(lock_);
        if (stopping_) break;
        if (!ok || got == 0) {
            // Broken pipe: every writer has gone. A zero-byte read on a pipe is a writer's empty write.
            if (ok) continue;
            ended_ = true;
            if (!posted_) {
                posted_ = true;
                PostMessageW(target_, message_, 0, 0);
            }
            break;
        }
        queue_.emplace_back(buffer.data(), got);
        queuedBytes_ += got;
        if (!posted_) {
            posted_ = true;
            PostMessageW(target_, message_, 0, 0);
        }
        room_.wait(guard, [this] { return stopping_ || queuedBytes_ < kQueueBytes; });
        if (stopping_) break;
    }
}

std::string PipeReader::take(std::size_t limit, bool& more) {
    std::lock_guard<std::mutex> guard(lock_);
    std::string out;
    if (!queue_.empty() && queue_.front().size() <= limit) {
        out = std::move(queue_.front());  // a whole read: handed over, not copied
        queue_.pop_front();
        queuedBytes_ -= out.size();
    }
    while (!queue_.empty() && out.size() < limit) {
        std::string& front = queue_.front();
        const std::size_t part = std::min(front.size(), limit - out.size());
        out.append(front, 0, part);
        if (part == front.size()) {
            queue_.pop_front();
        } else {
            front.erase(0, part);
        }
        queuedBytes_ -= part;
    }
    more = !queue_.empty();
    // The next chunk (or the end) posts again; while bytes remain, the caller posts for itself.
    if (!more) posted_ = false;
    room_.notify_all();
    return out;
}

bool PipeReader::finished() {
    std::lock_guard<std::mutex> guard(lock_);
    return ended_ && queue_.empty();
}

}  // namespace brennic
