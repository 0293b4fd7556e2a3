#include "tests/support/fake_platform.h"

#include <algorithm>
#include <cstdio>

#include "core/paths.h"

namespace murmora::fakes {

namespace {

std::string upper(std::string_view text) {
    std::string out(text);
    for (auto& c : out)
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}

Picture makePicture(std::string name) { return Picture{std::move(name), std::make_shared<const PictureData>()}; }

} // namespace

std::string FakeClock::timeOfDayText() const {
    if (timeText) return *timeText;
    const int s = secondsAfterMidnight(time);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return text;
}

bool FakeFiles::fileExists(const std::string& path) const {
    if (!files.count(path)) return false;
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return !name.empty() && name[0] != '.';
}

std::error_code FakeFiles::removeFile(const std::string& path) {
    if (undeletable.count(path)) return std::make_error_code(std::errc::permission_denied);
    return files.erase(path) > 0 ? std::error_code() : std::make_error_code(std::errc::no_such_file_or_directory);
}

std::error_code FakeTakeFolder::recover(const LeftoverTake& take, const std::string& target) {
    auto& files = files_.files;
    if (!files.count(take.path) || !files_.folders.count(folderOf(target)))
        return std::make_error_code(std::errc::no_such_file_or_directory);
    if (files.count(target)) return std::make_error_code(std::errc::file_exists);
    if (files_.undeletable.count(take.path)) return std::make_error_code(std::errc::permission_denied);
    files[target] = files[take.path];
    files.erase(take.path);
    return {};
}

Result<std::string> FakeFiles::createUniqueFile(const std::string& folder, const std::string& prefix) {
    if (!folders.count(folder)) return std::make_error_code(std::errc::no_such_file_or_directory);
    std::string path;
    do {
        path = folder + "/" + prefix + std::to_string(++uniqueCounter) + ".tmp";
    } while (files.count(path));
    files[path] = {};
    return path;
}

std::error_code FakeFiles::writeFile(const std::string& path, const std::vector<unsigned char>& bytes) {
    if (!folders.count(folderOf(path))) return std::make_error_code(std::errc::no_such_file_or_directory);
    files[path] = bytes;
    return {};
}

std::vector<std::string> FakeFiles::filesIn(const std::string& folder, const std::string& prefix) const {
    std::vector<std::string> out;
    const std::string start = folder + "/" + prefix;
    for (const auto& [path, bytes] : files) {
        if (path.rfind(start, 0) == 0 && path.find('/', start.size()) == std::string::npos) out.push_back(path);
    }
    return out;
}

std::error_code FakeHotkeys::registerHotkey(const Hotkey& hotkey) {
    registered.push_back(hotkey);
    return takenByOthers.count(hotkey.id) ? std::make_error_code(std::errc::device_or_resource_busy)
                                          : std::error_code();
}

Result<std::vector<unsigned char>> FakeResources::data(int id, std::string_view type) const {
    if (upper(type) != "CUSTOM" || !custom.count(id)) return make_error_code(ResourceError::missing);
    return custom.at(id);
}

Result<Picture> FakeResources::bitmap(std::string_view name) const {
    if (!bitmaps.count(upper(name))) return make_error_code(ResourceError::missing);
    return makePicture(std::string(name));
}

Result<Picture> FakeResources::pictureFromFile(const std::string& path) const {
    const auto found = files_.files.find(path);
    const std::string unreadable = "not a picture";
    if (found == files_.files.end() || found->second.empty() ||
        std::string(found->second.begin(), found->second.end()) == unreadable) {
        return make_error_code(ResourceError::unreadable);
    }
    return makePicture(path);
}

} // namespace murmora::fakes
