#include "platform/qt/qt_schedule_dialog.h"
#include "platform/qt/qt_texts.h"

#include <array>
#include <tuple>

#include <QCloseEvent>

#include "core/twips.h"
#include "platform/qt/qt_panel_window.h"
#include "platform/schedule_layout.h"

namespace murmora::qt {

namespace layout = schedule_layout;

namespace {

// A place in twips in pixels of this screen.
QRect pixelsOf(const ScreenMetrics& screen, const layout::Box& twips) {
    return {pixelsOfTwips(twips.left, screen.dotsPerInchX()), pixelsOfTwips(twips.top, screen.dotsPerInchY()),
            pixelsOfTwips(twips.width, screen.dotsPerInchX()), pixelsOfTwips(twips.height, screen.dotsPerInchY())};
}

QGroupBox* frame(QWidget* window, const ScreenMetrics& screen, const layout::Frame& frame) {
    auto* box = new QGroupBox(uiText(frame.caption), window);
    box->setGeometry(pixelsOf(screen, frame.box));
    return box;
}

} // namespace

QtScheduleDialog::QtScheduleDialog(QWidget* owner, const ScreenMetrics& screen)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      startFrame(frame(this, screen, layout::kStartFrame)), durationFrame(frame(this, screen, layout::kDurationFrame)),
      targetFrame(frame(this, screen, layout::kTargetFrame)),
      activateFrame(frame(this, screen, layout::kActivateFrame)), startHourBox(box(screen, layout::kStartHour)),
      startMinuteBox(box(screen, layout::kStartMinute)), startSecondBox(box(screen, layout::kStartSecond)),
      dayHalfBox(box(screen, layout::kDayHalf)), durationHoursBox(box(screen, layout::kDurationHours)),
      durationMinutesBox(box(screen, layout::kDurationMinutes)),
      durationSecondsBox(box(screen, layout::kDurationSeconds)),
      targetPathBox(new QtTextBox(targetFrame, pixelsOf(screen, layout::kTargetPathBox))),
      startHourSpinner(spinner(screen, layout::kStartHour, startHourBox)),
      startMinuteSpinner(spinner(screen, layout::kStartMinute, startMinuteBox)),
      startSecondSpinner(spinner(screen, layout::kStartSecond, startSecondBox)),
      dayHalfSpinner(spinner(screen, layout::kDayHalf, dayHalfBox)),
      durationHoursSpinner(spinner(screen, layout::kDurationHours, durationHoursBox)),
      durationMinutesSpinner(spinner(screen, layout::kDurationMinutes, durationMinutesBox)),
      durationSecondsSpinner(spinner(screen, layout::kDurationSeconds, durationSecondsBox)),
      chooseTargetButton(new QPushButton(uiText(layout::kChooseTargetText), targetFrame)),
      activateCheckBox(
          new QtCheckBox(activateFrame, pixelsOf(screen, layout::kActivateCheckBox), uiText(layout::kActivateText))) {
    setObjectName(QStringLiteral("scheduleWindow"));
    setDesignFont(this);
    setWindowTitle(uiText(layout::kTitle));
    setFixedSize(pixelsOf(screen, {0, 0, layout::kClientWidth, layout::kClientHeight}).size());
    for (const layout::Field* field : layout::kFields) {
        auto* heading = new QLabel(uiText(field->headingText), frameOf(*field));
        heading->setGeometry(pixelsOf(screen, field->heading()));
    }
    chooseTargetButton->setGeometry(pixelsOf(screen, layout::kChooseTargetButton));
    chooseTargetButton->setAutoDefault(false);
    chooseTargetButton->setAccessibleDescription(uiText(layout::kChooseTargetDescription));
    targetPathBox->setAccessibleName(uiText(layout::kTargetPathName));
    // Tab goes to the boxes, which take typing, and whose Up and Down step their spinners.
    const std::array<QWidget*, 10> tabOrder{
        startHourBox,       startMinuteBox,     startSecondBox,     dayHalfBox,    durationHoursBox,
        durationMinutesBox, durationSecondsBox, chooseTargetButton, targetPathBox, activateCheckBox};
    for (std::size_t i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder[i - 1], tabOrder[i]);
}

QWidget* QtScheduleDialog::frameOf(const layout::Field& field) const {
    return field.frame == &layout::kStartFrame ? startFrame : durationFrame;
}

QtTextBox* QtScheduleDialog::box(const ScreenMetrics& screen, const layout::Field& field) const {
    auto* made = new QtTextBox(frameOf(field), pixelsOf(screen, field.box()));
    made->setAccessibleName(uiText(field.accessibleName));
    return made;
}

QtSpinner* QtScheduleDialog::spinner(const ScreenMetrics& screen, const layout::Field& field, QtTextBox* box) const {
    auto* made =
        new QtSpinner(frameOf(field), pixelsOf(screen, field.spinner()), field.range.minimum, field.range.maximum);
    // It carries the name of its box, and screen readers read its value as the box shows it.
    made->setAccessibleName(uiText(field.accessibleName));
    made->setValueBox(box);
    made->setFocusPolicy(Qt::NoFocus);
    return made;
}

void QtScheduleDialog::reject() { close(); }

QtScheduleDialog& QtScheduleWindow::dialog() {
    if (dialog_) return *dialog_;
    dialog_ = std::make_unique<QtScheduleDialog>(owner_, screen_);
    QtScheduleDialog& made = *dialog_;
    const std::tuple<HeldTextBox&, QtTextBox&, HeldSpinner&, QtSpinner&> fields[] = {
        {startHourBox, *made.startHourBox, startHourSpinner, *made.startHourSpinner},
        {startMinuteBox, *made.startMinuteBox, startMinuteSpinner, *made.startMinuteSpinner},
        {startSecondBox, *made.startSecondBox, startSecondSpinner, *made.startSecondSpinner},
        {dayHalfBox, *made.dayHalfBox, dayHalfSpinner, *made.dayHalfSpinner},
        {durationHoursBox, *made.durationHoursBox, durationHoursSpinner, *made.durationHoursSpinner},
        {durationMinutesBox, *made.durationMinutesBox, durationMinutesSpinner, *made.durationMinutesSpinner},
        {durationSecondsBox, *made.durationSecondsBox, durationSecondsSpinner, *made.durationSecondsSpinner},
    };
    for (const auto& [heldBox, box, heldSpinner, spinner] : fields) {
        heldBox.handTo(box);
        heldSpinner.handTo(spinner);
    }
    targetPathBox.handTo(*made.targetPathBox);
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
