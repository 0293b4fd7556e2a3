#include "core/texts.h"

#include <clocale>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace murmora {
namespace {

struct Filling {
    const char* text;
    std::vector<std::string> values;
    const char* filled;
};

class FilledText : public testing::TestWithParam<Filling> {};

TEST_P(FilledText, PutsTheValuesWhereTheTextSays) {
    const Filling& c = GetParam();
    const std::vector<std::string_view> values(c.values.begin(), c.values.end());
    std::string result;
    switch (values.size()) { // initializer lists are fixed at compile time
    case 0:
        result = filled(c.text, {});
        break;
    case 1:
        result = filled(c.text, {values[0]});
        break;
    default:
        result = filled(c.text, {values[0], values[1]});
    }
    EXPECT_EQ(result, c.filled);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FilledText,
    testing::Values(Filling{"Recording saved as  %s", {"/tmp/a.wav"}, "Recording saved as  /tmp/a.wav"},
                    Filling{"%s and %s", {"A", "B"}, "A and B"}, Filling{"%2$s, then %1$s", {"A", "B"}, "B, then A"},
                    // A value is put in as it stands, whatever it holds.
                    Filling{"%s sec", {"%s%1$s%%"}, "%s%1$s%% sec"}, Filling{"100%% of %s", {"it"}, "100% of it"},
                    // What names no value is shown as it stands, never read past.
                    Filling{"%s and %s", {"A"}, "A and %s"}, Filling{"%3$s %0$s %d %", {"A", "B"}, "%3$s %0$s %d %"},
                    Filling{"no values", {}, "no values"}));

std::vector<std::string> builtLanguages() {
    std::vector<std::string> languages;
    std::istringstream list(MURMORA_LANGUAGES);
    for (std::string language; std::getline(list, language, ',');)
        languages.push_back(language);
    return languages;
}

// The catalogues as the program reads them: in the language LANGUAGE names, over a locale that is
// not "C" (where gettext never translates), with the same output character set.
class Catalogues : public testing::Test {
protected:
    static void SetUpTestSuite() {
        ASSERT_NE(std::setlocale(LC_MESSAGES, "C.UTF-8"), nullptr);
        readCataloguesFrom(MURMORA_CATALOGUES);
    }
    static void speak(const std::string& language) {
        ::setenv("LANGUAGE", language.c_str(), 1);
        std::setlocale(LC_MESSAGES, "C.UTF-8"); // tells gettext that the language may have changed
    }
    void TearDown() override { ::unsetenv("LANGUAGE"); }
};

TEST_F(Catalogues, EachLanguageBuiltWordsTheTextsInItsOwnWords) {
    ASSERT_FALSE(builtLanguages().empty());
    for (const std::string& language : builtLanguages()) {
        speak(language);
        EXPECT_STRNE(translated("Save Recorded File"), "Save Recorded File") << language;
        // A value goes where the language puts it.
        EXPECT_NE(translated("Recording saved as  %s", {"/tmp/a.wav"}).find("/tmp/a.wav"), std::string::npos)
            << language;
    }
}

TEST_F(Catalogues, ALanguageWithNoCatalogueGetsTheEnglishTexts) {
    speak("tlh");
    EXPECT_STREQ(translated("Save Recorded File"), "Save Recorded File");
    EXPECT_EQ(translated("Recording saved as  %s", {"/tmp/a.wav"}), "Recording saved as  /tmp/a.wav");
}

TEST_F(Catalogues, ATextNotInTheCatalogueStaysAsItIs) {
    speak(builtLanguages().front());
    EXPECT_STREQ(translated("No text of the program says this"), "No text of the program says this");
}

} // namespace
} // namespace murmora
