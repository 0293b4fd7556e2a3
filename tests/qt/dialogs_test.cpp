// Message boxes and file dialogs, answered in-process while they are open.
#include <malloc.h>

#include <fstream>
#include <optional>
#include <set>

#include <QAbstractItemView>
#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "platform/qt/qt_dialogs.h"
#include "tests/qt/modal_answer.h"

namespace murmora {
using namespace murmora::qt;
namespace {

using testing::answerNextModal;

const FileDialogSetup SaveAsWav{
    .title = "Save File As", .filter = kWavFiles, .askBeforeOverwrite = true, .folderMustExist = true};

TEST(MessageBoxes, ShowTitlePromptAndTheIconOfTheirStyleWithOnlyAnOkButton) {
    struct Case {
        MessageStyle style;
        QMessageBox::Icon icon;
    };
    for (const Case c :
         {Case{MessageStyle::critical, QMessageBox::Critical}, Case{MessageStyle::exclamation, QMessageBox::Warning},
          Case{MessageStyle::information, QMessageBox::Information}}) {
        QStringList shown;
        answerNextModal<QMessageBox>([&](QMessageBox* box) {
            shown = {box->windowTitle(), box->text(), QString::number(box->icon()),
                     QString::number(box->buttons().size())};
            box->button(QMessageBox::Ok)->click();
        });
        QtMessageBox().show("Recording saved as  /tmp/a.wav", c.style, "Murmora");
        EXPECT_EQ(shown, (QStringList{"Murmora", "Recording saved as  /tmp/a.wav", QString::number(c.icon), "1"}));
    }
}

TEST(FileDialogFilters, ShowTheDescriptionWithItsPatterns) {
    EXPECT_EQ(nameFilterOf(kWavFiles), QStringLiteral("Wav File (*.Wav)"));
    EXPECT_EQ(nameFilterOf({"Sound", {"*.wav", "*.aiff"}}), QStringLiteral("Sound (*.wav *.aiff)"));
    EXPECT_EQ(nameFilterOf({"Opus File (*.opus;*.ogg)", {"*.opus", "*.ogg"}}),
              QStringLiteral("Opus File (*.opus;*.ogg) (*.opus *.ogg)"))
        << "Qt reads the patterns from the last parentheses, split at spaces";
}

class FileDialogs : public ::testing::Test {
protected:
    void SetUp() override {
        for (const char* name : {"a.wav", "B.WAV", "c.Wav", "d.txt"})
            std::ofstream(scratchPath(name).toStdString()) << "x";
        dialog.configure(SaveAsWav);
    }
    QString scratchPath(const QString& name) const { return folder.path() + QLatin1Char('/') + name; }

    QTemporaryDir folder;
    QtFileDialog dialog;
};

// Types the folder, then the name: selectFile() leaves a focused name field alone.
void typeName(QFileDialog* fileDialog, const QString& path) {
    const QFileInfo file(path);
    fileDialog->setDirectory(file.absolutePath());
    fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(file.fileName());
}

// QFileDialog keeps accept() out of public reach.
void acceptDialog(QDialog* fileDialog) { fileDialog->accept(); }

// The names the dialog's file list shows for its current folder.
std::set<QString> listedNames(QFileDialog* fileDialog) {
    auto* view = fileDialog->findChild<QAbstractItemView*>(QStringLiteral("listView"));
    std::set<QString> names;
    if (!view) return names;
    const QModelIndex root = view->rootIndex();
    for (int row = 0; row < view->model()->rowCount(root); ++row) {
        names.insert(view->model()->index(row, 0, root).data().toString());
    }
    return names;
}

TEST_F(FileDialogs, ListTheWavFilesWhateverTheCaseOfTheirExtension) {
    std::set<QString> listed;
    QString shownFilter;
    answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
        fileDialog->setDirectory(folder.path());
        (void)QTest::qWaitFor([&] { return listedNames(fileDialog).size() >= 3; }, 5000);
        QTest::qWait(100); // let the folder finish loading
        listed = listedNames(fileDialog);
        shownFilter = fileDialog->selectedNameFilter();
        fileDialog->reject();
    });
    EXPECT_FALSE(dialog.showOpen());
    EXPECT_EQ(listed, (std::set<QString>{"a.wav", "B.WAV", "c.Wav"}));
    EXPECT_EQ(shownFilter, QStringLiteral("Wav File (*.Wav)"));
}

TEST_F(FileDialogs, ReturnTheChosenFileAndOfferItAgainNextTime) {
    const QString chosen = scratchPath("take one.wav");
    QString title;
    answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
        title = fileDialog->windowTitle();
        typeName(fileDialog, chosen);
        acceptDialog(fileDialog);
    });
    EXPECT_EQ(dialog.showSave(), chosen.toStdString());
    EXPECT_EQ(title, QStringLiteral("Save File As"));

    QStringList offered;
    answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
        offered = fileDialog->selectedFiles();
        fileDialog->reject();
    });
    EXPECT_FALSE(dialog.showSave()) << "cancelled";
    EXPECT_EQ(offered, QStringList{chosen});
}

TEST_F(FileDialogs, TakeANameWithQuotesAsTypedAndAskBeforeOverwritingItOnlyWhenTold) {
    const QString quoted = scratchPath(QStringLiteral("it's a \"quoted\" take.wav"));
    std::ofstream(quoted.toStdString()) << "x";
    int questions = 0;
    // Chooses the quoted name, which exists; `answer` is for the overwrite question when one is due.
    const auto overwrite = [&](std::optional<QMessageBox::StandardButton> answer) {
        answerNextModal<QFileDialog>([&, answer](QFileDialog* fileDialog) {
            if (answer) {
                answerNextModal<QMessageBox>([&, answer](QMessageBox* box) {
                    ++questions;
                    box->button(*answer)->click();
                });
            }
            typeName(fileDialog, quoted);
            acceptDialog(fileDialog);
            if (fileDialog->isVisible()) fileDialog->reject();
        });
        return dialog.showSave();
    };
    EXPECT_EQ(overwrite(QMessageBox::Yes), quoted.toStdString());
    EXPECT_EQ(questions, 1);
    EXPECT_FALSE(overwrite(QMessageBox::No)) << "declining the overwrite keeps the dialog open";
    EXPECT_EQ(questions, 2);
    dialog.configure({.title = "Save File As", .filter = kWavFiles, .folderMustExist = true});
    EXPECT_EQ(overwrite(std::nullopt), quoted.toStdString());
    EXPECT_EQ(questions, 2);

    QString offeredName;
    answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
        offeredName = fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->text();
        fileDialog->reject();
    });
    EXPECT_FALSE(dialog.showSave());
    EXPECT_EQ(offeredName, QFileInfo(quoted).fileName());
}

// The Convert dialog returns the name typed, whether or not such a file exists, and a name
// with quotes as it stands: the conversion decides what to do with it.
TEST_F(FileDialogs, OpenReturnsATypedNameAsItStandsWhetherOrNotItExists) {
    dialog.configure({.title = "Convert Wav File", .filter = kWavFiles, .folderMustExist = true});
    for (const QString& name : {QStringLiteral("missing.wav"), QStringLiteral("it's a \"quoted\" take.wav")}) {
        QString refusal;
        const QPointer<QTimer> refuse = answerNextModal<QMessageBox>([&](QMessageBox* box) {
            refusal = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
            typeName(fileDialog, scratchPath(name));
            acceptDialog(fileDialog);
            if (fileDialog->isVisible()) fileDialog->reject();
        });
        EXPECT_EQ(dialog.showOpen(), scratchPath(name).toStdString());
        EXPECT_TRUE(refusal.isEmpty()) << refusal.toStdString();
        delete refuse;
    }
}

TEST_F(FileDialogs, RefuseANameInAFolderThatDoesNotExist) {
    QString warning;
    bool stayedOpen = false;
    answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
        fileDialog->setDirectory(folder.path());
        answerNextModal<QMessageBox>([&](QMessageBox* box) {
            warning = box->text();
            box->button(QMessageBox::Ok)->click();
        });
        fileDialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(QStringLiteral("missing/take.wav"));
        acceptDialog(fileDialog);
        stayedOpen = fileDialog->isVisible();
        fileDialog->reject();
    });
    EXPECT_FALSE(dialog.showSave());
    EXPECT_TRUE(stayedOpen);
    EXPECT_TRUE(warning.contains(QStringLiteral("does not exist"))) << warning.toStdString();
}

// A name longer than the file system takes (255 bytes, here in letters of one byte or of two)
// keeps the Save button usable, and saving it says why it cannot be; the dialog stays open.
TEST_F(FileDialogs, RefuseANameTooLongForTheFileSystemWithAMessage) {
    const QString longNames[] = {QString(296, QLatin1Char('a')) + QStringLiteral(".wav"),
                                 QString(130, QChar(0x00E9)) + QStringLiteral(".wav")};
    const int bytes[] = {300, 264};
    for (int i = 0; i < 2; ++i) {
        QString warning;
        bool saveUsable = false, stayedOpen = false;
        answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
            answerNextModal<QMessageBox>([&](QMessageBox* box) {
                warning = box->text();
                box->button(QMessageBox::Ok)->click();
            });
            typeName(fileDialog, scratchPath(longNames[i]));
            QPushButton* save = fileDialog->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Save);
            saveUsable = save->isEnabled();
            save->click();
            stayedOpen = fileDialog->isVisible();
            fileDialog->reject();
        });
        EXPECT_FALSE(dialog.showSave());
        EXPECT_TRUE(saveUsable) << i;
        EXPECT_TRUE(stayedOpen) << i;
        const QString shownName = longNames[i].left(40) + QChar(0x2026) + longNames[i].right(19);
        EXPECT_EQ(warning, QStringLiteral("%1\nThe name is too long for the file system: it has %2 bytes, and a name "
                                          "there may have at most 255.\nChoose a shorter name.")
                               .arg(scratchPath(shownName))
                               .arg(bytes[i]));
    }
}

// Heap in use, in bytes: the small blocks and the large ones given their own pages.
std::size_t heapInUse() {
    const struct mallinfo2 heap = mallinfo2();
    return heap.uordblks + heap.hblkhd;
}

// A box and a save dialog that lists takes, shown and answered again and again, as at the end
// of each saved take, hold on to next to nothing once they are closed (the offscreen platform
// itself keeps about 3 KiB of each window).
TEST_F(FileDialogs, AndBoxesHoldNoMemoryOnceAnswered) {
    const auto saveAndTell = [&](int take) {
        answerNextModal<QFileDialog>([&](QFileDialog* fileDialog) {
            fileDialog->setDirectory(folder.path());
            (void)QTest::qWaitFor([&] { return listedNames(fileDialog).size() >= 3; }, 5000);
            typeName(fileDialog, scratchPath(QStringLiteral("take %1.wav").arg(take)));
            acceptDialog(fileDialog);
        });
        ASSERT_TRUE(dialog.showSave());
        answerNextModal<QMessageBox>([](QMessageBox* box) { box->button(QMessageBox::Ok)->click(); });
        QtMessageBox().show("Recording saved as  /tmp/a.wav", MessageStyle::information, "Murmora");
    };
    for (int take = 0; take < 5; ++take)
        saveAndTell(take); // what Qt makes once, on first use
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const std::size_t before = heapInUse();
    for (int take = 5; take < 45; ++take)
        saveAndTell(take);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    const auto grown = static_cast<std::ptrdiff_t>(heapInUse()) - static_cast<std::ptrdiff_t>(before);
    EXPECT_LT(grown, 40 * 8 * 1024) << "bytes held after 40 more saves";
}

} // namespace
} // namespace murmora
