// Shows the hotkey warning box with a given text, as a picture to hold the program's own box
// against: X tells nobody the text of a window, but two boxes drawn alike look alike.
//   message_box_reference "Can not register Hotkey Cntl+Alt+S to Stop Recording"
#include <QApplication>
#include <QMessageBox>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 2) return 2;
    QMessageBox box(QMessageBox::Critical, "Hotkey Assign", QString::fromUtf8(argv[1]), QMessageBox::Ok);
    box.exec();
    return 0;
}
