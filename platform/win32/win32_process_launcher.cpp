#include "platform/win32/win32_process_launcher.h"

#include "platform/wide/wide.h"

namespace murmora::win32 {

std::wstring quotedArgument(const std::wstring& argument) {
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : argument) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        // Backslashes are doubled only where a quote follows them; the quote gets one of its own.
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    // Before the closing quote, backslashes are doubled so that it still closes.
    out.append(backslashes * 2, L'\\');
    out.push_back(L'"');
    return out;
}

std::wstring commandLine(const std::string& program, const std::vector<std::string>& arguments) {
    std::wstring line = quotedArgument(toWide(program));
    for (const std::string& argument : arguments)
        line += L" " + quotedArgument(toWide(argument));
    return line;
}

std::error_code Win32ProcessLauncher::startDetached(const std::string& program,
                                                    const std::vector<std::string>& arguments,
                                                    const std::string& workingFolder) {
    std::wstring line = commandLine(program, arguments);
    const std::wstring folder = toWide(workingFolder);
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION started{};
    // The program's path is given apart from the command line: nothing is looked up elsewhere.
    if (!CreateProcessW(toWide(program).c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW | CREATE_UNICODE_ENVIRONMENT, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
        return lastWin32Error();
    CloseHandle(started.hThread);
    CloseHandle(started.hProcess);
    return {};
}

} // namespace murmora::win32
