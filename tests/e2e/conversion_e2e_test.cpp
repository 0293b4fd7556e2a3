// Conversion with the real encoder of a WAV whose path has blanks and whose MP3 name is taken by
// a link to nowhere: the MP3 goes beside the WAV, not where the link points.
#include <map>

#include <QCryptographicHash>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QTest>

#include "tests/e2e/e2e_support.h"

namespace murmora::e2e {
namespace {

class Conversion : public RealPanel {
protected:
    static std::map<QString, QByteArray> contents(const QDir& dir) {
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

    static bool processNames(const QString& path) { // the encoder still writing it
        const QByteArray wanted = QFile::encodeName(path);
        for (const QString& pid : QDir("/proc").entryList({"[0-9]*"}, QDir::Dirs)) {
            QFile cmdline("/proc/" + pid + "/cmdline");
            if (!cmdline.open(QIODevice::ReadOnly)) continue;
            if (cmdline.readAll().split('\0').contains(wanted)) return true;
        }
        return false;
    }
};

TEST_F(Conversion, AWavWithBlanksInItsPathGetsItsMp3BesideItAndNothingElseChanges) {
    QDir takes(scratchPath("my takes"));
    ASSERT_TRUE(takes.mkpath("."));
    const QString wav = takes.filePath("take one.wav");
    ASSERT_EQ(makeTone(wav, "2.5").exitCode, 0);
    // The names the blanks would split the path into, and a bystander: none may be touched.
    ASSERT_EQ(makeTone(takes.filePath("one.wav"), "1").exitCode, 0);
    for (const char* name : {"take", "notes.txt"}) {
        QFile file(takes.filePath(QLatin1String(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("not a sound\n");
    }
    const auto before = contents(takes);
    const QString elsewhere = scratchPath("elsewhere.mp3");
    ASSERT_TRUE(QFile::link(elsewhere, takes.filePath("take one.wav.mp3")));

    modals->expectFileDialog("Convert Wav File", wav);
    click(panel->window.convertButton);
    ASSERT_TRUE(modals->waitDone(10000)) << "the open dialog did not come";

    const QString mp3 = wav + ".mp3";
    ASSERT_TRUE(QTest::qWaitFor([&] { return QFile::exists(mp3) && !processNames(mp3); }, 60000))
        << (QFile::exists(mp3) ? "the encoder did not end within 60 s" : "no MP3 appeared beside the WAV");
    EXPECT_FALSE(QFileInfo(mp3).isSymLink());
    EXPECT_FALSE(QFile::exists(elsewhere)) << "the encoder wrote through the link";

    auto after = contents(takes);
    EXPECT_EQ(after.erase("take one.wav.mp3"), 1u);
    EXPECT_EQ(after, before) << "files in the folder appeared or changed";

    const QString decoded = scratchPath("decoded.wav");
    const ProcessResult lame = runProgram("lame", {"--quiet", "--decode", mp3, decoded});
    ASSERT_EQ(lame.exitCode, 0) << "the MP3 does not decode: " << lame.output.toStdString();
    const auto sound = readSound(decoded);
    EXPECT_TRUE(holdsTheTone(sound, 2.3));
    ASSERT_TRUE(sound);
    EXPECT_NEAR(sound->seconds, 2.5, 0.2) << sound->report;
}

} // namespace
} // namespace murmora::e2e
