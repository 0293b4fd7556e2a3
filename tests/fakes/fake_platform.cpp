#include "tests/fakes/fake_platform.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace murmora::fakes {

std::string FakeClock::TimeText() const {
    if (timeText) return *timeText;
    const int s = SecondsAfterMidnight(now);
    char text[16];
    std::snprintf(text, sizeof text, "%02d:%02d:%02d", s / 3600, s / 60 % 60, s % 60);
    return text;
}

int FakeMci::SendString(std::string_view command, char* reply, std::size_t replyLength) {
    commands.emplace_back(command);
    std::string answer;
    const int result = respond ? respond(commands.back(), answer) : 0;
    if (reply && replyLength > 0) {
        const std::size_t n = std::min(answer.size(), replyLength);
        std::memcpy(reply, answer.data(), n);
        if (n < replyLength) reply[n] = '\0';
    }
    return result;
}

std::vector<std::string> FakeMci::Take() {
    std::vector<std::string> out;
    std::copy_if(commands.begin() + static_cast<std::ptrdiff_t>(taken_), commands.end(), std::back_inserter(out),
                 [](const std::string& command) { return command != CaptureModeQuery; });
    taken_ = commands.size();
    return out;
}

bool FakeMci::Sent(const std::string& command) const {
    return std::find(commands.begin(), commands.end(), command) != commands.end();
}

bool FakeFiles::FileExists(const std::string& path) const {
    if (!files.count(path)) return false;
    const auto slash = path.rfind('/');
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    return !name.empty() && name[0] != '.';
}

bool FakeFiles::RemoveFile(const std::string& path) {
    if (undeletable.count(path)) return false;
    return files.erase(path) > 0;
}

bool FakeFiles::MoveFile(const std::string& from, const std::string& to) {
    const auto slash = to.rfind('/');
    const std::string folder = slash == 0 ? "/" : to.substr(0, slash);
    if (!files.count(from) || files.count(to) || slash == std::string::npos || !folders.count(folder) ||
        undeletable.count(from))
        return false;
    files[to] = files[from];
    files.erase(from);
    return true;
}

std::optional<std::string> FakeFiles::CreateUniqueFile(const std::string& folder, const std::string& prefix) {
    if (!folders.count(folder)) return std::nullopt;
    std::string path;
    do {
        path = folder + "/" + prefix + std::to_string(++uniqueCounter) + ".tmp";
    } while (files.count(path));
    files[path] = {};
    return path;
}

int FakeFiles::WriteBinary(const std::string& path, const std::vector<unsigned char>& bytes) {
    const auto slash = path.rfind('/');
    if (slash == std::string::npos || !folders.count(slash == 0 ? "/" : path.substr(0, slash))) return 2;
    files[path] = bytes;
    return 0;
}

std::vector<std::string> FakeFiles::FilesIn(const std::string& folder, const std::string& prefix) const {
    std::vector<std::string> out;
    const std::string start = folder + "/" + prefix;
    for (const auto& [path, bytes] : files) {
        if (path.rfind(start, 0) == 0 && path.find('/', start.size()) == std::string::npos) out.push_back(path);
    }
    return out;
}

bool FakeHotkeys::RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) {
    combinations.emplace_back(modifiers, virtualKey);
    if (takenByOthers.count(id)) return false;
    registered.push_back(id);
    return true;
}

namespace {
std::string Upper(std::string_view text) {
    std::string out(text);
    for (auto& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return out;
}
Picture MakePicture(std::string name) {
    return Picture{std::move(name), std::make_shared<const PictureData>()};
}
} // namespace

std::optional<std::vector<unsigned char>> FakeResources::LoadResData(int id, std::string_view type) const {
    if (Upper(type) != "CUSTOM" || !custom.count(id)) return std::nullopt;
    return custom.at(id);
}

Picture FakeResources::LoadResPicture(std::string_view name) const {
    if (!bitmaps.count(Upper(name))) throw PictureError("missing bitmap resource " + std::string(name));
    return MakePicture(std::string(name));
}

Picture FakeResources::LoadPicture(const std::string& path) const {
    const auto found = files_.files.find(path);
    const std::string unreadable = "not a picture";
    if (found == files_.files.end() || found->second.empty() ||
        std::string(found->second.begin(), found->second.end()) == unreadable) {
        throw PictureError("no readable picture in " + path);
    }
    return MakePicture(path);
}

} // namespace murmora::fakes
