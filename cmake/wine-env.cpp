// wine-env.exe NAME=VALUE... -- PROGRAM [ARGUMENTS...]
// Runs PROGRAM with the given environment settings added, and returns its exit status. Wine drops
// every QT_* variable on the way from Linux to Windows programs; the Wine wrapper of the cross
// build (wine-run) hands them to this program instead, which sets them on the Windows side.
#include <windows.h>

#include <shellapi.h>
#include <string>

namespace {

// One argument quoted for a Windows command line, so that CommandLineToArgvW and the C runtime
// read it back unchanged.
std::wstring quoted(const std::wstring& arg)
{
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    for (size_t i = 0;; ++i) {
        size_t backslashes = 0;
        while (i < arg.size() && arg[i] == L'\\') {
            ++i;
            ++backslashes;
        }
        if (i == arg.size()) {
            out.append(backslashes * 2, L'\\');
            break;
        }
        if (arg[i] == L'"') {
            out.append(backslashes * 2 + 1, L'\\');
        } else {
            out.append(backslashes, L'\\');
        }
        out += arg[i];
    }
    return out + L"\"";
}

} // namespace

int main()
{
    int argc = 0;
    wchar_t** argv = CommandLineToArgvW(GetCommandLineW(), &argc);
    int i = 1;
    for (; i < argc && std::wstring(argv[i]) != L"--"; ++i) {
        std::wstring setting = argv[i];
        const size_t equals = setting.find(L'=');
        if (equals == std::wstring::npos || equals == 0)
            return 125;
        SetEnvironmentVariableW(setting.substr(0, equals).c_str(),
                                setting.substr(equals + 1).c_str());
    }
    if (i + 1 >= argc)
        return 125;
    std::wstring commandLine;
    for (int j = i + 1; j < argc; ++j)
        commandLine += (j > i + 1 ? L" " : L"") + quoted(argv[j]);

    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    for (DWORD which : {STD_INPUT_HANDLE, STD_OUTPUT_HANDLE, STD_ERROR_HANDLE}) {
        HANDLE handle = GetStdHandle(which);
        if (handle && handle != INVALID_HANDLE_VALUE)
            SetHandleInformation(handle, HANDLE_FLAG_INHERIT, HANDLE_FLAG_INHERIT);
    }
    startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
    startup.hStdOutput = GetStdHandle(STD_OUTPUT_HANDLE);
    startup.hStdError = GetStdHandle(STD_ERROR_HANDLE);
    PROCESS_INFORMATION process{};
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr,
                        &startup, &process))
        return 126;
    WaitForSingleObject(process.hProcess, INFINITE);
    DWORD status = 1;
    GetExitCodeProcess(process.hProcess, &status);
    return int(status);
}
