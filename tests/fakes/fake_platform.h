#pragma once
// Fakes of the machine for the rules' tests: a clock you move, an MCI service that records
// every command, scripted dialog answers, a message-box log and an in-memory file system.
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
#include "platform/event_pump.h"
#include "platform/files.h"
#include "platform/hotkeys.h"
#include "platform/mci_service.h"
#include "platform/process_launcher.h"
#include "platform/regions.h"
#include "platform/resources.h"
#include "platform/take_folder.h"
#include "platform/window_host.h"

namespace murmora::fakes {

class FakeClock : public Clock {
public:
    DateTime now = 0;
    // When set, the time text is this; otherwise the 24-hour text of `now`.
    std::optional<std::string> timeText;
    int reads = 0;

    DateTime Now() const override {
        ++const_cast<FakeClock*>(this)->reads;
        return now;
    }
    std::string TimeText() const override;
    void Advance(int seconds) { now += seconds; }
    // Sets the clock to a time of day on a fixed day.
    void SetTimeOfDay(int hours, int minutes, int seconds) {
        now = BaseDay + hours * 3600 + minutes * 60 + seconds;
    }
    static constexpr DateTime BaseDay = 20000LL * SecondsPerDay;
};

struct ShownMessage {
    std::string prompt;
    int style;
    std::string title;
};

class FakeMessageBox : public MessageBox {
public:
    std::vector<ShownMessage> shown;
    // Runs while a box is open, as the events a modal box lets through.
    std::function<void(const ShownMessage&)> whileOpen;

    void MsgBox(const std::string& prompt, int style, const std::string& title) override {
        shown.push_back({prompt, style, title});
        if (whileOpen) whileOpen(shown.back());
    }
    std::vector<std::string> Prompts() const {
        std::vector<std::string> out;
        for (const auto& m : shown) out.push_back(m.prompt);
        return out;
    }
};

// Records every command. Answers 0 and an empty reply unless `respond` says otherwise; a
// result code's words are those in `errorTexts`, else "error" and the code.
class FakeMci : public MciService {
public:
    std::vector<std::string> commands;
    std::function<int(const std::string& command, std::string& reply)> respond;
    std::map<int, std::string> errorTexts;

    int SendString(std::string_view command, char* reply, std::size_t replyLength) override;
    std::string GetErrorString(int code) override {
        return errorTexts.count(code) ? errorTexts[code] : "error " + std::to_string(code);
    }
    // Commands sent since the last call of this function, without the capture mode queries of
    // the take's ticks, which change nothing.
    std::vector<std::string> Take();
    static constexpr const char* CaptureModeQuery = "status capture mode";
    bool Sent(const std::string& command) const;

private:
    std::size_t taken_ = 0;
};

// Takes left behind, as the test puts them there.
class FakeTakeFolder : public TakeFolder {
public:
    std::vector<LeftoverTake> leftovers;
    std::vector<LeftoverTake> Leftovers() const override { return leftovers; }
};

class FakeFiles : public Files {
public:
    std::map<std::string, std::vector<unsigned char>> files;
    std::set<std::string> folders{"/", "/home/user", "/opt/murmora", "/tmp"};
    std::set<std::string> undeletable;
    std::string programFolder = "/opt/murmora";
    std::string homeFolder = "/home/user";
    std::string tempFolder = "/tmp";
    int uniqueCounter = 0;

    bool FileExists(const std::string& path) const override;
    bool FolderExists(const std::string& path) const override { return folders.count(path) > 0; }
    bool RemoveFile(const std::string& path) override;
    bool MoveFile(const std::string& from, const std::string& to) override;
    std::string ProgramFolder() const override { return programFolder; }
    std::string HomeFolder() const override { return homeFolder; }
    std::string TempFolder() const override { return tempFolder; }
    std::optional<std::string> CreateUniqueFile(const std::string& folder, const std::string& prefix) override;
    int WriteBinary(const std::string& path, const std::vector<unsigned char>& bytes) override;

    void Add(const std::string& path, std::string content = "RIFF") {
        files[path] = std::vector<unsigned char>(content.begin(), content.end());
    }
    std::vector<std::string> FilesIn(const std::string& folder, const std::string& prefix) const;
};

struct LaunchedProcess {
    std::string program;
    std::vector<std::string> arguments;
    std::string workingFolder;
};

class FakeLauncher : public ProcessLauncher {
public:
    std::vector<LaunchedProcess> started;
    bool StartDetached(const std::string& program, const std::vector<std::string>& arguments,
                       const std::string& workingFolder) override {
        started.push_back({program, arguments, workingFolder});
        return true;
    }
};

class FakeHotkeys : public Hotkeys {
public:
    std::set<int> takenByOthers;
    std::vector<int> registered;
    std::vector<int> unregistered;
    std::function<void(unsigned long)> filter;

    bool RegisterHotKey(int id, unsigned modifiers, unsigned virtualKey) override;
    void UnregisterHotKey(int id) override { unregistered.push_back(id); }
    void InstallFilter(std::function<void(unsigned long)> onHotkey) override { filter = std::move(onHotkey); }
    void Press(unsigned long id) {
        if (filter) filter(id);
    }
    std::vector<std::pair<unsigned, unsigned>> combinations;  // (modifiers, key) in order
};

// Custom pictures 101 to 112 and the four bitmaps are present; a file the fake file system
// holds loads as a picture unless its content is "not a picture".
class FakeResources : public Resources {
public:
    explicit FakeResources(FakeFiles& files) : files_(files) {
        for (int id = 101; id <= 112; ++id) custom[id] = {'G', 'I', 'F', static_cast<unsigned char>(id)};
    }
    std::map<int, std::vector<unsigned char>> custom;
    std::set<std::string> bitmaps{"MRSKIN", "RECORDBUTTONUP", "RECORDBUTTONDOWN", "RECORDBUTTONRECORDING"};

    std::optional<std::vector<unsigned char>> LoadResData(int id, std::string_view type) const override;
    Picture LoadResPicture(std::string_view name) const override;
    Picture LoadPicture(const std::string& path) const override;

private:
    FakeFiles& files_;
};

class FakeEventPump : public EventPump {
public:
    int calls = 0;
    std::vector<int> waits;
    std::function<void()> onEvents;
    void DoEvents(int maxWaitMs) override {
        ++calls;
        waits.push_back(maxWaitMs);
        if (onEvents) onEvents();
    }
};

class FakeWindowHost : public WindowHost {
public:
    std::string background;
    bool minimized = false;
    std::optional<Region> outline;  // a copy: the handle behind it is deleted at unload
    int outlineApplied = 0;
    bool form2Shown = false;
    int form2Opened = 0;
    bool form1Unloaded = false;
    bool form2Unloaded = false;
    bool ended = false;
    // Runs while the schedule window is shown modally: the user's work in it.
    std::function<void()> whileForm2Shown;

    void SetBackgroundPicture(const Picture& picture) override { background = picture.name; }
    void MinimizeMain() override { minimized = true; }
    void SetWindowRgn(const Region& region, bool) override {
        outline = region;
        ++outlineApplied;
    }
    void ShowForm2Modal() override {
        form2Shown = true;
        ++form2Opened;
        if (whileForm2Shown) whileForm2Shown();
    }
    void HideForm2() override { form2Shown = false; }
    void UnloadForm1() override { form1Unloaded = true; }
    void UnloadForm2() override { form2Unloaded = true; }
    void EndProgram() override { ended = true; }
};

} // namespace murmora::fakes
