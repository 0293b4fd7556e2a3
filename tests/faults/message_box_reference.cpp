// Shows a message box as the program draws one, to hold the program's box against: X tells
// nobody the text of a window, but two boxes drawn alike with the same text look alike.
//   fault_message_box_reference warning|information TITLE TEXT
#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) return 2;
    const QMessageBox::Icon icon =
        QString::fromUtf8(argv[1]) == QLatin1String("warning") ? QMessageBox::Warning : QMessageBox::Information;
    QMessageBox box(icon, QString::fromUtf8(argv[2]), QString::fromUtf8(argv[3]), QMessageBox::Ok);
    box.exec();
    return 0;
}
