// The panel's menu of the input and the format on the real panel: how it opens, what it shows,
// and what a choice in it does.
#include <QAction>
#include <QApplication>
#include <QMenu>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <map>

#include "tests/qt/qt_panel_fixture.h"
#include "tests/support/speaking.h"

namespace murmora {
using namespace murmora::qt;
namespace {

// What the menu showed: each line a heading ("[Input]") or an entry, "*" before the checked one.
using Lines = std::vector<std::string>;

class ChoiceMenuOnPanel : public testing::QtPanelTest {
protected:
    void SetUp() override {
        engine.inputs = {{"mic", "TestMic", true, false},
                         {"usb", "USB Headset", false, false},
                         {"nullsink.monitor", "NullOutput", false, true}};
        QtPanelTest::SetUp();
        QApplication::processEvents(); // the rest of the start-up
    }

    // Watches for the menu: notes what it shows and chooses `entry`, or closes it unchosen when
    // that is empty.
    void answerMenu(const std::string& entry) {
        auto* poll = new QTimer;
        poll->setInterval(5);
        QObject::connect(poll, &QTimer::timeout, [this, poll, entry] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu) return;
            poll->stop();
            poll->deleteLater();
            shownAt = menu->pos();
            for (QAction* action : menu->actions()) {
                const std::string text = action->text().toStdString();
                shown.push_back(action->isSeparator() ? "[" + text + "]" : (action->isChecked() ? "*" : "") + text);
                if (!entry.empty() && text == entry) menu->setActiveAction(action);
            }
            QTest::keyClick(menu, entry.empty() ? Qt::Key_Escape : Qt::Key_Return);
        });
        poll->start();
        polls.push_back(poll);
    }
    // Runs events until the menu has been answered, or half a second has passed.
    void settle() {
        static_cast<void>(QTest::qWaitFor([this] { return !shown.empty(); }, 500));
        QTest::qWait(20);
    }
    void rightClick(QWidget* on, QPoint at) {
        QTest::mousePress(on, Qt::RightButton, {}, at);
        QTest::mouseRelease(on, Qt::RightButton, {}, at);
    }

    const QPoint freeSpot{30, 200}; // the speaker grille
    Lines shown;
    QPoint shownAt;
    std::vector<QTimer*> polls;
};

TEST_F(ChoiceMenuOnPanel, ARightClickOnAFreeSpotOpensTheMenuThereWithTheInputsAndTheFormats) {
    answerMenu("");
    rightClick(&panel.window, freeSpot);
    settle();
    EXPECT_EQ(shown, (Lines{"[Input]", "*TestMic (default)", "USB Headset", "What the computer plays", "[Save as]",
                            "*WAV", "FLAC", "Opus", "MP3"}));
    EXPECT_EQ(shownAt, panel.window.mapToGlobal(freeSpot));
    EXPECT_EQ(settings.saves, 0) << "closed without a choice";
}

// The tooltip's first two lines name the choices; the hotkeys follow.
TEST_F(ChoiceMenuOnPanel, AChoiceIsKeptAndNamedInThePanelsTooltip) {
    EXPECT_EQ(panel.window.toolTip().section(QLatin1Char('\n'), 0, 1),
              QStringLiteral("Input: TestMic (default)\nSave as: WAV"));
    answerMenu("USB Headset");
    rightClick(&panel.window, freeSpot);
    settle();
    EXPECT_EQ(settings.kept, (Settings{"usb", SaveFormat::wav, "USB Headset"}));
    EXPECT_EQ(panel.window.toolTip().section(QLatin1Char('\n'), 0, 1),
              QStringLiteral("Input: USB Headset\nSave as: WAV"));
    shown.clear();
    answerMenu("Opus");
    rightClick(&panel.window, freeSpot);
    settle();
    EXPECT_EQ(settings.kept.format, SaveFormat::opus);
    EXPECT_EQ(panel.window.toolTip().section(QLatin1Char('\n'), 0, 1),
              QStringLiteral("Input: USB Headset\nSave as: Opus"));
}

// The display is a free spot, its texts (blank or not) included.
TEST_F(ChoiceMenuOnPanel, ARightClickOnEachLabelOfTheDisplayOpensTheMenuThere) {
    panel.window.secondsLabel->setText(QStringLiteral("12 sec"));
    for (QtLabel* label :
         {panel.window.secondsLabel, panel.window.sizeLabel, panel.window.copyrightLabel, panel.window.versionLabel,
          panel.window.scheduleCaptionLabel, panel.window.scheduleTimeLabel}) {
        shown.clear();
        answerMenu("");
        const QPoint at(3, 3);
        rightClick(label, at);
        settle();
        EXPECT_FALSE(shown.empty()) << "no menu on the label at " << label->x() << "," << label->y();
        EXPECT_EQ(shownAt, label->mapToGlobal(at));
    }
}

TEST_F(ChoiceMenuOnPanel, ARightButtonDragMovesThePanelAndOpensNoMenu) {
    const QPoint before = panel.window.pos();
    answerMenu("");
    QTest::mousePress(&panel.window, Qt::RightButton, {}, freeSpot);
    QTest::mouseMove(&panel.window, freeSpot + QPoint(40, 30), 10);
    QTest::mouseRelease(&panel.window, Qt::RightButton, {}, freeSpot + QPoint(40, 30));
    settle();
    EXPECT_TRUE(shown.empty()) << "a menu opened";
    EXPECT_NE(panel.window.pos(), before) << "the panel did not move";
    delete polls.back();
}

TEST_F(ChoiceMenuOnPanel, ARightClickOnAButtonIsTheButtonsAndTheMenuKeyOpensTheMenu) {
    answerMenu("");
    rightClick(panel.window.stopButton, QPoint(20, 20));
    settle();
    EXPECT_TRUE(shown.empty()) << "the menu opened on a button";
    QContextMenuEvent key(QContextMenuEvent::Keyboard, QPoint(), QPoint());
    QApplication::sendEvent(panel.window.recordButton, &key);
    settle();
    ASSERT_FALSE(shown.empty()) << "the menu key opened no menu";
    EXPECT_EQ(shown.front(), "[Input]");
}

// The menu and the tooltip in the user's language, as its catalogue words them (French puts a
// no-break space before a colon) and as its keyboards name the keys; the inputs' own names stay
// as the sound server gives them.
struct SpokenChoices {
    Lines menu;
    const char* tooltip;
};
const std::map<std::string, SpokenChoices> kSpokenChoices{
    {"de",
     {{"[Eingang]", "*TestMic (Standard)", "USB Headset", "Wiedergabe des Computers", "[Speichern als]", "*WAV", "FLAC",
       "Opus", "MP3"},
      "Eingang: TestMic (Standard)\nSpeichern als: WAV\nTastenkürzel: Strg+Alt+R zum Aufnehmen, Strg+Alt+S zum "
      "Beenden und Speichern, Strg+Alt+P zum Pausieren"}},
    {"fr",
     {{"[Entrée]", "*TestMic (par défaut)", "USB Headset", "Ce que diffuse l'ordinateur", "[Sauvegarder au format]",
       "*WAV", "FLAC", "Opus", "MP3"},
      "Entrée\u00a0: TestMic (par défaut)\nSauvegarder au format\u00a0: WAV\nRaccourcis\u00a0: Ctrl+Alt+R pour "
      "enregistrer, Ctrl+Alt+S pour arrêter et sauvegarder, Ctrl+Alt+P pour mettre en pause"}},
};

class SpokenChoiceMenu : public testing::Speaking, public ChoiceMenuOnPanel {
protected:
    SpokenChoiceMenu() : Speaking(MURMORA_CATALOGUES) {}
};

TEST_P(SpokenChoiceMenu, TheMenuAndTheTooltipSpeakTheUsersLanguage) {
    const SpokenChoices& expected = kSpokenChoices.at(GetParam());
    EXPECT_EQ(panel.window.toolTip(), QString::fromUtf8(expected.tooltip));
    answerMenu("");
    rightClick(&panel.window, freeSpot);
    settle();
    EXPECT_EQ(shown, expected.menu);
}

INSTANTIATE_TEST_SUITE_P(Languages, SpokenChoiceMenu, ::testing::Values("de", "fr"),
                         [](const auto& info) { return info.param; });

} // namespace
} // namespace murmora
