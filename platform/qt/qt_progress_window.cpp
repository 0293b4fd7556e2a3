#include "platform/qt/qt_progress_window.h"
#include "platform/qt/qt_texts.h"

#include <QCloseEvent>
#include <QProgressDialog>
#include <QPushButton>

#include "core/texts.h"
#include "platform/qt/qt_dialogs.h"

namespace murmora::qt {

namespace {

constexpr int kLongestTextPixels = 560;

class UnclosableProgressDialog final : public QProgressDialog {
public:
    UnclosableProgressDialog()
        : QProgressDialog(dialogParent(), Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
        setWindowTitle(QString::fromUtf8(kAppTitle));
        setCancelButton(nullptr);
        setRange(0, 0);
        setAutoReset(false); // at 100 % it stays until hidden
        setAutoClose(false);
        setWindowModality(Qt::ApplicationModal);
        setMinimumDuration(0);
        // Cancel asks; the window stays until the program has given the work up.
        disconnect(this, SIGNAL(canceled()), this, SLOT(cancel())); // made so by QProgressDialog
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

void QtProgressWindow::setPercent(int percent) {
    if (!dialog_) return;
    dialog_->setRange(0, 100);
    dialog_->setValue(percent);
}

void QtProgressWindow::offerCancel(std::function<void()> onCancel) {
    if (!dialog_) return;
    auto* button = new QPushButton(uiText("Cancel"));
    dialog_->setCancelButton(button); // the dialog owns it
    QObject::connect(button, &QPushButton::clicked, dialog_.get(), [button, onCancel = std::move(onCancel)] {
        button->setEnabled(false);
        onCancel();
    });
}

void QtProgressWindow::hide() { dialog_.reset(); }

} // namespace murmora::qt
