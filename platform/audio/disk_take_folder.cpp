#include "platform/audio/disk_take_folder.h"

#include "platform/audio/take_file.h"
#include "platform/posix/partial_file.h"

#include <sys/stat.h>

#include <algorithm>
#include <ctime>

namespace murmora::audio {
namespace {

// The local wall-clock reading of a file's last change, as the clock reads time.
DateTime lastWritten(const std::filesystem::path& path) {
    struct stat status {};
    if (::stat(path.c_str(), &status) != 0) return 0;
    std::tm local{};
    localtime_r(&status.st_mtime, &local);
    return static_cast<DateTime>(timegm(&local));
}

class DiskTakeFolder final : public TakeFolder {
public:
    explicit DiskTakeFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Looking for them, it also removes the partial copies of saves that a run could not finish.
    std::vector<LeftoverTake> leftovers() const override {
        posix::removeUnfinishedPartialFiles(folder_);
        std::vector<LeftoverTake> takes;
        for (const auto& path : unheldTakes(folder_))
            takes.push_back({path.string(), lastWritten(path)});
        std::sort(takes.begin(), takes.end(),
                  [](const LeftoverTake& a, const LeftoverTake& b) { return a.lastWritten < b.lastWritten; });
        return takes;
    }

private:
    std::filesystem::path folder_;
};

} // namespace

std::unique_ptr<TakeFolder> makeTakeFolder(std::filesystem::path folder) {
    return std::make_unique<DiskTakeFolder>(std::move(folder));
}

} // namespace murmora::audio
