#pragma once
#include <string>

namespace murmora {

// The folder a path names its file in: "/" (on Windows "C:\") for a file at the root, "." for a
// bare name. Windows paths may use either separator.
std::string folderOf(const std::string& path);

// `name` inside `folder`, with no doubled separator when the folder is a root.
std::string pathInFolder(std::string folder, const std::string& name);

// Whether `path` is `folder` or lies inside it: the folder's path components, whole, begin the
// path's, once "." and ".." have been taken as they read. On Windows letters compare without
// regard to case (A to Z) and either separator counts.
bool isInFolder(const std::string& path, const std::string& folder);

} // namespace murmora
