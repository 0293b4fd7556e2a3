#include "platform/qt/qt_dialogs.h"
#include "platform/qt/qt_texts.h"

#include <unistd.h>

#include <optional>

#include <QApplication>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPixmapCache>
#include <QPushButton>

#include "platform/qt/qt_files.h"

namespace murmora::qt {

namespace {

QMessageBox::Icon iconOf(MessageStyle style) {
    switch (style) {
    case MessageStyle::critical:
        return QMessageBox::Critical;
    case MessageStyle::exclamation:
        return QMessageBox::Warning;
    case MessageStyle::information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// A path as a message shows it: a component of more than 60 characters with its middle left out.
QString shownPath(const QString& path) {
    QStringList parts = path.split(QLatin1Char('/'));
    for (QString& part : parts) {
        if (part.size() > 60) part = part.left(40) + QChar(0x2026) + part.right(19);
    }
    return parts.join(QLatin1Char('/'));
}

// Why the file system cannot take a name: a path component longer than the folder's file
// system allows (255 bytes on most), counted in the bytes the name is written in; else nothing.
std::optional<QString> nameTooLong(const QString& path) {
    const QFileInfo file(path);
    long limit = ::pathconf(QFile::encodeName(file.absolutePath()).constData(), _PC_NAME_MAX);
    if (limit <= 0) limit = 255;
    for (const QString& part : file.absoluteFilePath().split(QLatin1Char('/'), Qt::SkipEmptyParts)) {
        const auto bytes = QFile::encodeName(part).size();
        if (bytes > limit)
            return QString::fromStdString(translated(
                "%1$s\nThe name is too long for the file system: it has %2$s bytes, and a name there may "
                "have at most %3$s.\nChoose a shorter name.",
                {shownPath(file.absoluteFilePath()).toStdString(), std::to_string(bytes), std::to_string(limit)}));
    }
    return std::nullopt;
}

// A file dialog that returns any name typed, whether or not such a file exists, refuses a name
// in a folder that does not exist, when asked to, and takes a typed name with double quotes as
// it stands: QFileDialog reads quotes as a list of names. A name too long for the file system
// is refused with a message: QFileDialog itself only greys out its accept button for a name
// longer than the folder's file system takes (and accept() then returns without a word).
class TakeFileDialog final : public QFileDialog {
public:
    TakeFileDialog(QWidget* parent, bool folderMustExist) : QFileDialog(parent), folderMustExist_(folderMustExist) {}

    // The file the user accepted.
    QString chosenFile() const {
        if (!literalChoice_.isEmpty()) return literalChoice_;
        const QStringList chosen = selectedFiles();
        return chosen.isEmpty() ? QString() : chosen.first();
    }

    void accept() override {
        const QString typed = typedName();
        if (typed.contains(QLatin1Char('"'))) {
            acceptLiteral(directory().absoluteFilePath(typed));
            return;
        }
        const QStringList chosen = selectedFiles();
        if (!chosen.isEmpty() && (!nameFits(chosen.first()) || !folderExistsFor(chosen.first()))) return;
        QFileDialog::accept();
    }

protected:
    // QFileDialog greys out its accept button whenever the name changes, as the name is typed
    // or the folder changes under it; it is made usable again right after.
    void showEvent(QShowEvent* event) override {
        auto* buttons = findChild<QDialogButtonBox*>(QStringLiteral("buttonBox"));
        auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        if (buttons && edit && !acceptButton_) {
            acceptButton_ =
                buttons->button(acceptMode() == AcceptSave ? QDialogButtonBox::Save : QDialogButtonBox::Open);
            connect(edit, &QLineEdit::textChanged, this, &TakeFileDialog::keepAcceptUsable);
            connect(this, &QFileDialog::directoryEntered, this, &TakeFileDialog::keepAcceptUsable,
                    Qt::QueuedConnection);
        }
        QFileDialog::showEvent(event);
    }

private:
    QString typedName() const {
        const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        return edit ? edit->text() : QString();
    }

    // The accept button stays usable for a name that is too long, so that the user learns why.
    void keepAcceptUsable() {
        const QStringList chosen = selectedFiles();
        if (acceptButton_ && !chosen.isEmpty() && nameTooLong(chosen.first())) acceptButton_->setEnabled(true);
    }

    bool nameFits(const QString& path) {
        const std::optional<QString> refusal = nameTooLong(path);
        if (refusal) QMessageBox::warning(this, windowTitle(), *refusal);
        return !refusal;
    }

    bool folderExistsFor(const QString& path) {
        const QFileInfo file(path);
        if (!folderMustExist_ || file.isDir() || file.absoluteDir().exists()) return true;
        QMessageBox::warning(
            this, windowTitle(),
            QString::fromStdString(translated("%s\nThe folder does not exist.\nCheck the path and try again.",
                                              {QDir::toNativeSeparators(file.absoluteFilePath()).toStdString()})));
        return false;
    }

    void acceptLiteral(const QString& path) {
        if (!nameFits(path) || !folderExistsFor(path)) return;
        const QFileInfo file(path);
        if (acceptMode() == AcceptSave && file.exists() && !testOption(DontConfirmOverwrite) &&
            QMessageBox::warning(this, windowTitle(),
                                 tr("%1 already exists.\nDo you want to replace it?").arg(file.fileName()),
                                 QMessageBox::Yes | QMessageBox::No, QMessageBox::No) != QMessageBox::Yes)
            return;
        literalChoice_ = path;
        QDialog::accept();
    }

    bool folderMustExist_;
    QString literalChoice_;
    QPushButton* acceptButton_ = nullptr;
};

// Runs a dialog until it is answered. Qt keeps each icon a dialog draws, scaled, in its pixmap
// cache under a key of that icon alone, made anew with every dialog: no later dialog finds it,
// and without this each box and file list would hold its icons until the cache is full (10 MiB).
int answerOf(QDialog& dialog) {
    const int answer = dialog.exec();
    QPixmapCache::clear();
    return answer;
}

} // namespace

QWidget* dialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

void QtMessageBox::show(const std::string& text, MessageStyle style, const std::string& title) {
    QMessageBox box(iconOf(style), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    dialogParent());
    answerOf(box);
}

SaveAnswer QtMessageBox::askToSave(const std::string& text, const std::string& title) {
    QMessageBox box(QMessageBox::Question, QString::fromStdString(title), QString::fromStdString(text),
                    QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, dialogParent());
    // The words stand as they are, whatever the desktop's style would call the buttons.
    box.button(QMessageBox::Save)->setText(uiText("Save"));
    box.button(QMessageBox::Discard)->setText(uiText("Discard"));
    box.button(QMessageBox::Cancel)->setText(uiText("Cancel"));
    box.setDefaultButton(QMessageBox::Save);
    box.setEscapeButton(QMessageBox::Cancel);
    switch (answerOf(box)) {
    case QMessageBox::Save:
        return SaveAnswer::save;
    case QMessageBox::Discard:
        return SaveAnswer::discard;
    default:
        return SaveAnswer::cancel;
    }
}

QString nameFilterOf(const FileFilter& filter) {
    QStringList patterns;
    for (const std::string& pattern : filter.patterns)
        patterns << QString::fromStdString(pattern);
    const QString description = uiText(filter.description.c_str());
    const QString shown = QStringLiteral("(%1)").arg(patterns.join(QLatin1Char(' ')));
    if (description.endsWith(shown)) return description;
    return QStringLiteral("%1 %2").arg(description, shown);
}

std::optional<std::string> QtFileDialog::showSave() { return show(true); }
std::optional<std::string> QtFileDialog::showOpen() { return show(false); }

std::optional<std::string> QtFileDialog::show(bool save) {
    TakeFileDialog dialog(dialogParent(), setup_.folderMustExist);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QString::fromStdString(setup_.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, !setup_.askBeforeOverwrite);
    // The dialog's file list matches name filters without regard to case (QDir::CaseSensitive
    // is not among its filters), so "*.Wav" also lists a.wav and B.WAV.
    dialog.setNameFilters({nameFilterOf(setup_.filter)});
    if (lastFileName_.isEmpty()) {
        if (const std::string home = userHomeFolder(); !home.empty())
            dialog.setDirectory(QFile::decodeName(home.c_str()));
    } else {
        dialog.selectFile(lastFileName_);
    }
    if (answerOf(dialog) != QDialog::Accepted || dialog.chosenFile().isEmpty()) return std::nullopt;
    lastFileName_ = dialog.chosenFile();
    return QFile::encodeName(lastFileName_).toStdString();
}

} // namespace murmora::qt
