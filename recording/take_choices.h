#pragma once
#include <optional>
#include <string>
#include <vector>

#include "platform/choice_menu.h"
#include "platform/dialogs.h"
#include "platform/settings.h"
#include "platform/take_engine.h"

namespace murmora {

// An input as a take records from it: the engine's name, and how the user knows it.
struct ChosenInput {
    std::string name;         // empty: the default input
    std::string description;  // empty while it is not known
    bool outputSound = false; // what an output plays
    bool operator==(const ChosenInput&) const = default;
};

struct TakeChoicesServices {
    TakeEngine& engine;
    SettingsStore& settings;
    MessageBoxes& messages;
};

// What the panel's menu offers to do to the take running, below the choices.
class TakeCommands {
public:
    // The entry's text; nothing when there is nothing to do.
    virtual std::optional<std::string> takeCommand() const = 0;
    virtual void runTakeCommand() = 0;

protected:
    ~TakeCommands() = default;
};

// The input takes record from and the format they are saved in, as the user chooses them in the
// panel's menu, kept from one run to the next and named in the panel's tooltip. A choice applies
// from the next take. Inputs are asked of the engine each time the menu opens, so that one
// plugged in meanwhile is offered.
class TakeChoices {
public:
    TakeChoices(TakeChoicesServices services, ChoiceMenu& menu);

    // Start-up: the choices kept, named in the tooltip.
    void load();
    // Asks the engine which inputs there are now, and names the chosen one in the tooltip by
    // what it learns (the default input by its description).
    void lookAtInputs();

    // What the next take records from.
    ChosenInput input() const;
    // The default input, as far as it is known.
    ChosenInput defaultInput() const;
    // The format chosen, when the engine writes it; else WAV.
    SaveFormat format() const;
    // The format of a save to `path`: the one the name's ending says (".wav", ".flac", ".opus" or
    // ".ogg", ".mp3", in any case) when the engine writes it, else `chosen`.
    SaveFormat formatOfSave(const std::string& path, SaveFormat chosen) const;
    // A line the tooltip ends with, naming the hotkeys ("Hotkeys: Ctrl+Alt+R to record, ...");
    // empty for none.
    void setHotkeysLine(std::string line);
    // The menu offers the command for the take running from now on.
    void setTakeCommands(TakeCommands& commands) { commands_ = &commands; }

private:
    // An entry of the menu's input part, and what choosing it chooses.
    struct InputEntry {
        std::string text;
        ChosenInput input;
        bool chosen = false; // the one chosen now
    };

    void onMenuOpened();
    std::vector<InputEntry> inputEntries() const;
    // Makes `chosen` the choices, and keeps them for the next run.
    void keep(const Settings& chosen);
    void showToolTip();
    // The listed input named `name`, if the engine listed it.
    const SoundInput* listed(const std::string& name) const;
    const SoundInput* listedDefault() const;
    // How the menu and the messages name a listed input.
    std::string labelOf(const SoundInput& input) const;
    bool offers(SaveFormat format) const;

    TakeChoicesServices services_;
    ChoiceMenu& menu_;
    Settings chosen_;
    // The inputs as the engine listed them last; empty before, or when it could not tell.
    std::vector<SoundInput> inputs_;
    std::string hotkeysLine_;
    TakeCommands* commands_ = nullptr;
    bool toldNotKept_ = false;
};

// How the menu, the tooltip and the save dialog name a format: "WAV", "FLAC", "Opus", "MP3".
std::string formatName(SaveFormat format);
// The save dialog's filter for a format; WAV's is that of every other file dialog.
FileFilter saveFilterOf(SaveFormat format);

} // namespace murmora
