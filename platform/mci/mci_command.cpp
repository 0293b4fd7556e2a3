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
        if (i > begin)
            tokens.push_back({begin, i});
    }
    return tokens;
}

std::string lowered(std::string_view text) {
    std::string result(text);
    std::transform(result.begin(), result.end(), result.begin(),
                   [](unsigned char c) { return static_cast<char>(c >= 'A' && c <= 'Z' ? c + ('a' - 'A') : c); });
    return result;
}

std::string withoutQuotes(std::string_view path) {
    if (path.size() >= 2 && path.front() == '"' && path.back() == '"')
        path = path.substr(1, path.size() - 2);
    return std::string(path);
}

// The text from the start of the first token to the end of the last, blanks inside kept.
std::string_view span(std::string_view text, const Token& first, const Token& last) {
    return text.substr(first.begin, last.end - first.begin);
}

std::optional<MciCommand> parseOpen(std::string_view text, const std::vector<Token>& tokens) {
    // open PATH... type waveaudio alias A
    constexpr std::array<std::string_view, 3> tail{"type", "waveaudio", "alias"};
    const std::size_t n = tokens.size();
    if (n < 6)
        return std::nullopt;
    for (std::size_t k = 0; k < tail.size(); ++k) {
        const Token& token = tokens[n - 4 + k];
        if (lowered(text.substr(token.begin, token.end - token.begin)) != tail[k])
            return std::nullopt;
    }
    MciCommand command{"open", lowered(text.substr(tokens[n - 1].begin, tokens[n - 1].end - tokens[n - 1].begin)),
                       withoutQuotes(span(text, tokens[1], tokens[n - 5])), {}, false};
    if (n == 6 && lowered(span(text, tokens[1], tokens[1])) == "new") {
        command.newTake = true;
        command.path.clear();
    }
    return command;
}

} // namespace

std::optional<MciCommand> parseMciCommand(std::string_view text) {
    const std::vector<Token> tokens = tokenise(text);
    if (tokens.size() < 2)
        return std::nullopt;
    const auto word = [&](std::size_t i) { return text.substr(tokens[i].begin, tokens[i].end - tokens[i].begin); };
    const std::string verb = lowered(word(0));
    if (verb == "open")
        return parseOpen(text, tokens);
    constexpr std::array<std::string_view, 7> verbs{"record", "play", "stop", "save", "close", "set", "status"};
    if (std::find(verbs.begin(), verbs.end(), verb) == verbs.end())
        return std::nullopt;
    MciCommand command{verb, lowered(word(1)), {}, {}, false};
    if (verb == "save") {
        if (tokens.size() > 2)
            command.path = withoutQuotes(span(text, tokens[2], tokens.back()));
        return command;
    }
    for (std::size_t i = 2; i < tokens.size(); ++i)
        command.words.push_back(lowered(word(i)));
    return command;
}

} // namespace murmora::mci
