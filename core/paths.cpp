#include "core/paths.h"

#include <algorithm>
#include <vector>

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

bool sameComponent(const std::string& a, const std::string& b) {
#ifdef _WIN32
    const auto lower = [](unsigned char c) { return c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c; };
    return std::ranges::equal(a, b, [&](char x, char y) { return lower(x) == lower(y); });
#else
    return a == b;
#endif
}

// The components of a path, "." left out and ".." taking away the one before; a path that
// begins with a separator has the separator as its first component.
std::vector<std::string> components(const std::string& path) {
    const std::string root(1, kSeparator);
    std::vector<std::string> parts;
    if (!path.empty() && std::string(kSeparators).find(path.front()) != std::string::npos) parts.push_back(root);
    for (std::size_t start = 0; start < path.size();) {
        std::size_t end = path.find_first_of(kSeparators, start);
        if (end == std::string::npos) end = path.size();
        const std::string part = path.substr(start, end - start);
        if (part == "..") {
            if (!parts.empty() && parts.back() != root) parts.pop_back();
        } else if (!part.empty() && part != ".") {
            parts.push_back(part);
        }
        start = end + 1;
    }
    return parts;
}

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

bool isInFolder(const std::string& path, const std::string& folder) {
    const std::vector<std::string> inner = components(path), outer = components(folder);
    return outer.size() <= inner.size() && std::equal(outer.begin(), outer.end(), inner.begin(), sameComponent);
}

} // namespace murmora
