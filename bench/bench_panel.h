#pragma once
#include <memory>

#include "app/qt_panel.h"
#include "platform/hotkeys.h"
#include "platform/mci/make_mci_service.h"

namespace murmora {

// Both hotkeys granted, for the panel on the offscreen platform in the benchmarks: there are no
// keys to grab there, and a start-up warning box would wait for an answer.
class GrantedHotkeys final : public Hotkeys {
public:
    std::error_code registerHotkey(int, unsigned, unsigned) override { return {}; }
    void unregisterHotkey(int) override {}
    void setHotkeyHandler(std::function<void(int)>) override {}
};

// The program's own panel on the machine's real services, as the program makes it, with the
// hotkeys granted. Needs the QApplication first.
struct BenchPanel {
    std::unique_ptr<MciService> mci = makeMciService();
    std::unique_ptr<TakeFolder> takes = makeTakeFolder();
    GrantedHotkeys hotkeys;
    QtPanel panel{*mci, *takes, hotkeys};
};

} // namespace murmora
