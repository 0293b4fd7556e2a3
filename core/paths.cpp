#include "core/paths.h"

namespace murmora {

std::string folderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string pathInFolder(std::string folder, const std::string& name) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + name;
}

} // namespace murmora
