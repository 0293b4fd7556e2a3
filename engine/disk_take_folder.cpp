#include "engine/disk_take_folder.h"

#include "engine/take_file.h"
#include "engine/take_file_system.h"
#include "engine/utf8_path.h"

#include <algorithm>

namespace murmora::audio {
namespace {

class DiskTakeFolder final : public TakeFolder {
public:
    explicit DiskTakeFolder(std::filesystem::path folder) : folder_(std::move(folder)) {}

    // Looking for them, it also removes the partial copies of saves that a run could not finish.
    std::vector<LeftoverTake> leftovers() const override {
        const std::vector<std::filesystem::path> unsaved = takefs::removeUnfinishedSaves(folder_);
        std::vector<LeftoverTake> takes;
        for (const auto& path : unheldTakes(folder_)) {
            const bool saveUnfinished = std::any_of(unsaved.begin(), unsaved.end(), [&path](const auto& take) {
                return take.filename() == path.filename();
            });
            takes.push_back({utf8Of(path), takefs::lastWritten(path), saveUnfinished});
        }
        std::sort(takes.begin(), takes.end(),
                  [](const LeftoverTake& a, const LeftoverTake& b) { return a.lastWritten < b.lastWritten; });
        return takes;
    }

    std::error_code recover(const LeftoverTake& take, const std::string& target) override {
        return takefs::placeLeftover(pathOfUtf8(take.path), pathOfUtf8(target), folder_);
    }

private:
    std::filesystem::path folder_;
};

} // namespace

std::unique_ptr<TakeFolder> makeTakeFolder(std::filesystem::path folder) {
    return std::make_unique<DiskTakeFolder>(std::move(folder));
}

} // namespace murmora::audio
