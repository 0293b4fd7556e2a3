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

// Keywords and aliases are matched without regard to case and surplus blanks are ignored.
// The path of "open" is everything between "open" and the trailing "type waveaudio alias A";
// the path of "save" is everything after the alias; a path in double quotes loses them.
// Empty when the text is no command this service knows.
std::optional<MciCommand> parseMciCommand(std::string_view text);

} // namespace murmora::mci
