#pragma once
#include <memory>

#include "platform/dialogs.h"

class QProgressDialog;

namespace murmora::qt {

// An application-modal window with a line of text and a busy bar, or the percentage done once it
// is told, which neither the user nor Escape closes: the program hides it once its work is done.
// Its Cancel button, when offered, asks the program to give up the work, and is then disabled.
class QtProgressWindow final : public ProgressWindow {
public:
    QtProgressWindow();
    ~QtProgressWindow() override;
    void show(const std::string& text) override;
    void setPercent(int percent) override;
    void offerCancel(std::function<void()> onCancel) override;
    void hide() override;

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace murmora::qt
