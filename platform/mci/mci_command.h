#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace murmora::mci {

// One command text taken apart: keywords and the alias in lower case, a path as written.
struct MciCommand {
    std::string verb;
    std::string alias;
    std::string path;               // "open" and "save"
    std::vector<std::string> words; // the keywords after the alias, e.g. {"time", "format", "ms"}
    bool newTake = false;           // "open new": a new, empty take instead of a file
};

// Keywords and aliases are matched without regard to case and surplus blanks between them are
// ignored. A path is taken exactly as written: in double quotes, everything between the first
// and the last quote; without them, every character between the single blanks that set it off
// (after "open" up to " type waveaudio alias A"; after the alias of "save" to the end), so
// leading, trailing and repeated blanks are part of it. Empty when the text is no command this
// service knows.
std::optional<MciCommand> parseMciCommand(std::string_view text);

} // namespace murmora::mci
