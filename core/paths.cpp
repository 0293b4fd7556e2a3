#include "core/paths.h"

namespace murmora {

namespace {

#ifdef _WIN32
// Windows takes both separators; a folder may be a drive's root ("C:\").
constexpr const char* kSeparators = "\\/";
constexpr char kSeparator = '\\';
bool isRootSeparator(const std::string& path, std::size_t at) { return at == 0 || (at == 2 && path[1] == ':'); }
#else
constexpr const char* kSeparators = "/";
constexpr char kSeparator = '/';
bool isRootSeparator(const std::string&, std::size_t at) { return at == 0; }
#endif

} // namespace

std::string folderOf(const std::string& path) {
    const auto separator = path.find_last_of(kSeparators);
    if (separator == std::string::npos) return ".";
    return path.substr(0, isRootSeparator(path, separator) ? separator + 1 : separator);
}

std::string pathInFolder(std::string folder, const std::string& name) {
    const auto separator = folder.find_last_of(kSeparators);
    if (separator == std::string::npos || separator != folder.size() - 1)
        // The folder's own separator, so that a path never mixes them.
        folder += separator == std::string::npos ? kSeparator : folder[separator];
    return folder + name;
}

} // namespace murmora
