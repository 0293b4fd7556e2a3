#include "platform/qt/form2_window.h"

#include <cmath>

#include <QCloseEvent>

#include "platform/qt/shaped_form_window.h"

namespace murmora {

namespace {

// Converts a design rectangle in twips to pixels of this screen.
class TwipsLayout {
public:
    explicit TwipsLayout(const ScreenMetrics& screen) : screen_(screen) {}
    int Across(int twips) const { return static_cast<int>(std::lround(twips / screen_.twipsPerPixelX())); }
    int Down(int twips) const { return static_cast<int>(std::lround(twips / screen_.twipsPerPixelY())); }
    QRect Rect(int left, int top, int width, int height) const {
        return {Across(left), Down(top), Across(width), Down(height)};
    }

private:
    const ScreenMetrics& screen_;
};

QGroupBox* Frame(QWidget* parent, const QRect& geometry, const QString& caption) {
    auto* frame = new QGroupBox(caption, parent);
    frame->setGeometry(geometry);
    return frame;
}

void Heading(QWidget* parent, const QRect& geometry, const QString& caption) {
    auto* label = new QLabel(caption, parent);
    label->setGeometry(geometry);
}

} // namespace

Form2Window::Form2Window(QWidget* owner, const ScreenMetrics& screen)
    : QDialog(owner, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                         Qt::WindowCloseButtonHint),
      Frame2(Frame(this, TwipsLayout(screen).Rect(120, 100, 2775, 1575), tr("Set Recording Time"))),
      Frame1(Frame(this, TwipsLayout(screen).Rect(3000, 100, 2055, 1575), tr("Set Recording Duration"))),
      Frame3(Frame(this, TwipsLayout(screen).Rect(120, 1790, 2775, 735), tr("Save As"))),
      Frame4(Frame(this, TwipsLayout(screen).Rect(3000, 1790, 2055, 735), tr("AutoRecord"))),
      Text1(new QtTextBox(Frame2, TwipsLayout(screen).Rect(120, 480, 495, 285))),
      Text2(new QtTextBox(Frame2, TwipsLayout(screen).Rect(720, 480, 495, 285))),
      Text3(new QtTextBox(Frame2, TwipsLayout(screen).Rect(1320, 480, 495, 285))),
      Text4(new QtTextBox(Frame2, TwipsLayout(screen).Rect(1920, 480, 495, 285))),
      Text5(new QtTextBox(Frame1, TwipsLayout(screen).Rect(120, 480, 495, 285))),
      Text6(new QtTextBox(Frame1, TwipsLayout(screen).Rect(720, 480, 495, 285))),
      Text7(new QtTextBox(Frame1, TwipsLayout(screen).Rect(1320, 480, 495, 285))),
      Text8(new QtTextBox(Frame3, TwipsLayout(screen).Rect(880, 290, 1815, 285))),
      VScroll1(new QtSpinner(Frame2, TwipsLayout(screen).Rect(240, 840, 255, 615), 1, 12)),
      VScroll2(new QtSpinner(Frame2, TwipsLayout(screen).Rect(840, 840, 255, 615), 0, 59)),
      VScroll3(new QtSpinner(Frame2, TwipsLayout(screen).Rect(1440, 840, 255, 615), 0, 59)),
      VScroll4(new QtSpinner(Frame2, TwipsLayout(screen).Rect(2040, 840, 255, 615), 1, 2)),
      VScroll5(new QtSpinner(Frame1, TwipsLayout(screen).Rect(240, 840, 255, 615), 0, 9)),
      VScroll6(new QtSpinner(Frame1, TwipsLayout(screen).Rect(840, 840, 255, 615), 0, 59)),
      VScroll7(new QtSpinner(Frame1, TwipsLayout(screen).Rect(1440, 840, 255, 615), 0, 59)),
      Command1(new QPushButton(tr("File"), Frame3)),
      Check1(new QtCheckBox(Frame4, TwipsLayout(screen).Rect(120, 290, 1335, 255), tr("Activate"))) {
    const TwipsLayout layout(screen);
    setObjectName(QStringLiteral("Form2"));
    setDesignFont(this);
    setWindowTitle(QStringLiteral("Murmora - Record Panel"));
    setFixedSize(layout.Across(5175), layout.Down(2610));
    Heading(Frame2, layout.Rect(240, 240, 255, 255), tr("hr"));
    Heading(Frame2, layout.Rect(840, 240, 375, 255), tr("min"));
    Heading(Frame2, layout.Rect(1440, 240, 375, 255), tr("sec"));
    Heading(Frame2, layout.Rect(1920, 240, 615, 255), tr("AM/PM"));
    Heading(Frame1, layout.Rect(240, 240, 375, 255), tr("hrs"));
    Heading(Frame1, layout.Rect(840, 240, 495, 255), tr("mins"));
    Heading(Frame1, layout.Rect(1440, 240, 495, 255), tr("secs"));
    Command1->setGeometry(layout.Rect(120, 260, 735, 350));
    Command1->setAutoDefault(false);
    // The spinners alone set the time and the duration: what a box shows is what is used.
    for (QtTextBox* box : {Text1, Text2, Text3, Text4, Text5, Text6, Text7}) box->setReadOnly(true);
}

void Form2Window::reject() { close(); }

void Form2Window::closeEvent(QCloseEvent* event) {
    if (onQueryClose && onQueryClose()) {
        event->ignore();
    } else {
        event->accept();
    }
}

} // namespace murmora
