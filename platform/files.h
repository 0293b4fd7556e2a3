#pragma once
#include <optional>
#include <string>
#include <vector>

namespace murmora {

class Files {
public:
    virtual ~Files() = default;
    // An ordinary file: a regular file whose name does not begin with "." (hidden files
    // and folders count as missing).
    virtual bool FileExists(const std::string& path) const = 0;
    virtual bool FolderExists(const std::string& path) const = 0;
    // Removes a file, or a link itself (never what it points to); false when there was none or
    // it could not be removed.
    virtual bool RemoveFile(const std::string& path) = 0;
    // Moves a file to `to`, which must not exist yet; false when it stays where it was.
    virtual bool MoveFile(const std::string& from, const std::string& to) = 0;
    // The folder that holds the program's executable, without a closing "/" except at "/".
    virtual std::string ProgramFolder() const = 0;
    virtual std::string HomeFolder() const = 0;
    // The system's temporary folder ($TMPDIR or /tmp); empty when there is none.
    virtual std::string TempFolder() const = 0;
    // Creates a new, uniquely named empty file in `folder` whose name begins with `prefix`,
    // exclusively (never an existing file, never through a link). Its path, or nothing.
    virtual std::optional<std::string> CreateUniqueFile(const std::string& folder, const std::string& prefix) = 0;
    // Writes `bytes` as the whole content of an existing file; 0 on success, else an errno.
    virtual int WriteBinary(const std::string& path, const std::vector<unsigned char>& bytes) = 0;
};

} // namespace murmora
