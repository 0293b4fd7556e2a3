// The settings file's text: what each kind of file gives.
#include "settings/settings_text.h"

#include <gtest/gtest.h>

namespace murmora {
namespace {

struct TextCase {
    const char* name;
    std::string text;
    Settings expected;
    bool complains;
};

class SettingsFromText : public ::testing::TestWithParam<TextCase> {};

TEST_P(SettingsFromText, GivesTheSettingsOrTheDefaultsWithAComplaint) {
    const ReadSettings read = settingsFromText(GetParam().text);
    EXPECT_EQ(read.settings, GetParam().expected);
    EXPECT_EQ(!read.complaint.empty(), GetParam().complains) << read.complaint;
}

const Settings kDefaults;
const Settings kChosen{"alsa_input.usb-Mic-00.analog-stereo", SaveFormat::flac, ""};

INSTANTIATE_TEST_SUITE_P(
    Files, SettingsFromText,
    ::testing::Values(
        TextCase{"Empty", "", kDefaults, false},
        TextCase{"OnlyBlanksAndComments", "\n  \n# a note\n\t\n", kDefaults, false},
        TextCase{"BothSettings", "input=alsa_input.usb-Mic-00.analog-stereo\nformat=flac\n", kChosen, false},
        TextCase{"BlanksAroundKeysAndValuesAndWindowsLineEnds",
                 "  input = alsa_input.usb-Mic-00.analog-stereo \r\n\tformat=flac\r\n", kChosen, false},
        TextCase{"NoClosingLineBreak", "format=opus", {"", SaveFormat::opus, ""}, false},
        TextCase{"AnEmptyInputIsTheDefaultInput", "input=\nformat=mp3\n", {"", SaveFormat::mp3, ""}, false},
        TextCase{"AValueHoldingEquals", "input=a=b\n", {"a=b", SaveFormat::wav, ""}, false},
        TextCase{"UnknownKeysArePassedOver", "volume=11\ninput=mic\ncolour=red\n", {"mic", SaveFormat::wav, ""}, false},
        TextCase{"TheInputsDescription",
                 "input=usb\ninput_description= USB Mic (front) \n",
                 {"usb", SaveFormat::wav, "USB Mic (front)"},
                 false},
        TextCase{"TheLastOfTwoWins", "format=flac\nformat=wav\n", kDefaults, false},
        TextCase{"AnUnknownFormat", "input=mic\nformat=aac\n", kDefaults, true},
        TextCase{"AFormatInCapitals", "format=FLAC\n", kDefaults, true},
        TextCase{"ALineThatIsNoSetting", "input=mic\njust words\n", kDefaults, true},
        TextCase{"Garbage", std::string("\x89PNG\r\n\x1a\n\0\0\0\rIHDR", 16), kDefaults, true},
        TextCase{"ANulInAValue", std::string("input=mi\0c\n", 11), kDefaults, true},
        TextCase{"LargerThanASettingsFile", "# " + std::string(kLargestSettingsText, 'x') + "\n", kDefaults, true}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SettingsText, EverySettingReadsBackAsItWasWritten) {
    for (const SaveFormat format : {SaveFormat::wav, SaveFormat::flac, SaveFormat::opus, SaveFormat::mp3})
        for (const char* input : {"", "alsa_input.pci-0000_00_1f.3.analog-stereo", "nullsink.monitor", "a b\tc"}) {
            const Settings settings{input, format, "Built-in Audio Analog Stereo"};
            const auto text = settingsText(settings);
            ASSERT_TRUE(text) << input;
            const ReadSettings read = settingsFromText(*text);
            EXPECT_EQ(read.settings, settings) << *text;
            EXPECT_EQ(read.complaint, "");
        }
}

TEST(SettingsText, AnInputNameThatCannotStandOnALineOfItsOwnIsNotWritten) {
    for (const char* input : {"mic\nformat=mp3", "mic\r", " mic", "mic "})
        EXPECT_FALSE(settingsText({input, SaveFormat::wav, ""})) << input;
}

TEST(SettingsText, TheInputsDescriptionIsWrittenAsOneLine) {
    const auto text = settingsText({"usb", SaveFormat::wav, "  USB\nMic\r "});
    ASSERT_TRUE(text);
    EXPECT_EQ(settingsFromText(*text).settings, (Settings{"usb", SaveFormat::wav, "USB Mic"}));
}

} // namespace
} // namespace murmora
