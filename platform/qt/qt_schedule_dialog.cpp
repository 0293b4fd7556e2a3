#include "platform/qt/qt_schedule_dialog.h"
#include "platform/qt/qt_texts.h"

#include <tuple>

#include <QCloseEvent>

#include "core/twips.h"
#include "platform/qt/qt_panel_window.h"

namespace murmora::qt {

namespace {

// Converts a design rectangle in twips to pixels of this screen.
class TwipsLayout {
public:
    explicit TwipsLayout(const ScreenMetrics& screen) : screen_(screen) {}
    int across(int twips) const { return pixelsOfTwips(twips, screen_.dotsPerInchX()); }
    int down(int twips) const { return pixelsOfTwips(twips, screen_.dotsPerInchY()); }
    QRect rect(int left, int top, int width, int height) const {
        return {across(left), down(top), across(width), down(height)};
    }

private:
    const ScreenMetrics& screen_;
};

QGroupBox* frame(QWidget* parent, const QRect& geometry, const QString& caption) {
    auto* box = new QGroupBox(caption, parent);
    box->setGeometry(geometry);
    return box;
}

void heading(QWidget* parent, const QRect& geometry, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(geometry);
}

QtSpinner* spinner(QWidget* parent, const QRect& geometry, const Spinner& range) {
    return new QtSpinner(parent, geometry, range.minimum(), range.maximum());
}

} // namespace

QtScheduleDialog::QtScheduleDialog(QWidget* owner, const ScreenMetrics& screen, const QtScheduleWindow& held)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      startFrame(frame(this, TwipsLayout(screen).rect(120, 100, 2775, 1575), uiText("Set Recording Time"))),
      durationFrame(frame(this, TwipsLayout(screen).rect(3000, 100, 2055, 1575), uiText("Set Recording Duration"))),
      targetFrame(frame(this, TwipsLayout(screen).rect(120, 1790, 2775, 735), uiText("Save As"))),
      activateFrame(frame(this, TwipsLayout(screen).rect(3000, 1790, 2055, 735), uiText("AutoRecord"))),
      startHourBox(new QtTextBox(startFrame, TwipsLayout(screen).rect(120, 480, 495, 285))),
      startMinuteBox(new QtTextBox(startFrame, TwipsLayout(screen).rect(720, 480, 495, 285))),
      startSecondBox(new QtTextBox(startFrame, TwipsLayout(screen).rect(1320, 480, 495, 285))),
      dayHalfBox(new QtTextBox(startFrame, TwipsLayout(screen).rect(1920, 480, 495, 285))),
      durationHoursBox(new QtTextBox(durationFrame, TwipsLayout(screen).rect(120, 480, 495, 285))),
      durationMinutesBox(new QtTextBox(durationFrame, TwipsLayout(screen).rect(720, 480, 495, 285))),
      durationSecondsBox(new QtTextBox(durationFrame, TwipsLayout(screen).rect(1320, 480, 495, 285))),
      targetPathBox(new QtTextBox(targetFrame, TwipsLayout(screen).rect(880, 290, 1815, 285))),
      startHourSpinner(spinner(startFrame, TwipsLayout(screen).rect(240, 840, 255, 615), held.startHourSpinner)),
      startMinuteSpinner(spinner(startFrame, TwipsLayout(screen).rect(840, 840, 255, 615), held.startMinuteSpinner)),
      startSecondSpinner(spinner(startFrame, TwipsLayout(screen).rect(1440, 840, 255, 615), held.startSecondSpinner)),
      dayHalfSpinner(spinner(startFrame, TwipsLayout(screen).rect(2040, 840, 255, 615), held.dayHalfSpinner)),
      durationHoursSpinner(
          spinner(durationFrame, TwipsLayout(screen).rect(240, 840, 255, 615), held.durationHoursSpinner)),
      durationMinutesSpinner(
          spinner(durationFrame, TwipsLayout(screen).rect(840, 840, 255, 615), held.durationMinutesSpinner)),
      durationSecondsSpinner(
          spinner(durationFrame, TwipsLayout(screen).rect(1440, 840, 255, 615), held.durationSecondsSpinner)),
      chooseTargetButton(new QPushButton(uiText("File"), targetFrame)),
      activateCheckBox(
          new QtCheckBox(activateFrame, TwipsLayout(screen).rect(120, 290, 1335, 255), uiText("Activate"))) {
    const TwipsLayout layout(screen);
    setObjectName(QStringLiteral("scheduleWindow"));
    setDesignFont(this);
    setWindowTitle(uiText("Murmora - Record Panel"));
    setFixedSize(layout.across(5175), layout.down(2610));
    // TRANSLATORS: the headings above the schedule window's small boxes; keep them as short.
    heading(startFrame, layout.rect(240, 240, 255, 255), uiText("hr"));
    heading(startFrame, layout.rect(840, 240, 375, 255), uiText("min"));
    heading(startFrame, layout.rect(1440, 240, 375, 255), uiText("sec"));
    heading(startFrame, layout.rect(1920, 240, 615, 255), uiText("AM/PM"));
    heading(durationFrame, layout.rect(240, 240, 375, 255), uiText("hrs"));
    heading(durationFrame, layout.rect(840, 240, 495, 255), uiText("mins"));
    heading(durationFrame, layout.rect(1440, 240, 495, 255), uiText("secs"));
    chooseTargetButton->setGeometry(layout.rect(120, 260, 735, 350));
    chooseTargetButton->setAutoDefault(false);
    // Each box and its spinner carry the name of what they set. Tab goes to the boxes, which take
    // typing, and whose Up and Down step their spinners; screen readers read a spinner's value as
    // its box shows it.
    const std::tuple<QtTextBox*, QtSpinner*, QString> fields[] = {
        {startHourBox, startHourSpinner, uiText("Start hour")},
        {startMinuteBox, startMinuteSpinner, uiText("Start minute")},
        {startSecondBox, startSecondSpinner, uiText("Start second")},
        {dayHalfBox, dayHalfSpinner, uiText("Start AM/PM")},
        {durationHoursBox, durationHoursSpinner, uiText("Duration hours")},
        {durationMinutesBox, durationMinutesSpinner, uiText("Duration minutes")},
        {durationSecondsBox, durationSecondsSpinner, uiText("Duration seconds")},
    };
    QWidget* previous = nullptr;
    for (const auto& [box, spinner, name] : fields) {
        box->setAccessibleName(name);
        spinner->setAccessibleName(name);
        spinner->setValueBox(box);
        spinner->setFocusPolicy(Qt::NoFocus);
        if (previous) setTabOrder(previous, box);
        previous = box;
    }
    targetPathBox->setAccessibleName(uiText("Target file"));
    chooseTargetButton->setAccessibleDescription(uiText("Choose the file the scheduled recording is saved as"));
    setTabOrder(previous, chooseTargetButton);
    setTabOrder(chooseTargetButton, targetPathBox);
    setTabOrder(targetPathBox, activateCheckBox);
}

void QtScheduleDialog::reject() { close(); }

QtScheduleDialog& QtScheduleWindow::dialog() {
    if (dialog_) return *dialog_;
    dialog_ = std::make_unique<QtScheduleDialog>(owner_, screen_, *this);
    QtScheduleDialog& made = *dialog_;
    const std::tuple<HeldTextBox&, QtTextBox&> boxes[] = {
        {startHourBox, *made.startHourBox},
        {startMinuteBox, *made.startMinuteBox},
        {startSecondBox, *made.startSecondBox},
        {dayHalfBox, *made.dayHalfBox},
        {durationHoursBox, *made.durationHoursBox},
        {durationMinutesBox, *made.durationMinutesBox},
        {durationSecondsBox, *made.durationSecondsBox},
        {targetPathBox, *made.targetPathBox},
    };
    for (const auto& [heldBox, widget] : boxes)
        heldBox.handTo(widget);
    const std::tuple<HeldSpinner&, QtSpinner&> spinners[] = {
        {startHourSpinner, *made.startHourSpinner},
        {startMinuteSpinner, *made.startMinuteSpinner},
        {startSecondSpinner, *made.startSecondSpinner},
        {dayHalfSpinner, *made.dayHalfSpinner},
        {durationHoursSpinner, *made.durationHoursSpinner},
        {durationMinutesSpinner, *made.durationMinutesSpinner},
        {durationSecondsSpinner, *made.durationSecondsSpinner},
    };
    for (const auto& [heldSpinner, widget] : spinners)
        heldSpinner.handTo(widget);
    activateCheckBox.handTo(*made.activateCheckBox);
    QObject::connect(made.chooseTargetButton, &QPushButton::clicked, [this] {
        if (onChooseTargetClicked) onChooseTargetClicked();
    });
    made.onCloseRequested = [this] {
        if (onCloseRequested) onCloseRequested();
    };
    return made;
}

void QtScheduleDialog::closeEvent(QCloseEvent* event) {
    event->ignore();
    if (onCloseRequested) onCloseRequested();
}

} // namespace murmora::qt
