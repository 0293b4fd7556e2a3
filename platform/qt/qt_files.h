#pragma once
#include "platform/files.h"

namespace murmora::qt {

// The user's home: $HOME, else the home the password database gives the user, else
// `lastResort`; the first that is an existing folder and not "/". Empty when none is.
std::string userHomeFolder(const std::string& lastResort = {});

// The file system through POSIX calls; paths are the system's bytes.
class QtFiles final : public Files {
public:
    bool fileExists(const std::string& path) const override;
    bool folderExists(const std::string& path) const override;
    std::error_code removeFile(const std::string& path) override;
    std::string programFolder() const override;
    // PREFIX/lib/murmora for a program installed as PREFIX/bin/murmora; in a build folder, which
    // holds the program at its root, lib/murmora there. Never bin/, which is on users' PATH.
    std::string libraryFolder() const override;
    std::string homeFolder() const override;
    std::string tempFolder() const override;
    std::string nameAsCreated(const std::string& path) const override { return path; }
    Result<std::string> createUniqueFile(const std::string& folder, const std::string& prefix) override;
    std::error_code writeFile(const std::string& path, const std::vector<unsigned char>& bytes) override;
};

} // namespace murmora::qt
