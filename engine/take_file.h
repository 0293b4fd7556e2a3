#pragma once
#include "core/result.h"
#include "engine/audio_backend.h"

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <vector>

typedef struct sf_private_tag SNDFILE;

namespace murmora::audio {

// The folder that holds takes while they record: on disk, in the user's cache folder, else in
// a folder of the user's own under /var/tmp; on Windows %LOCALAPPDATA%\Murmora\takes.
std::filesystem::path defaultTakeFolder();

// Why a take folder is refused (takes are nobody else's to read or swap).
enum class TakeFolderRefusal {
    link = 1,     // it leads to another place
    anotherUsers, // another user owns it
    notAFolder,
};
const std::error_category& takeFolderCategory();
std::error_code refusedFolder(TakeFolderRefusal why);

// The take files in `folder` that no TakeFile of any process holds: left behind by a run that
// ended in the middle of a take.
std::vector<std::filesystem::path> unheldTakes(const std::filesystem::path& folder);

// A take on disk: 16-bit PCM WAV (RF64 past 4 GB) in a file of its own in the take folder,
// locked (flock; on Windows LockFileEx) for as long as it is open. Until it has been placed,
// destroying it removes the file.
class TakeFile {
public:
    // Makes the take folder where it is missing, only for this user (0700; on Windows the user's
    // profile is so already); a folder that is no folder of this user's own is refused
    // (takeFolderCategory). The file itself is 0600.
    static Result<std::unique_ptr<TakeFile>> create(const std::filesystem::path& folder, const StreamFormat& format);
    ~TakeFile();
    TakeFile(const TakeFile&) = delete;
    TakeFile& operator=(const TakeFile&) = delete;

    // Appends frames; once the disk refuses them, fails with its reason and writes nothing further.
    std::error_code append(const std::int16_t* samples, std::size_t frames);
    // Rewrites the header so that the file read now holds every frame written so far.
    void updateHeader();
    // Writes the final header and lets libsndfile go: nothing more can be appended, and the file
    // can be read as it stands. The descriptor, and the lock, stay.
    std::error_code finish();
    // Finishes the file (its final header) and puts it at `target`, with the permissions of any
    // new file of the user: a rename on the same file system, else a copy synced to disk before
    // it replaces the target. On failure the take stays as it was, and can be placed elsewhere.
    std::error_code placeAt(const std::filesystem::path& target);
    // The file stays in the take folder when the take goes, where the next start finds it.
    void keepForRecovery() { keptForRecovery_ = true; }
    std::int64_t frames() const { return frames_; }
    const std::filesystem::path& path() const { return path_; }

private:
    TakeFile(std::filesystem::path path, int descriptor, SNDFILE* file);
    std::error_code placedAt(const std::filesystem::path& target);

    std::filesystem::path path_;
    std::filesystem::path folder_; // the take folder, where a save that copies notes its partial file
    int descriptor_;               // open until the take goes; libsndfile writes through it but does not own it
    SNDFILE* file_;
    std::int64_t frames_ = 0;
    std::error_code writeError_;
    bool placed_ = false;
    bool keptForRecovery_ = false;
};

} // namespace murmora::audio
