#pragma once
#include <string>

namespace murmora {

// The folder a path names its file in: "/" for a file at the root, "." for a bare name.
inline std::string FolderOf(const std::string& path) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// `name` inside `folder`, with no doubled separator when the folder is "/".
inline std::string PathInFolder(std::string folder, const std::string& name) {
    if (folder.empty() || folder.back() != '/') folder += '/';
    return folder + name;
}

} // namespace murmora
