#include "engine/take_file.h"

#include "core/texts.h"
#include "engine/take_file_system.h"

#include <sndfile.h>

#include <string>

namespace murmora::audio {
namespace fs = std::filesystem;

namespace {

class TakeFolderCategory final : public std::error_category {
public:
    const char* name() const noexcept override { return "take folder"; }
    std::string message(int why) const override {
        switch (static_cast<TakeFolderRefusal>(why)) {
        case TakeFolderRefusal::link:
            return translated("the folder is a link to another place");
        case TakeFolderRefusal::anotherUsers:
            return translated("the folder belongs to another user");
        case TakeFolderRefusal::notAFolder:
            return translated("it is not a folder");
        }
        return translated("the folder is refused");
    }
};

} // namespace

const std::error_category& takeFolderCategory() {
    static const TakeFolderCategory category;
    return category;
}

std::error_code refusedFolder(TakeFolderRefusal why) { return {static_cast<int>(why), takeFolderCategory()}; }

std::vector<fs::path> unheldTakes(const fs::path& folder) {
    std::vector<fs::path> takes;
    std::error_code error;
    for (fs::directory_iterator entry(folder, error), end; !error && entry != end; entry.increment(error)) {
        const fs::path& path = entry->path();
        std::error_code typeError;
        if (entry->is_regular_file(typeError) && path.extension() == ".wav" && path.filename().string()[0] != '.' &&
            !takefs::isHeld(path))
            takes.push_back(path);
    }
    return takes;
}

Result<std::unique_ptr<TakeFile>> TakeFile::create(const fs::path& folder, const StreamFormat& format) {
    if (const std::error_code error = takefs::prepareFolder(folder)) return error;
    const Result<takefs::LockedFile> opened = takefs::createLocked(folder);
    if (!opened) return opened.error();
    const auto& [path, fd] = *opened;
    SF_INFO info{};
    info.samplerate = format.sampleRate;
    info.channels = format.channels;
    // RF64 that libsndfile writes as a plain WAV for as long as the take stays under 4 GB.
    info.format = SF_FORMAT_RF64 | SF_FORMAT_PCM_16;
    takefs::clearLastError();
    SNDFILE* file = sf_open_fd(fd, SFM_WRITE, &info, SF_FALSE);
    if (!file) {
        // A header that cannot be written (a full disk) leaves its reason behind.
        const std::error_code error = takefs::lastErrorOr(std::errc::io_error);
        takefs::close(fd);
        takefs::remove(path);
        return error;
    }
    sf_command(file, SFC_RF64_AUTO_DOWNGRADE, nullptr, SF_TRUE);
    std::unique_ptr<TakeFile> take(new TakeFile(path, fd, file));
    take->updateHeader();
    return take;
}

TakeFile::TakeFile(fs::path path, int descriptor, SNDFILE* file)
    : path_(std::move(path)), folder_(path_.parent_path()), descriptor_(descriptor), file_(file) {}

TakeFile::~TakeFile() {
    // An unplaced take is removed: its final header does not matter.
    static_cast<void>(finish());
    takefs::close(descriptor_);
    if (!placed_ && !keptForRecovery_) takefs::remove(path_);
}

std::error_code TakeFile::finish() {
    if (!file_) return {};
    takefs::clearLastError();
    const int closed = sf_close(file_);
    file_ = nullptr;
    if (closed == 0) return {};
    return takefs::lastErrorOr(std::errc::io_error);
}

std::error_code TakeFile::append(const std::int16_t* samples, std::size_t frames) {
    if (writeError_) return writeError_;
    if (!file_) return std::make_error_code(std::errc::bad_file_descriptor);
    takefs::clearLastError();
    const sf_count_t written = sf_writef_short(file_, samples, static_cast<sf_count_t>(frames));
    frames_ += written;
    if (written != static_cast<sf_count_t>(frames)) // a full disk, a file-size limit: the system says which
        writeError_ = takefs::lastErrorOr(std::errc::io_error);
    return writeError_;
}

void TakeFile::updateHeader() {
    if (file_) sf_command(file_, SFC_UPDATE_HEADER_NOW, nullptr, 0);
}

std::error_code TakeFile::placeAt(const fs::path& target) {
    if (const std::error_code error = finish()) return error;
    if (!placed_) {
        const std::error_code moved = takefs::moveTo(descriptor_, path_, target);
        if (!moved) return placedAt(target);
        if (moved != std::errc::cross_device_link) return moved;
    }
    if (const std::error_code error = takefs::copyOver(path_, target, folder_, takefs::AtTarget::replace)) return error;
    // The take is at the target; should its file in the take folder stay, the next start only
    // finds it again.
    if (!placed_) takefs::remove(path_);
    return placedAt(target);
}

std::error_code TakeFile::placedAt(const fs::path& target) {
    placed_ = true;
    path_ = target;
    return {};
}

} // namespace murmora::audio
