#include "core/paths.h"

namespace murmora {

namespace {

#ifdef _WIN32
// Windows takes both separators and writes "\"; a folder may be a drive's root ("C:\").
constexpr const char* kSeparators = "\\/";
constexpr char kSeparator = '\\';
bool isRootSeparator(const std::string& path, std::size_t at) { return at == 2 && path[1] == ':'; }
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
    if (folder.empty() || folder.find_last_of(kSeparators) != folder.size() - 1) folder += kSeparator;
    return folder + name;
}

} // namespace murmora
