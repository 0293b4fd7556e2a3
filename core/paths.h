#pragma once
#include <string>

namespace murmora {

// The folder a path names its file in: "/" for a file at the root, "." for a bare name.
std::string folderOf(const std::string& path);

// `name` inside `folder`, with no doubled separator when the folder is "/".
std::string pathInFolder(std::string folder, const std::string& name);

} // namespace murmora
