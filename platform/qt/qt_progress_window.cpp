#include "platform/qt/qt_progress_window.h"

#include <QCloseEvent>
#include <QProgressDialog>

#include "core/texts.h"
#include "platform/qt/qt_dialogs.h"

namespace murmora {

namespace {

constexpr int kLongestTextPixels = 560;

class UnclosableProgressDialog final : public QProgressDialog {
public:
    UnclosableProgressDialog()
        : QProgressDialog(dialogParent(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setWindowTitle(QString::fromUtf8(kAppTitle));
        setCancelButton(nullptr);
        setRange(0, 0);
        setWindowModality(Qt::ApplicationModal);
        setMinimumDuration(0);
    }
    void reject() override {}

protected:
    void closeEvent(QCloseEvent* event) override { event->ignore(); }
};

} // namespace

QtProgressWindow::QtProgressWindow() = default;
QtProgressWindow::~QtProgressWindow() = default;

void QtProgressWindow::show(const std::string& text) {
    dialog_ = std::make_unique<UnclosableProgressDialog>();
    // A long path is shortened in its middle, where it says least.
    dialog_->setLabelText(
        dialog_->fontMetrics().elidedText(QString::fromStdString(text), Qt::ElideMiddle, kLongestTextPixels));
    dialog_->show();
}

void QtProgressWindow::hide() { dialog_.reset(); }

} // namespace murmora
