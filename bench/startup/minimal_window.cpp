// The reference for the start-up benchmark: an empty Qt window of the panel's size.
#include <QApplication>
#include <QWidget>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QWidget window;
    window.setWindowTitle("MinimalWindow");
    window.resize(204, 231);
    window.show();
    return app.exec();
}
