#pragma once
#include <QString>
#include <QStringList>

#include "platform/dialogs.h"

class QWidget;

namespace murmora {

// The window a dialog belongs to: the open modal window, else the active one.
QWidget* DialogParent();

// Modal message boxes with an OK button only.
class QtMessageBox final : public MessageBox {
public:
    void MsgBox(const std::string& prompt, int style, const std::string& title) override;
};

// "Description|pattern|Description|pattern" as Qt name filters: "Wav File (*.Wav)". A pattern
// list "*.a;*.b" becomes "*.a *.b"; a description without its patterns gets them appended.
QStringList NameFiltersOf(const std::string& filter);

// A non-native file dialog object that remembers the last chosen file between uses.
// File names match the filter's patterns without regard to case. Open and Save alike return
// the name typed as it stands, whether or not such a file exists.
class QtFileDialog final : public FileDialog {
public:
    void Configure(const FileDialogSetup& setup) override { setup_ = setup; }
    std::optional<std::string> ShowSave() override;
    std::optional<std::string> ShowOpen() override;

private:
    std::optional<std::string> Show(bool save);

    FileDialogSetup setup_;
    QString lastFileName_;
};

} // namespace murmora
