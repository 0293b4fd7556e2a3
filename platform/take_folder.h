#pragma once
#include <string>
#include <system_error>
#include <vector>

#include "core/date_time.h"

namespace murmora {

// A take file that a run of the program left in its take folder when it ended in the middle
// of the take or of its save (killed, or the machine went down).
struct LeftoverTake {
    std::string path;
    DateTime lastWritten;
    bool saveUnfinished = false; // the program ended while it saved the take
};

// The folder where takes are written while they record.
class TakeFolder {
public:
    virtual ~TakeFolder() = default;
    // The takes no running program is recording any more, oldest first.
    virtual std::vector<LeftoverTake> leftovers() const = 0;
    // Puts a leftover take at `target` as a saved take is put: synced to disk, with the
    // permissions of any new file of the user, and never over an existing file. On failure it
    // stays where it was.
    [[nodiscard]] virtual std::error_code recover(const LeftoverTake& take, const std::string& target) = 0;
};

} // namespace murmora
