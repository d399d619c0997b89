#include "platform/qt/colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

#include "core/readable_text.h"

namespace vaskelo::qt {

namespace {

QPalette::ColorRole roleOf(unsigned systemIndex) {
    if (systemIndex == systemColourIndex(kScrollBarColour)) return QPalette::Midlight;
    if (systemIndex == systemColourIndex(kWindowBackground)) return QPalette::Base;
    if (systemIndex == systemColourIndex(kWindowText)) return QPalette::Text;
    if (systemIndex == systemColourIndex(kButtonText)) return QPalette::ButtonText;
    return QPalette::Button;  // button face, and the closest match for any other number
}

QColor plain(ColourValue colour) {
    return {static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)), static_cast<int>(blueOf(colour))};
}

QColor textColour(ColourValue text, ColourValue background) {
    const QColor shown = toQColor(text);
    const ColourValue readable = readableTextColour(text, background, toColourValue(shown));
    // Unchanged, the scheme's colour goes on exactly as it is.
    return readable == toColourValue(shown) ? shown : plain(readable);
}

}  // namespace

QColor toQColor(ColourValue colour) {
    if (isSystemColour(colour)) return QApplication::palette().color(roleOf(systemColourIndex(colour)));
    return plain(colour);
}

ColourValue toColourValue(const QColor& colour) {
    return static_cast<ColourValue>(colour.red()) | (static_cast<ColourValue>(colour.green()) << 8) |
           (static_cast<ColourValue>(colour.blue()) << 16);
}

// Each starts from a palette with no role of its own, so that every role it leaves
// alone is inherited, and follows a change of scheme.
void setColours(QWidget* widget, ColourValue background, ColourValue foreground) {
    QPalette palette;
    const QColor back = toQColor(background);
    const QColor text = textColour(foreground, background);
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Base, back);
    palette.setColor(QPalette::Button, back);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    widget->setPalette(palette);
}

void setFieldColours(QWidget* combo, ColourValue background, ColourValue foreground) {
    QPalette palette;
    palette.setColor(QPalette::Base, toQColor(background));
    palette.setColor(QPalette::Text, textColour(foreground, background));
    combo->setPalette(palette);
}

}  // namespace vaskelo::qt
