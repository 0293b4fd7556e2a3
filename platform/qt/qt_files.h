#pragma once
#include "platform/files.h"

namespace murmora {

// The file system through POSIX calls; paths are the system's bytes.
class QtFiles final : public Files {
public:
    bool FileExists(const std::string& path) const override;
    bool FolderExists(const std::string& path) const override;
    bool RemoveFile(const std::string& path) override;
    bool MoveFile(const std::string& from, const std::string& to) override;
    std::string ProgramFolder() const override;
    std::string HomeFolder() const override;
    std::string TempFolder() const override;
    std::optional<std::string> CreateUniqueFile(const std::string& folder, const std::string& prefix) override;
    int WriteBinary(const std::string& path, const std::vector<unsigned char>& bytes) override;
};

} // namespace murmora
