// Shows a message box as the program draws one, to hold the program's box against: X tells
// nobody the text of a window, but two boxes drawn alike with the same text look alike.
//   message_box_reference critical|warning|information|save-question TITLE TEXT
// The answer to the save question is printed: save, discard or cancel.
#include <QApplication>
#include <cstdio>

#include "platform/qt/qt_dialogs.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    if (argc != 4) return 2;
    const std::string style = argv[1];
    murmora::qt::QtMessageBox boxes;
    if (style == "save-question") {
        const murmora::SaveAnswer answer = boxes.askToSave(argv[3], argv[2]);
        std::puts(answer == murmora::SaveAnswer::save      ? "save"
                  : answer == murmora::SaveAnswer::discard ? "discard"
                                                           : "cancel");
        return 0;
    }
    boxes.show(argv[3],
               style == "critical"  ? murmora::MessageStyle::critical
               : style == "warning" ? murmora::MessageStyle::exclamation
                                    : murmora::MessageStyle::information,
               argv[2]);
    return 0;
}
