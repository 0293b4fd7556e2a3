// The panel and the schedule window as screen readers see them, and the keyboard's way round
// the panel, on the offscreen platform.
#include <limits>
#include <vector>

#include <QAccessible>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/qt/qt_panel_fixture.h"

namespace murmora {
using namespace murmora::qt;
namespace {

QAccessibleInterface* accessible(QObject* object) { return QAccessible::queryAccessibleInterface(object); }

QStringList actionsOf(QObject* object) {
    QAccessibleActionInterface* actions = accessible(object)->actionInterface();
    return actions ? actions->actionNames() : QStringList{};
}

const QStringList kButtonActions{QAccessibleActionInterface::pressAction(),
                                 QAccessibleActionInterface::setFocusAction()};

class PanelAccessibility : public testing::QtPanelTest {
protected:
    // The panel as the active window, as the keyboard finds it.
    void activatePanel() {
        panel.window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&panel.window));
    }

    QtPanelWindow& w = panel.window;
};

TEST_F(PanelAccessibility, EveryControlOfThePanelHasItsRoleNameAndActions) {
    w.secondsLabel->setCaption("12 sec");
    w.sizeLabel->setCaption("2,067 KB");
    struct Row {
        QObject* control;
        QAccessible::Role role;
        QString name;
        QStringList actions;
    };
    const Row rows[] = {
        {&w, QAccessible::Window, "Murmora", {}},
        {w.minimizeButton, QAccessible::Button, "Minimize", kButtonActions},
        {w.recordButton, QAccessible::Button, "Record", kButtonActions},
        {w.closeButton, QAccessible::Button, "Close", kButtonActions},
        {w.stopButton, QAccessible::Button, "Stop Recording", kButtonActions},
        {w.convertButton, QAccessible::Button, "Convert Wav To mp3", kButtonActions},
        {w.playButton, QAccessible::Button, "Play File", kButtonActions},
        {w.scheduleButton, QAccessible::Button, "Set Recording Schedule", kButtonActions},
        {w.secondsLabel, QAccessible::StaticText, "12 sec", {}},
        {w.sizeLabel, QAccessible::StaticText, "2,067 KB", {}},
        {testing::childNamed<LevelBar>(w, "levelBar"), QAccessible::ProgressBar, "Input level", {}},
        {testing::childNamed<DisplayNote>(w, "displayNote"), QAccessible::Notification, "", {}},
    };
    for (const Row& row : rows) {
        ASSERT_NE(row.control, nullptr);
        const QAccessibleInterface* control = accessible(row.control);
        EXPECT_EQ(control->role(), row.role) << row.name.toStdString();
        EXPECT_EQ(control->text(QAccessible::Name), row.name);
        EXPECT_EQ(actionsOf(row.control), row.actions) << row.name.toStdString();
        if (row.actions == kButtonActions) {
            EXPECT_TRUE(control->state().focusable) << row.name.toStdString();
            EXPECT_FALSE(control->state().pressed) << row.name.toStdString();
        }
    }
}

TEST_F(PanelAccessibility, EveryControlOfTheScheduleWindowCarriesTheNameOfWhatItSets) {
    auto& f = panel.scheduleWindow.dialog();
    struct Row {
        QWidget* control;
        QAccessible::Role role;
        QString name;
    };
    const Row rows[] = {
        {f.startHourBox, QAccessible::EditableText, "Start hour"},
        {f.startHourSpinner, QAccessible::SpinBox, "Start hour"},
        {f.startMinuteBox, QAccessible::EditableText, "Start minute"},
        {f.startMinuteSpinner, QAccessible::SpinBox, "Start minute"},
        {f.startSecondBox, QAccessible::EditableText, "Start second"},
        {f.startSecondSpinner, QAccessible::SpinBox, "Start second"},
        {f.dayHalfBox, QAccessible::EditableText, "Start AM/PM"},
        {f.dayHalfSpinner, QAccessible::SpinBox, "Start AM/PM"},
        {f.durationHoursBox, QAccessible::EditableText, "Duration hours"},
        {f.durationHoursSpinner, QAccessible::SpinBox, "Duration hours"},
        {f.durationMinutesBox, QAccessible::EditableText, "Duration minutes"},
        {f.durationMinutesSpinner, QAccessible::SpinBox, "Duration minutes"},
        {f.durationSecondsBox, QAccessible::EditableText, "Duration seconds"},
        {f.durationSecondsSpinner, QAccessible::SpinBox, "Duration seconds"},
        {f.chooseTargetButton, QAccessible::Button, "File"},
        {f.targetPathBox, QAccessible::EditableText, "Target file"},
        {f.activateCheckBox, QAccessible::CheckBox, "Activate"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(accessible(row.control)->role(), row.role) << row.name.toStdString();
        EXPECT_EQ(accessible(row.control)->text(QAccessible::Name), row.name);
    }
}

TEST_F(PanelAccessibility, SpinnersHoldTheirOwnValueReadAsTheirBoxShowsIt) {
    auto& f = panel.scheduleWindow.dialog();
    struct Row {
        QtSpinner* spinner;
        int minimum, maximum, start;
        QString startText;
    };
    const Row rows[] = {{f.startHourSpinner, 1, 12, 1, "1"},
                        {f.startMinuteSpinner, 0, 59, 0, "00"},
                        {f.dayHalfSpinner, 1, 2, 1, "AM"},
                        {f.durationHoursSpinner, 0, 9, 0, "0"},
                        {f.durationMinutesSpinner, 0, 59, 1, "01"}};
    for (const Row& row : rows) {
        QAccessibleInterface* spinner = accessible(row.spinner);
        QAccessibleValueInterface* value = spinner->valueInterface();
        ASSERT_NE(value, nullptr);
        EXPECT_EQ(value->minimumValue().toInt(), row.minimum);
        EXPECT_EQ(value->maximumValue().toInt(), row.maximum);
        EXPECT_EQ(value->currentValue().toInt(), row.start);
        EXPECT_EQ(spinner->text(QAccessible::Value), row.startText);
        EXPECT_EQ(actionsOf(row.spinner), (QStringList{QAccessibleActionInterface::increaseAction(),
                                                       QAccessibleActionInterface::decreaseAction()}))
            << "the box beside it takes the focus";
    }
    QAccessibleInterface* dayHalf = accessible(f.dayHalfSpinner);
    dayHalf->actionInterface()->doAction(QAccessibleActionInterface::increaseAction());
    EXPECT_EQ(f.dayHalfBox->text(), "PM");
    EXPECT_EQ(dayHalf->text(QAccessible::Value), "PM");
    dayHalf->actionInterface()->doAction(QAccessibleActionInterface::decreaseAction());
    EXPECT_EQ(f.dayHalfBox->text(), "AM");
    accessible(f.startMinuteSpinner)->valueInterface()->setCurrentValue(75); // beyond its top end
    EXPECT_EQ(f.startMinuteBox->text(), "59");
}

TEST_F(PanelAccessibility, LevelBarReadsThePeakInDbfsOnItsScale) {
    QAccessibleInterface* bar = accessible(testing::childNamed<LevelBar>(w, "levelBar"));
    struct Row {
        double dbfs;
        double shown;
        QString text;
    };
    const Row rows[] = {{-12.4, -12.4, "-12 dBFS"},
                        {1.5, 0.0, "0 dBFS"},
                        {-std::numeric_limits<double>::infinity(), -60.0, "below -60 dBFS"}};
    for (const Row& row : rows) {
        w.levelDisplay.setLevel(row.dbfs);
        EXPECT_DOUBLE_EQ(bar->valueInterface()->currentValue().toDouble(), row.shown) << row.dbfs;
        EXPECT_EQ(bar->text(QAccessible::Value), row.text) << row.dbfs;
    }
    EXPECT_EQ(bar->valueInterface()->minimumValue().toDouble(), -60.0);
    EXPECT_EQ(bar->valueInterface()->maximumValue().toDouble(), 0.0);
}

TEST_F(PanelAccessibility, LevelBarSaysClippedFromTheClipMarkToTheTakesEnd) {
    QAccessibleInterface* bar = accessible(testing::childNamed<LevelBar>(w, "levelBar"));
    w.levelDisplay.setLevel(-0.2);
    w.levelDisplay.showClipMark();
    w.levelDisplay.setLevel(-12.4);
    EXPECT_EQ(bar->text(QAccessible::Value), "-12 dBFS, clipped");
    w.levelDisplay.clear();
    w.levelDisplay.setLevel(-12.4);
    EXPECT_EQ(bar->text(QAccessible::Value), "-12 dBFS");
}

// Read where the window is reviewed, as Orca reads the value only as a share of the range.
TEST_F(PanelAccessibility, LevelBarsTextIsItsReading) {
    QAccessibleInterface* bar = accessible(testing::childNamed<LevelBar>(w, "levelBar"));
    QAccessibleTextInterface* text = bar->textInterface();
    ASSERT_NE(text, nullptr);
    w.levelDisplay.setLevel(-0.2);
    w.levelDisplay.showClipMark();
    EXPECT_EQ(text->text(0, text->characterCount()), "0 dBFS, clipped");
}

TEST_F(PanelAccessibility, SilentInputNoteIsAShownNotificationNamedByItsText) {
    QAccessibleInterface* note = accessible(testing::childNamed<DisplayNote>(w, "displayNote"));
    EXPECT_TRUE(note->state().invisible);
    const std::string text = "The sound input is silent: check that the microphone is on and not muted.";
    w.levelDisplay.showNote(text);
    EXPECT_FALSE(note->state().invisible);
    EXPECT_EQ(note->text(QAccessible::Name).toStdString(), text);
    w.levelDisplay.hideNote();
    EXPECT_TRUE(note->state().invisible);
}

// Counts the times a widget shows, which screen readers hear of as it showing.
class ShowCounter final : public QObject {
public:
    int shows = 0;

protected:
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Show) ++shows;
        return false;
    }
};

TEST_F(PanelAccessibility, EachAnnouncementShowsAnewANotificationNamedByItsText) {
    auto* announcer = testing::childNamed<QtAnnouncer>(w, "announcer");
    ASSERT_NE(announcer, nullptr);
    QAccessibleInterface* notification = accessible(announcer);
    EXPECT_EQ(notification->role(), QAccessible::Notification);
    EXPECT_TRUE(notification->state().invisible) << "nothing to tell before the first announcement";
    ShowCounter counter;
    announcer->installEventFilter(&counter);
    for (const std::string text : {"recording", "recording", "recording stopped, 3 sec"}) {
        announcer->announce(text);
        EXPECT_FALSE(notification->state().invisible);
        EXPECT_EQ(notification->text(QAccessible::Name).toStdString(), text);
    }
    EXPECT_EQ(counter.shows, 3) << "the same text told twice is shown twice";
    EXPECT_FALSE(notification->state().focusable);
}

// The names of the buttons the focus is on after each key.
QStringList focusAfter(const std::vector<QKeyCombination>& keys) {
    QStringList names;
    for (const QKeyCombination key : keys) {
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
        names << QApplication::focusWidget()->accessibleName();
    }
    return names;
}

TEST_F(PanelAccessibility, TabGoesRoundTheButtonsInReadingOrderFromRecordAndShiftTabBack) {
    activatePanel();
    EXPECT_EQ(QApplication::focusWidget(), w.recordButton);
    const QKeyCombination tab(Qt::Key_Tab), back(Qt::ShiftModifier, Qt::Key_Backtab);
    EXPECT_EQ(focusAfter({tab, tab, tab, tab, tab, tab, tab}),
              (QStringList{"Close", "Stop Recording", "Convert Wav To mp3", "Play File", "Set Recording Schedule",
                           "Minimize", "Record"}));
    EXPECT_EQ(focusAfter({back, back}), (QStringList{"Minimize", "Set Recording Schedule"}));
}

TEST_F(PanelAccessibility, TheFocusMarkShowsOnceTheKeyboardIsUsedAndNotForTheMouse) {
    activatePanel();
    QTest::mouseClick(w.stopButton, Qt::LeftButton, {}, QPoint(27, 27));
    EXPECT_EQ(QApplication::focusWidget(), w.recordButton) << "a click leaves the focus where it is";
    EXPECT_EQ(w.markedButton(), nullptr) << "no mark before the keyboard is used";
    QTest::keyClick(w.recordButton, Qt::Key_Tab);
    EXPECT_EQ(w.markedButton(), w.closeButton);
    QTest::mouseClick(w.stopButton, Qt::LeftButton, {}, QPoint(27, 27));
    EXPECT_EQ(w.markedButton(), w.closeButton);
    EXPECT_FALSE(w.stopButton->showsFocusMark());
}

} // namespace
} // namespace murmora
