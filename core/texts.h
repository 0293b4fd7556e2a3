#pragma once
#include <filesystem>
#include <initializer_list>
#include <string>
#include <string_view>

namespace murmora {

// The program's texts are written in English, which is also each text's key in the catalogue of
// the user's language (po/). A text is marked where it is written, for xgettext: with
// translated() where it is shown at once, with textKey() where it is kept for later and
// translated when shown. A value goes into a text at "%s" ("%1$s", "%2$s" where a language
// puts them in another order), never by joining pieces, so that a translator sees whole sentences.

// Marks a text kept for later; translated(textKey("...")) shows it.
constexpr const char* textKey(const char* english) { return english; }

// The text in the user's language, or the English one where the catalogue has none.
const char* translated(const char* english);

// The text in the user's language with the values put in its "%s" in order, and in its "%N$s"
// by number; "%%" is a "%".
std::string translated(const char* english, std::initializer_list<std::string_view> values);

// `text` with the values put in as translated() does, for a text translated already.
std::string filled(std::string_view text, std::initializer_list<std::string_view> values);

// Reads the catalogues from `folder` (LANGUAGE/LC_MESSAGES/murmora.mo) in the language of the
// process's LC_MESSAGES locale and LANGUAGE; without a call the texts stay English.
void readCataloguesFrom(const std::filesystem::path& folder);

// Notes the decimal separator of the user's locale, for the numbers the user reads ("1,5" in
// German), while the process reads and writes its own numbers the C way. Called once at start,
// before other threads run; until then the separator is ".".
void noteUsersDecimalSeparator();
const std::string& decimalSeparator();

// The title of the program's windows and message boxes.
inline constexpr const char* kAppTitle = "Murmora";
// What the file dialogs call WAV files in their list of types.
inline constexpr const char* kWavFileDescription = textKey("Wav File (*.Wav)");
// What the user is told when the sound server does not answer in time.
inline constexpr const char* kServerDoesNotAnswer = textKey("The sound server does not answer");

} // namespace murmora
