#pragma once
#include <string>
#include <system_error>
#include <vector>

#include "core/result.h"

namespace murmora {

class Files {
public:
    virtual ~Files() = default;
    // An ordinary file: a regular file whose name does not begin with "." (hidden files
    // and folders count as missing).
    virtual bool fileExists(const std::string& path) const = 0;
    virtual bool folderExists(const std::string& path) const = 0;
    // Removes a file, or a link itself (never what it points to).
    [[nodiscard]] virtual std::error_code removeFile(const std::string& path) = 0;
    // The folder that holds the program's executable, without a closing "/" except at "/".
    virtual std::string programFolder() const = 0;
    // The folder of the program's helper programs (the encoder), without a closing "/".
    virtual std::string libraryFolder() const = 0;
    // The user's home folder, where a take goes when no other place is named; never the root
    // folder, and empty when the user has none.
    virtual std::string homeFolder() const = 0;
    // The system's temporary folder ($TMPDIR or /tmp); empty when there is none.
    virtual std::string tempFolder() const = 0;
    // The path of the file the system creates when asked for `path` (Windows drops the dots and
    // blanks at the end of a name); on Linux `path` itself.
    virtual std::string nameAsCreated(const std::string& path) const = 0;
    // Creates a new, uniquely named empty file in `folder` whose name begins with `prefix`,
    // exclusively (never an existing file, never through a link), and gives its path.
    [[nodiscard]] virtual Result<std::string> createUniqueFile(const std::string& folder,
                                                               const std::string& prefix) = 0;
    // Writes `bytes` as the whole content of a file, never through a link.
    [[nodiscard]] virtual std::error_code writeFile(const std::string& path,
                                                    const std::vector<unsigned char>& bytes) = 0;
};

} // namespace murmora
