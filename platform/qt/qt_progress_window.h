#pragma once
#include <memory>

#include "platform/dialogs.h"

class QProgressDialog;

namespace murmora {

// An application-modal window with a busy bar and a line of text, which neither the user nor
// Escape closes: the program hides it once its work is done.
class QtProgressWindow final : public ProgressWindow {
public:
    QtProgressWindow();
    ~QtProgressWindow() override;
    void show(const std::string& text) override;
    void hide() override;

private:
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace murmora
