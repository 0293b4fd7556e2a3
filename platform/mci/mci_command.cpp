#include "platform/mci/mci_command.h"

#include <algorithm>
#include <array>

namespace murmora::mci {
namespace {

struct Token {
    std::size_t begin;
    std::size_t end;
};

bool isBlank(char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

std::vector<Token> tokenise(std::string_view text) {
    std::vector<Token> tokens;
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isBlank(text[i]))
            ++i;
        const std::size_t begin = i;
        while (i < text.size() && !isBlank(text[i]))
            ++i;
        if (i > begin) tokens.push_back({begin, i});
    }
    return tokens;
}

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); });
    return result;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isBlank(text.front()))
        text.remove_prefix(1);
    while (!text.empty() && isBlank(text.back()))
        text.remove_suffix(1);
    return text;
}

// The path written in `field`, the text between the blank that ends the word before it and the
// blank that begins the word after it (or the end of the command). In double quotes it is
// everything between the first and the last quote; without them it is every character of the
// field, blanks included. A field of blanks alone names no path.
std::string pathIn(std::string_view field) {
    const std::string_view inner = trimmed(field);
    if (inner.size() >= 2 && inner.front() == '"' && inner.back() == '"')
        return std::string(inner.substr(1, inner.size() - 2));
    return inner.empty() ? std::string() : std::string(field);
}

// The text between two tokens, less the one blank that separates each of them from it.
std::string_view between(std::string_view text, const Token& before, std::size_t afterBegin) {
    const std::size_t begin = before.end + 1;
    const std::size_t end = afterBegin > begin ? afterBegin - 1 : begin;
    return begin < text.size() ? text.substr(begin, end - begin) : std::string_view();
}

std::optional<MciCommand> parseOpen(std::string_view text, const std::vector<Token>& tokens) {
    // open PATH type waveaudio alias A
    constexpr std::array<std::string_view, 3> tail{"type", "waveaudio", "alias"};
    const std::size_t n = tokens.size();
    if (n < 6) return std::nullopt;
    for (std::size_t k = 0; k < tail.size(); ++k) {
        const Token& token = tokens[n - 4 + k];
        if (lowered(text.substr(token.begin, token.end - token.begin)) != tail[k]) return std::nullopt;
    }
    const std::string_view field = between(text, tokens[0], tokens[n - 4].begin);
    MciCommand command{"open",
                       lowered(text.substr(tokens[n - 1].begin, tokens[n - 1].end - tokens[n - 1].begin)),
                       pathIn(field),
                       {},
                       false};
    if (lowered(trimmed(field)) == "new") {
        command.newTake = true;
        command.path.clear();
    }
    return command;
}

} // namespace

std::optional<MciCommand> parseMciCommand(std::string_view text) {
    const std::vector<Token> tokens = tokenise(text);
    if (tokens.size() < 2) return std::nullopt;
    const auto word = [&](std::size_t i) { return text.substr(tokens[i].begin, tokens[i].end - tokens[i].begin); };
    const std::string verb = lowered(word(0));
    if (verb == "open") return parseOpen(text, tokens);
    constexpr std::array<std::string_view, 9> verbs{"record", "pause", "resume", "play",  "stop",
                                                    "save",   "close", "set",    "status"};
    if (std::find(verbs.begin(), verbs.end(), verb) == verbs.end()) return std::nullopt;
    MciCommand command{verb, lowered(word(1)), {}, {}, false};
    if (verb == "save") {
        command.path = pathIn(between(text, tokens[1], text.size() + 1));
        return command;
    }
    for (std::size_t i = 2; i < tokens.size(); ++i)
        command.words.push_back(lowered(word(i)));
    return command;
}

} // namespace murmora::mci
