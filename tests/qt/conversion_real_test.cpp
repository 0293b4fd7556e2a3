// The Convert button with the real encoder, on a WAV whose path has blanks and whose MP3 name is
// taken by a link to nowhere: the MP3 goes beside the WAV, not where the link points, and
// nothing else in the folder changes.
#include <map>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include "tests/qt/modal_answer.h"
#include "tests/qt/qt_panel_fixture.h"

namespace murmora {
using namespace murmora::qt;
namespace {

// Runs a program to its end; its exit code (-1 when it did not start, crashed or took over a minute).
int run(const QString& program, const QStringList& arguments, QString* output = nullptr) {
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    const bool ended = process.waitForFinished(60000);
    if (output) *output = QString::fromLocal8Bit(process.readAll());
    return ended && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
}

// `seconds` of a 440 Hz tone, 44,100 Hz 16-bit stereo, made by sox.
int makeTone(const QString& path, const QString& seconds) {
    return run("sox", {"-q", "-n", "-r", "44100", "-c", "2", "-b", "16", path, "synth", seconds, "sine", "440"});
}

std::map<QString, QByteArray> contents(const QDir& dir) {
    std::map<QString, QByteArray> contents;
    QDirIterator files(dir.path(), QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (files.hasNext()) {
        const QString path = files.next();
        QFile file(path);
        QCryptographicHash hash(QCryptographicHash::Sha256);
        if (file.open(QIODevice::ReadOnly)) hash.addData(&file);
        contents[dir.relativeFilePath(path)] = hash.result();
    }
    return contents;
}

bool anyProcessNames(const QString& path) { // the encoder still writing it
    const QByteArray wanted = QFile::encodeName(path);
    for (const QString& pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
        QFile cmdline("/proc/" + pid + "/cmdline");
        if (cmdline.open(QIODevice::ReadOnly) && cmdline.readAll().split('\0').contains(wanted)) return true;
    }
    return false;
}

using Conversion = testing::QtPanelTest;

TEST_F(Conversion, AWavWithBlanksInItsPathGetsItsMp3BesideItAndNothingElseChanges) {
    QTemporaryDir scratch;
    QDir folder(scratch.filePath("my takes"));
    ASSERT_TRUE(folder.mkpath("."));
    const QString wav = folder.filePath("take one.wav");
    ASSERT_EQ(makeTone(wav, "2.5"), 0);
    // The names the blanks would split the path into, and a bystander: none may be touched.
    ASSERT_EQ(makeTone(folder.filePath("one.wav"), "1"), 0);
    for (const char* name : {"take", "notes.txt"}) {
        QFile file(folder.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a sound\n");
    }
    const auto before = contents(folder);
    const QString elsewhere = scratch.filePath("elsewhere.mp3");
    ASSERT_TRUE(QFile::link(elsewhere, folder.filePath("take one.wav.mp3")));

    testing::answerNextModal<QFileDialog>([&](QFileDialog* dialog) {
        dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"))->setText(wav);
        static_cast<QDialog*>(dialog)->accept();
    });
    QTest::mouseClick(panel.window.convertButton, Qt::LeftButton, {}, panel.window.convertButton->rect().center());

    const QString mp3 = wav + ".mp3";
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(mp3) && !anyProcessNames(mp3); }, 60000))
        << (QFile::exists(mp3) ? "the encoder did not end within 60 s" : "no MP3 appeared beside the WAV");
    EXPECT_FALSE(QFileInfo(mp3).isSymLink());
    EXPECT_FALSE(QFile::exists(elsewhere)) << "the encoder wrote through the link";
    auto after = contents(folder);
    EXPECT_EQ(after.erase("take one.wav.mp3"), 1u);
    EXPECT_EQ(after, before) << "files in the folder appeared or changed";

    // The MP3 decodes to the tone's length.
    const QString decoded = scratch.filePath("decoded.wav");
    QString said;
    ASSERT_EQ(run("lame", {"--quiet", "--decode", mp3, decoded}, &said), 0) << said.toStdString();
    ASSERT_EQ(run("soxi", {"-D", decoded}, &said), 0) << said.toStdString();
    EXPECT_NEAR(said.toDouble(), 2.5, 0.2) << said.toStdString();
}

} // namespace
} // namespace murmora
