#pragma once
#include <QString>
#include <QStringList>

#include "platform/dialogs.h"

class QWidget;

namespace murmora::qt {

// The window a dialog belongs to: the open modal window, else the active one.
QWidget* dialogParent();

// Modal message boxes.
class QtMessageBox final : public MessageBoxes {
public:
    void show(const std::string& text, MessageStyle style, const std::string& title) override;
    SaveAnswer askToSave(const std::string& text, const std::string& title) override;
};

// The filter as Qt's name filter: "Wav File (*.Wav)"; a description that does not show its
// patterns gets them appended, "Sound (*.wav *.aiff)".
QString nameFilterOf(const FileFilter& filter);

// A non-native file dialog object that remembers the last chosen file between uses.
// File names match the filter's patterns without regard to case. Open and Save alike return
// the name typed as it stands, whether or not such a file exists.
class QtFileDialog final : public FileDialog {
public:
    void configure(const FileDialogSetup& setup) override { setup_ = setup; }
    std::optional<std::string> showSave() override;
    std::optional<std::string> showOpen() override;

private:
    std::optional<std::string> show(bool save);

    FileDialogSetup setup_;
    QString lastFileName_;
};

} // namespace murmora::qt
