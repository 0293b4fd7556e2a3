#include "recording/take_choices.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

#include "core/texts.h"

namespace murmora {

namespace {

const char* const kInputHeading = textKey("Input");
const char* const kFormatHeading = textKey("Save as");
const char* const kDefaultMark = textKey("%s (default)");
const char* const kNotThereMark = textKey("%s (not there)");
const char* const kOutputSound = textKey("What the computer plays");
// The one entry of an engine that cannot tell its inputs.
const char* const kDefaultInput = textKey("Default input");

struct FormatNaming {
    SaveFormat format;
    const char* name;
    const char* filterDescription; // null for WAV, whose filter is every dialog's kWavFiles
    std::array<const char*, 2> endings;
};

constexpr std::array<FormatNaming, 4> kFormats{{
    {SaveFormat::wav, "WAV", nullptr, {".wav", nullptr}},
    {SaveFormat::flac, "FLAC", textKey("FLAC File (*.flac)"), {".flac", nullptr}},
    {SaveFormat::opus, "Opus", textKey("Opus File (*.opus;*.ogg)"), {".opus", ".ogg"}},
    {SaveFormat::mp3, "MP3", textKey("MP3 File (*.mp3)"), {".mp3", nullptr}},
}};

const FormatNaming& namingOf(SaveFormat format) {
    return *std::find_if(kFormats.begin(), kFormats.end(),
                         [format](const FormatNaming& naming) { return naming.format == format; });
}

bool endsWithAnyCase(const std::string& text, const std::string& ending) {
    return text.size() >= ending.size() &&
           std::equal(ending.rbegin(), ending.rend(), text.rbegin(), [](char a, char b) {
               return std::tolower(static_cast<unsigned char>(a)) == std::tolower(static_cast<unsigned char>(b));
           });
}

std::string notKept(const std::error_code& error) {
    return translated("Murmora could not keep this choice for its next start (%s). It holds until Murmora closes.",
                      {error.message()});
}

} // namespace

std::string formatName(SaveFormat format) { return namingOf(format).name; }
FileFilter saveFilterOf(SaveFormat format) {
    const FormatNaming& naming = namingOf(format);
    if (!naming.filterDescription) return kWavFiles;
    FileFilter filter{naming.filterDescription, {}};
    for (const char* ending : naming.endings)
        if (ending) filter.patterns.push_back(std::string("*") + ending);
    return filter;
}

TakeChoices::TakeChoices(TakeChoicesServices services, ChoiceMenu& menu) : services_(services), menu_(menu) {
    menu_.setOpenHandler([this] { onMenuOpened(); });
}

void TakeChoices::load() {
    chosen_ = services_.settings.load();
    showToolTip();
}

void TakeChoices::lookAtInputs() {
    auto listing = services_.engine.listInputs();
    // An engine that does not answer now knows no fewer inputs than it did.
    if (listing) inputs_ = std::move(*listing);
    showToolTip();
}

const SoundInput* TakeChoices::listed(const std::string& name) const {
    const auto found =
        std::find_if(inputs_.begin(), inputs_.end(), [&name](const SoundInput& input) { return input.name == name; });
    return found == inputs_.end() ? nullptr : &*found;
}

const SoundInput* TakeChoices::listedDefault() const {
    const auto found =
        std::find_if(inputs_.begin(), inputs_.end(), [](const SoundInput& input) { return input.isDefault; });
    return found == inputs_.end() ? nullptr : &*found;
}

std::string TakeChoices::labelOf(const SoundInput& input) const {
    if (!input.outputSound) return input.description;
    const auto outputs =
        std::count_if(inputs_.begin(), inputs_.end(), [](const SoundInput& i) { return i.outputSound; });
    // With one output there is nothing to tell apart.
    return outputs > 1 ? translated("%s (%s)", {translated(kOutputSound), input.description})
                       : translated(kOutputSound);
}

ChosenInput TakeChoices::defaultInput() const {
    const SoundInput* input = listedDefault();
    if (!input) return {};
    return {"", labelOf(*input), input->outputSound};
}

ChosenInput TakeChoices::input() const {
    if (chosen_.inputName.empty()) return defaultInput();
    if (const SoundInput* input = listed(chosen_.inputName)) return {input->name, labelOf(*input), input->outputSound};
    return {chosen_.inputName, chosen_.inputDescription, false};
}

bool TakeChoices::offers(SaveFormat format) const {
    const std::vector<SaveFormat> offered = services_.engine.saveFormats();
    return std::find(offered.begin(), offered.end(), format) != offered.end();
}

SaveFormat TakeChoices::format() const { return offers(chosen_.format) ? chosen_.format : SaveFormat::wav; }

SaveFormat TakeChoices::formatOfSave(const std::string& path, SaveFormat chosen) const {
    for (const FormatNaming& naming : kFormats)
        for (const char* ending : naming.endings)
            if (ending && endsWithAnyCase(path, ending) && offers(naming.format)) return naming.format;
    return chosen;
}

std::vector<TakeChoices::InputEntry> TakeChoices::inputEntries() const {
    const std::string& chosenName = chosen_.inputName;
    std::vector<InputEntry> entries;
    if (inputs_.empty()) entries.push_back({translated(kDefaultInput), {}, chosenName.empty()});
    for (const SoundInput& input : inputs_) {
        const std::string label = labelOf(input);
        const bool chosen = chosenName.empty() ? input.isDefault : input.name == chosenName;
        entries.push_back({input.isDefault ? translated(kDefaultMark, {label}) : label,
                           {input.name, label, input.outputSound},
                           chosen});
    }
    // A chosen input that is not there stays chosen, and shows so.
    if (!chosenName.empty() && !listed(chosenName)) {
        const std::string label = chosen_.inputDescription.empty() ? chosenName : chosen_.inputDescription;
        entries.push_back({inputs_.empty() ? label : translated(kNotThereMark, {label}), input(), true});
    }
    return entries;
}

void TakeChoices::onMenuOpened() {
    lookAtInputs();
    const std::vector<InputEntry> inputs = inputEntries();
    MenuPart inputPart{translated(kInputHeading), {}, {}};
    for (const InputEntry& entry : inputs) {
        if (entry.chosen && !inputPart.checked) inputPart.checked = inputPart.entries.size();
        inputPart.entries.push_back(entry.text);
    }
    const std::vector<SaveFormat> formats = services_.engine.saveFormats();
    MenuPart formatPart{translated(kFormatHeading), {}, {}};
    for (const SaveFormat offered : formats) {
        if (offered == format()) formatPart.checked = formatPart.entries.size();
        formatPart.entries.push_back(formatName(offered));
    }
    std::vector<MenuPart> parts{inputPart, formatPart};
    const std::optional<std::string> command = commands_ ? commands_->takeCommand() : std::nullopt;
    if (command) parts.push_back({"", {*command}, {}});
    const std::optional<MenuChoice> choice = menu_.show(parts);
    if (!choice) return;
    if (choice->part == 2) return commands_->runTakeCommand();
    Settings chosen = chosen_;
    if (choice->part == 0 && choice->entry < inputs.size()) {
        const ChosenInput& input = inputs[choice->entry].input;
        chosen.inputName = input.name;
        chosen.inputDescription = input.name.empty() ? std::string() : input.description;
    }
    if (choice->part == 1 && choice->entry < formats.size()) chosen.format = formats[choice->entry];
    keep(chosen);
}

void TakeChoices::keep(const Settings& chosen) {
    if (chosen == chosen_) return;
    chosen_ = chosen;
    showToolTip();
    const std::error_code error = services_.settings.save(chosen_);
    // Told once a run: the choices hold for the run all the same.
    if (!error || std::exchange(toldNotKept_, true)) return;
    services_.messages.show(notKept(error), MessageStyle::exclamation, kAppTitle);
}

void TakeChoices::showToolTip() {
    const ChosenInput chosen = input();
    std::string named = chosen.description.empty() ? chosen.name : chosen.description;
    if (chosen.name.empty())
        named = chosen.description.empty() ? translated("the default input")
                                           : translated(kDefaultMark, {chosen.description});
    const std::string choices = translated("Input: %s\nSave as: %s", {named, formatName(format())});
    menu_.setToolTip(hotkeysLine_.empty() ? choices : choices + "\n" + hotkeysLine_);
}

void TakeChoices::setHotkeysLine(std::string line) {
    if (line == hotkeysLine_) return;
    hotkeysLine_ = std::move(line);
    showToolTip();
}

} // namespace murmora
