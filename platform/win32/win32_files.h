#pragma once
#include "platform/files.h"

#include <string>

namespace murmora::win32 {

// Files through the wide Windows functions. A file exists when it is an ordinary file: a folder,
// or a file marked hidden or system, counts as missing.
class Win32Files final : public Files {
public:
    bool fileExists(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    std::error_code removeFile(const std::string& path) override;
    std::string programFolder() const override;
    // The program's own folder: LAME.exe lies beside murmora.exe.
    std::string libraryFolder() const override;
    // The user's Documents folder: where Windows users keep their files, and where a take goes
    // when no other place is named (a recovered take, the schedule's AutoRec.wav).
    std::string homeFolder() const override;
    // GetTempPathW's folder, without its closing "\".
    std::string tempFolder() const override;
    std::string nameAsCreated(const std::string& path) const override;
    // GetTempFileNameW: "PREFIXnnnn.TMP", created empty; only the first three letters of the prefix count.
    Result<std::string> createUniqueFile(const std::string& folder, const std::string& prefix) override;
    std::error_code writeFile(const std::string& path, const std::vector<unsigned char>& bytes) override;
};

// The path of the file Windows creates for `path`: its full path, with the dots and blanks that
// Windows drops from the end of a name dropped ("take.wav." makes take.wav).
std::wstring nameAsCreated(const std::wstring& path);

} // namespace murmora::win32
