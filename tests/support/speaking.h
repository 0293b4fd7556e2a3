#pragma once
// Tests that run once in English and once in each language the build has a catalogue of.
#include <gtest/gtest.h>

#include <clocale>
#include <cstdlib>
#include <filesystem>
#include <sstream>
#include <string>
#include <vector>

#include "core/texts.h"

namespace murmora::testing {

// "en" and then the build's languages, given to the test as MURMORA_LANGUAGES ("de,fr,...").
inline std::vector<std::string> languagesAndEnglish() {
    std::vector<std::string> languages{"en"};
    std::istringstream list(MURMORA_LANGUAGES);
    for (std::string language; std::getline(list, language, ',');)
        languages.push_back(language);
    return languages;
}

// Speaks the test's language from before the windows are made, which words their texts as they
// are built.
class Speaking : public ::testing::WithParamInterface<std::string> {
protected:
    explicit Speaking(const std::filesystem::path& catalogues) {
        readCataloguesFrom(catalogues);
        speak(GetParam().c_str());
    }
    ~Speaking() { speak(nullptr); }

private:
    static void speak(const char* language) {
#ifdef _WIN32
        _putenv_s("LANGUAGE", language ? language : "");
#else
        // glibc's gettext reads LANGUAGE only where the messages' locale is not "C".
        language ? ::setenv("LANGUAGE", language, 1) : ::unsetenv("LANGUAGE");
        std::setlocale(LC_MESSAGES, language ? "C.UTF-8" : "C");
#endif
    }
};

} // namespace murmora::testing
