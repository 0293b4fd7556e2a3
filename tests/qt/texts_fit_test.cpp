// Every text of the panel's display and of the schedule window fits its place, in English and in
// each language the build has a catalogue of, drawn at the panel's font.
#include <QCheckBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionGroupBox>
#include <gtest/gtest.h>

#include "core/texts.h"
#include "platform/qt/qt_level_display.h"
#include "tests/qt/qt_panel_fixture.h"
#include "tests/support/speaking.h"

namespace murmora {
using namespace murmora::qt;
namespace {

class TextsFit : public testing::Speaking, public testing::QtPanelTest {
protected:
    TextsFit() : Speaking(MURMORA_CATALOGUES) {}
    static bool fits(const QLabel& label) {
        return label.fontMetrics().horizontalAdvance(label.text()) <= label.contentsRect().width();
    }
    // Where the style draws a frame's title.
    static QRect titleRoom(const QGroupBox& frame) {
        QStyleOptionGroupBox option;
        option.initFrom(&frame);
        option.text = frame.title();
        option.textAlignment = frame.alignment();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        return frame.style()->subControlRect(QStyle::CC_GroupBox, &option, QStyle::SC_GroupBoxLabel, &frame);
    }
    void expectCaptionFits(QtLabel& label, const std::string& caption) {
        label.setCaption(caption);
        EXPECT_TRUE(fits(label)) << caption << ": " << label.fontMetrics().horizontalAdvance(label.text()) << " of "
                                 << label.contentsRect().width() << " pixels";
    }
};

TEST_P(TextsFit, TheDisplaysCaptionsFitTheirLabelsWithTheLongestValues) {
    QtPanelWindow& window = panel.window;
    const std::string longestSeconds = "35999"; // the longest a schedule records
    expectCaptionFits(*window.secondsLabel, translated("%s sec", {longestSeconds}));
    expectCaptionFits(*window.secondsLabel, translated("%s sec paused", {longestSeconds}));
    expectCaptionFits(*window.sizeLabel, translated("%s KB", {"6201562.5"})); // that schedule, in stereo
    expectCaptionFits(*window.scheduleCaptionLabel, translated("Record:"));
}

TEST_P(TextsFit, TheSilenceWarningsFitTheNoteWhole) {
    QtLevelDisplay& display = panel.window.levelDisplay;
    for (const std::string& warning :
         {std::string(translated("The sound input is silent: check that the microphone is on and not muted.")),
          translated("%s is silent: check that it is on and not muted.", {"Built-in Audio Analog Stereo"}),
          std::string(translated("What the computer plays is silent: nothing is playing."))}) {
        display.showNote(warning);
        const auto* note = testing::childNamed<DisplayNote>(panel.window, "displayNote");
        ASSERT_NE(note, nullptr);
        const QRect room = note->contentsRect();
        const QRect needed = QFontMetrics(note->font()).boundingRect(room, Qt::TextWordWrap, note->text());
        EXPECT_TRUE(room.contains(needed)) << needed.width() << " x " << needed.height() << ": " << warning;
    }
}

TEST_P(TextsFit, TheScheduleWindowsHeadingsFramesAndButtonsFit) {
    const QWidget& window = panel.scheduleWindow.dialog();
    for (const QLabel* heading : window.findChildren<QLabel*>())
        EXPECT_TRUE(fits(*heading)) << heading->text().toStdString();
    for (const QGroupBox* frame : window.findChildren<QGroupBox*>())
        EXPECT_LE(titleRoom(*frame).right(), frame->rect().right()) << frame->title().toStdString();
    for (const QCheckBox* box : window.findChildren<QCheckBox*>())
        EXPECT_LE(box->sizeHint().width(), box->width()) << box->text().toStdString();
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        const int margins = 2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + margins, button->width())
            << button->text().toStdString();
    }
}

INSTANTIATE_TEST_SUITE_P(Languages, TextsFit, ::testing::ValuesIn(testing::languagesAndEnglish()),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace murmora
