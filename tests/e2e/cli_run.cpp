// Runs brumix.exe as a script would, its standard output and error redirected to files that
// are read back once it has ended.
#include "tests/e2e/cli_run.h"

#include <windows.h>

#include "tests/support/wine_cache.h"
#include "tests/support/wine_files.h"

namespace e2e {
namespace {

constexpr DWORD kRunLimitMs = 60000;

std::string g_cliPath;

// An inheritable handle to a fresh file, closed when the owner goes.
class OutputFile {
public:
    explicit OutputFile(const std::string& path) : path_(path) {
        SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
        handle_ = CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    }
    ~OutputFile() {
        Close();
        DeleteFileA(path_.c_str());
    }
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;

    HANDLE Get() const { return handle_; }
    bool Ok() const { return handle_ != INVALID_HANDLE_VALUE; }
    void Close() {
        if (Ok()) CloseHandle(handle_);
        handle_ = INVALID_HANDLE_VALUE;
    }
    std::string Read() {
        Close();
        const std::optional<std::string> content = ReadTextFile(path_);
        return content ? *content : "<unreadable: error " + std::to_string(GetLastError()) + ">";
    }

private:
    std::string path_;
    HANDLE handle_ = INVALID_HANDLE_VALUE;
};

std::string TempPath(const std::string& stem) {
    char folder[MAX_PATH + 1] = {};
    GetTempPathA(sizeof folder, folder);
    return std::string(folder) + UniqueName(stem) + ".txt";
}

// Quoted as the C runtime and CommandLineToArgvW read it back; our arguments hold no quotes.
std::string CommandLine(const std::string& program, const std::vector<std::string>& args) {
    std::string line = "\"" + program + "\"";
    for (const std::string& arg : args) line += " " + arg;
    return line;
}

}  // namespace

void SetCliPath(const std::string& path) {
    g_cliPath = path;
}

const std::string& CliPath() {
    return g_cliPath;
}

CliResult RunCli(const std::vector<std::string>& args) {
    return RunCliAt(g_cliPath, args);
}

CliResult RunCliAt(const std::string& program, const std::vector<std::string>& args) {
    CliResult result;
    OutputFile out(TempPath("stdout"));
    OutputFile err(TempPath("stderr"));
    if (!out.Ok() || !err.Ok()) return result;

    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nullptr;
    startup.hStdOutput = out.Get();
    startup.hStdError = err.Get();
    PROCESS_INFORMATION info = {};
    std::string line = CommandLine(program, args);
    if (!CreateProcessA(program.c_str(), line.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                        &startup, &info)) {
        return result;
    }
    result.started = true;
    if (WaitForSingleObject(info.hProcess, kRunLimitMs) != WAIT_OBJECT_0) {
        TerminateProcess(info.hProcess, kCliTimedOut);
        WaitForSingleObject(info.hProcess, kRunLimitMs);
    }
    DWORD code = kCliTimedOut;
    GetExitCodeProcess(info.hProcess, &code);
    result.exitCode = code;
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
    result.out = out.Read();
    result.err = err.Read();
    return result;
}

}  // namespace e2e
