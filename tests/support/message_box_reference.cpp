// Shows a message box as the program draws one, to hold the program's box against: X tells
// nobody the text of a window, but two boxes drawn alike with the same text look alike.
//   message_box_reference critical|warning|information TITLE TEXT
#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) return 2;
    const QString style = QString::fromUtf8(argv[1]);
    const QMessageBox::Icon icon = style == QLatin1String("critical")  ? QMessageBox::Critical
                                   : style == QLatin1String("warning") ? QMessageBox::Warning
                                                                       : QMessageBox::Information;
    QMessageBox box(icon, QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]), QMessageBox::Ok);
    box.exec();
    return 0;
}
