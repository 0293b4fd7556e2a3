#include "core/texts.h"

#include <charconv>
#include <clocale>
#include <optional>
#include <vector>

#include <libintl.h>

namespace murmora {
namespace {

// A "%s" or "%N$s" in a text: which value it names, and its length.
struct Directive {
    std::size_t index;
    std::size_t length;
};

// The directive at `at` (`next` counts the plain ones), or nullopt where there is none.
std::optional<Directive> directiveAt(std::string_view text, std::size_t at, std::size_t& next) {
    if (text.substr(at, 2) == "%s") return Directive{next++, 2};
    std::size_t number = 0;
    const char* first = text.data() + at + 1;
    const char* last = text.data() + text.size();
    const auto [end, error] = std::from_chars(first, last, number);
    if (error != std::errc{} || number == 0 || std::string_view(end, last - end).substr(0, 2) != "$s")
        return std::nullopt;
    return Directive{number - 1, static_cast<std::size_t>(end - first) + 3};
}

} // namespace

std::string filled(std::string_view text, std::initializer_list<std::string_view> values) {
    const std::vector<std::string_view> given(values);
    std::string result;
    std::size_t next = 0;
    for (std::size_t at = 0; at < text.size(); ++at) {
        if (text[at] != '%') {
            result += text[at];
        } else if (text.substr(at, 2) == "%%") {
            result += '%';
            ++at;
        } else if (const auto directive = directiveAt(text, at, next); directive && directive->index < given.size()) {
            result += given[directive->index];
            at += directive->length - 1;
        } else {
            result += '%'; // not ours: shown as it stands
        }
    }
    return result;
}

constexpr const char* kDomain = "murmora";

namespace {
std::string& usersDecimalSeparator() {
    static std::string separator = ".";
    return separator;
}
} // namespace

const char* translated(const char* english) { return dgettext(kDomain, english); }

void readCataloguesFrom(const std::filesystem::path& folder) {
#ifdef _WIN32
    wbindtextdomain(kDomain, folder.c_str()); // a Windows name, whatever the ANSI code page holds
#else
    bindtextdomain(kDomain, folder.c_str());
#endif
    // What Qt and the Windows layer take the texts as, whatever the locale's character set.
    bind_textdomain_codeset(kDomain, "UTF-8");
}

// The global setlocale: on Windows, libintl's own stands in its place and keeps gettext informed.
void noteUsersDecimalSeparator() {
    const std::string processNumbers = ::setlocale(LC_NUMERIC, nullptr);
    if (::setlocale(LC_NUMERIC, "")) usersDecimalSeparator() = std::localeconv()->decimal_point;
    ::setlocale(LC_NUMERIC, processNumbers.c_str());
}

const std::string& decimalSeparator() { return usersDecimalSeparator(); }

std::string translated(const char* english, std::initializer_list<std::string_view> values) {
    return filled(translated(english), values);
}

} // namespace murmora
