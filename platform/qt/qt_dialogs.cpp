#include "platform/qt/qt_dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>

#include "platform/qt/qt_files.h"

namespace murmora {

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

// A file dialog that returns any name typed, whether or not such a file exists, refuses a name
// in a folder that does not exist, when asked to, and takes a typed name with double quotes as
// it stands: QFileDialog reads quotes as a list of names.
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
        if (!chosen.isEmpty() && !folderExistsFor(chosen.first())) return;
        QFileDialog::accept();
    }

private:
    QString typedName() const {
        const auto* edit = findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
        return edit ? edit->text() : QString();
    }

    bool folderExistsFor(const QString& path) {
        const QFileInfo file(path);
        if (!folderMustExist_ || file.isDir() || file.absoluteDir().exists()) return true;
        QMessageBox::warning(this, windowTitle(),
                             tr("%1\nThe folder does not exist.\nCheck the path and try again.")
                                 .arg(QDir::toNativeSeparators(file.absoluteFilePath())));
        return false;
    }

    void acceptLiteral(const QString& path) {
        if (!folderExistsFor(path)) return;
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
};

} // namespace

QWidget* dialogParent() {
    if (QWidget* modal = QApplication::activeModalWidget()) return modal;
    return QApplication::activeWindow();
}

void QtMessageBox::show(const std::string& text, MessageStyle style, const std::string& title) {
    QMessageBox box(iconOf(style), QString::fromStdString(title), QString::fromStdString(text), QMessageBox::Ok,
                    dialogParent());
    box.exec();
}

QStringList nameFiltersOf(const std::string& filter) {
    const QStringList parts = QString::fromStdString(filter).split(QLatin1Char('|'));
    QStringList filters;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        const QString description = parts[i].trimmed();
        const QString patterns = parts[i + 1].split(QLatin1Char(';'), Qt::SkipEmptyParts).join(QLatin1Char(' '));
        const QString shown = QStringLiteral("(%1)").arg(patterns);
        filters << (description.endsWith(shown) ? description : QStringLiteral("%1 %2").arg(description, shown));
    }
    return filters;
}

std::optional<std::string> QtFileDialog::showSave() { return show(true); }
std::optional<std::string> QtFileDialog::showOpen() { return show(false); }

std::optional<std::string> QtFileDialog::show(bool save) {
    TakeFileDialog dialog(dialogParent(), (setup_.flags & kFolderMustExist) != 0);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setWindowTitle(QString::fromStdString(setup_.title));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setOption(QFileDialog::DontConfirmOverwrite, (setup_.flags & kAskBeforeOverwrite) == 0);
    // The dialog's file list matches name filters without regard to case (QDir::CaseSensitive
    // is not among its filters), so "*.Wav" also lists a.wav and B.WAV.
    dialog.setNameFilters(nameFiltersOf(setup_.filter));
    if (lastFileName_.isEmpty()) {
        if (const std::string home = userHomeFolder(); !home.empty())
            dialog.setDirectory(QFile::decodeName(home.c_str()));
    } else {
        dialog.selectFile(lastFileName_);
    }
    if (dialog.exec() != QDialog::Accepted || dialog.chosenFile().isEmpty()) return std::nullopt;
    lastFileName_ = dialog.chosenFile();
    return QFile::encodeName(lastFileName_).toStdString();
}

} // namespace murmora
