#pragma once
// Fakes of the machine for the rules' tests: a clock you move, scripted dialog answers, a
// message-box log and an in-memory file system.
#include <deque>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "platform/dialogs.h"
#include "platform/files.h"
#include "platform/hotkeys.h"
#include "platform/process_launcher.h"
#include "platform/resources.h"
#include "platform/settings.h"
#include "platform/take_folder.h"
#include "platform/window_host.h"

namespace murmora::fakes {

class FakeClock : public Clock {
public:
    DateTime time = 0;
    std::chrono::milliseconds intoSecond{0}; // of `time`
    // When set, the time of day's text is this; otherwise the 24-hour text of `time`.
    std::optional<std::string> timeText;

    DateTime now() const override { return time; }
    std::string timeOfDayText() const override;
    std::chrono::milliseconds untilNextSecond() const override { return std::chrono::seconds(1) - intoSecond; }
    void advance(std::chrono::milliseconds by) {
        const auto total = intoSecond + by;
        time += total / std::chrono::seconds(1);
        intoSecond = total % std::chrono::seconds(1);
    }
    void advance(int seconds) { time += seconds; }
    // Sets the clock to a time of day on a fixed day.
    void setTimeOfDay(int hours, int minutes, int seconds) { time = kBaseDay + hours * 3600 + minutes * 60 + seconds; }
    static constexpr DateTime kBaseDay = 20000LL * kSecondsPerDay;
};

struct ShownMessage {
    std::string text;
    MessageStyle style;
    std::string title;
};

class FakeMessageBoxes : public MessageBoxes {
public:
    std::vector<ShownMessage> shown;
    // Runs while a box is open, as the events a modal box lets through.
    std::function<void(const ShownMessage&)> whileOpen;

    void show(const std::string& text, MessageStyle style, const std::string& title) override {
        shown.push_back({text, style, title});
        if (whileOpen) whileOpen(shown.back());
    }
    // The questions asked, and the answers they get in turn; none left answers cancel.
    std::vector<ShownMessage> asked;
    std::deque<SaveAnswer> saveAnswers;
    // Runs while a question is open.
    std::function<void()> whileAsked;
    SaveAnswer askToSave(const std::string& text, const std::string& title) override {
        asked.push_back({text, MessageStyle::exclamation, title});
        if (whileAsked) whileAsked();
        if (saveAnswers.empty()) return SaveAnswer::cancel;
        const SaveAnswer answer = saveAnswers.front();
        saveAnswers.pop_front();
        return answer;
    }
    std::vector<std::string> texts() const {
        std::vector<std::string> out;
        for (const auto& m : shown)
            out.push_back(m.text);
        return out;
    }
};

class FakeFiles : public Files {
public:
    std::map<std::string, std::vector<unsigned char>> files;
    std::set<std::string> folders{"/", "/home/user", "/opt/murmora", "/tmp"};
    std::set<std::string> undeletable;
    std::string program = "/opt/murmora";
    std::string library = "/opt/murmora/lib";
    std::string home = "/home/user";
    std::string temp = "/tmp";
    int uniqueCounter = 0;

    bool fileExists(const std::string& path) const override;
    bool folderExists(const std::string& path) const override { return folders.count(path) > 0; }
    std::error_code removeFile(const std::string& path) override;
    std::string programFolder() const override { return program; }
    std::string libraryFolder() const override { return library; }
    std::string homeFolder() const override { return home; }
    std::string tempFolder() const override { return temp; }
    // The names the system would rewrite, and what it makes of them; any other stays as it is.
    std::map<std::string, std::string> rewrittenNames;
    std::string nameAsCreated(const std::string& path) const override {
        const auto rewritten = rewrittenNames.find(path);
        return rewritten == rewrittenNames.end() ? path : rewritten->second;
    }
    Result<std::string> createUniqueFile(const std::string& folder, const std::string& prefix) override;
    std::error_code writeFile(const std::string& path, const std::vector<unsigned char>& bytes) override;

    void add(const std::string& path, std::string content = "RIFF") {
        files[path] = std::vector<unsigned char>(content.begin(), content.end());
    }
    std::vector<std::string> filesIn(const std::string& folder, const std::string& prefix) const;
};

// Takes left behind, as the test puts them there; recovered among the files.
class FakeTakeFolder : public TakeFolder {
public:
    explicit FakeTakeFolder(FakeFiles& files) : files_(files) {}
    std::vector<LeftoverTake> left;
    std::vector<LeftoverTake> leftovers() const override { return left; }
    std::error_code recover(const LeftoverTake& take, const std::string& target) override;

private:
    FakeFiles& files_;
};

struct LaunchedProcess {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingFolder;
};

// Starts nothing; notes what it was asked to start, and fails with `failure` when it is set.
class FakeLauncher : public ProcessLauncher {
public:
    std::vector<LaunchedProcess> started;
    std::error_code failure;
    std::error_code startDetached(const std::string& program, const std::vector<std::string>& arguments,
                                  const std::string& workingFolder) override {
        if (!failure) started.push_back({program, arguments, workingFolder});
        return failure;
    }
};

class FakeHotkeys : public Hotkeys {
public:
    std::set<int> takenByOthers;
    std::vector<int> unregistered;
    std::function<void(int)> handler;
    std::function<void(std::vector<int>)> refusalHandler;
    std::function<void()> changeHandler;
    std::map<int, std::string> keys; // as the desktop tells them, by id
    bool globalHotkeys = true;

    std::error_code registerHotkey(const Hotkey& hotkey) override;
    void unregisterHotkey(int id) override { unregistered.push_back(id); }
    void setHotkeyHandler(std::function<void(int)> onHotkey) override { handler = std::move(onHotkey); }
    void setRefusalHandler(std::function<void(std::vector<int>)> onRefused) override {
        refusalHandler = std::move(onRefused);
    }
    std::string keysOf(const Hotkey& hotkey) const override {
        return keys.contains(hotkey.id) ? keys.at(hotkey.id) : hotkey.keys;
    }
    bool global() const override { return globalHotkeys; }
    std::string settingsPlace;
    std::string keysSettingsPlace() const override { return settingsPlace; }
    void setChangeHandler(std::function<void()> onChanged) override { changeHandler = std::move(onChanged); }
    void press(int id) {
        if (handler) handler(id);
    }
    std::vector<Hotkey> registered; // in order
};

// Custom pictures 101 to 112 and the four bitmaps are present; a file the fake file system
// holds loads as a picture unless its content is "not a picture".
class FakeResources : public Resources {
public:
    explicit FakeResources(FakeFiles& files) : files_(files) {
        for (int id = 101; id <= 112; ++id)
            custom[id] = {'G', 'I', 'F', static_cast<unsigned char>(id)};
    }
    std::map<int, std::vector<unsigned char>> custom;
    std::set<std::string> bitmaps{"MRSKIN", "RECORDBUTTONUP", "RECORDBUTTONDOWN", "RECORDBUTTONRECORDING"};

    Result<std::vector<unsigned char>> data(int id, std::string_view type) const override;
    Result<Picture> bitmap(std::string_view name) const override;
    Result<Picture> pictureFromFile(const std::string& path) const override;

private:
    FakeFiles& files_;
};

// What the progress window shows, while it shows.
class FakeProgressWindow : public ProgressWindow {
public:
    std::optional<std::string> text;
    std::optional<int> percent;
    std::function<void()> onCancel;
    void show(const std::string& shown) override { text = shown; }
    void setPercent(int done) override { percent = done; }
    void offerCancel(std::function<void()> handler) override { onCancel = std::move(handler); }
    void hide() override {
        text.reset();
        percent.reset();
        onCancel = nullptr;
    }
    // The user presses Cancel, which must be offered.
    void cancel() { onCancel(); }
};

// Settings kept in memory; a save fails with `saveFailure` when it is set.
class FakeSettingsStore : public SettingsStore {
public:
    Settings kept;
    std::error_code saveFailure;
    int saves = 0;
    Settings load() override { return kept; }
    std::error_code save(const Settings& settings) override {
        ++saves;
        if (saveFailure) return saveFailure;
        kept = settings;
        return {};
    }
};

class FakeWindowHost : public WindowHost {
public:
    std::string background;
    bool minimized = false;
    Outline outline;
    int outlineApplied = 0;
    bool scheduleWindowShown = false;
    bool scheduleWindowUnloaded = false;
    bool ended = false;
    // Runs while the schedule window is shown modally: the user's work in it.
    std::function<void()> whileScheduleWindowShown;

    void setPanelBackground(const Picture& picture) override { background = picture.name; }
    void minimizePanel() override { minimized = true; }
    void setPanelOutline(const Outline& shapes) override {
        outline = shapes;
        ++outlineApplied;
    }
    void showScheduleWindow() override {
        scheduleWindowShown = true;
        if (whileScheduleWindowShown) whileScheduleWindowShown();
    }
    void hideScheduleWindow() override { scheduleWindowShown = false; }
    void unloadScheduleWindow() override { scheduleWindowUnloaded = true; }
    void endProgram() override { ended = true; }
};

} // namespace murmora::fakes
