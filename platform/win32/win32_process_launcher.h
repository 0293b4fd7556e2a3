#pragma once
#include "platform/process_launcher.h"

namespace murmora::win32 {

// CreateProcessW, with no shell and no console window; the program is named by its path.
class Win32ProcessLauncher final : public ProcessLauncher {
public:
    std::error_code startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                  const std::string& workingFolder) override;
};

// One argument of a command line, in double quotes, so that the started program reads it back
// exactly (blanks, quotes and backslashes before a quote included) by the usual C runtime rules.
std::wstring quotedArgument(const std::wstring& argument);
// The command line of `program` and its arguments, each quoted.
std::wstring commandLine(const std::string& program, const std::vector<std::string>& arguments);

} // namespace murmora::win32
