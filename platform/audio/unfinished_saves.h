#pragma once
#include <filesystem>

#include "core/result.h"

namespace murmora::audio {

// The partial file a save copies a take into, beside its target, before the copy replaces the
// target. Its name is noted in the take folder before the file is made, and the note goes when
// the file has been renamed or removed: should the program end in the middle of the copy, the
// next start finds the note and removes the partial file, and nothing else.
class NotedPartialFile {
public:
    // Notes a new name ".murmora-save-" and six random letters in `folder`, then makes that file
    // there, exclusively (never an existing name, never through a link), for this user alone,
    // open for writing; the caller closes its descriptor. A note that cannot be written (a take
    // folder with no room left) does not stop the save: the file is then made without one.
    static Result<NotedPartialFile> create(const std::filesystem::path& noteFolder,
                                           const std::filesystem::path& folder);
    // Removes the note: by now the file has been renamed or removed.
    ~NotedPartialFile();
    NotedPartialFile(NotedPartialFile&& other) noexcept;
    NotedPartialFile(const NotedPartialFile&) = delete;
    NotedPartialFile& operator=(const NotedPartialFile&) = delete;
    NotedPartialFile& operator=(NotedPartialFile&&) = delete;

    int descriptor() const { return descriptor_; }
    const std::filesystem::path& path() const { return path_; }

private:
    NotedPartialFile(std::filesystem::path note, int noteDescriptor, std::filesystem::path path, int descriptor);

    std::filesystem::path note_;
    int noteDescriptor_; // locked while the copy runs, so that another start leaves it alone; -1 for none
    std::filesystem::path path_;
    int descriptor_;
};

// Removes each partial file that a note in `noteFolder` names and no running save holds, then
// the note. A note's file is removed only while it is a regular file of this user's named as
// above; anything else it names is left alone, and so is a note that names nothing yet.
void removeUnfinishedSaves(const std::filesystem::path& noteFolder);

} // namespace murmora::audio
