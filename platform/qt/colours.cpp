#include "platform/qt/colours.h"

#include <QApplication>
#include <QPalette>
#include <QWidget>

namespace vaskelo::qt {

namespace {

QPalette::ColorRole roleOf(unsigned systemIndex) {
    if (systemIndex == systemColourIndex(kScrollBarColour)) return QPalette::Midlight;
    if (systemIndex == systemColourIndex(kWindowBackground)) return QPalette::Base;
    if (systemIndex == systemColourIndex(kWindowText)) return QPalette::Text;
    if (systemIndex == systemColourIndex(kButtonText)) return QPalette::ButtonText;
    return QPalette::Button;  // button face, and the closest match for any other number
}

}  // namespace

QColor toQColor(ColourValue colour) {
    if (isSystemColour(colour)) return QApplication::palette().color(roleOf(systemColourIndex(colour)));
    return {static_cast<int>(redOf(colour)), static_cast<int>(greenOf(colour)), static_cast<int>(blueOf(colour))};
}

void setColours(QWidget* widget, ColourValue background, ColourValue foreground) {
    QPalette palette = widget->palette();
    const QColor back = toQColor(background);
    const QColor text = toQColor(foreground);
    palette.setColor(QPalette::Window, back);
    palette.setColor(QPalette::Base, back);
    palette.setColor(QPalette::Button, back);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    widget->setPalette(palette);
}

}  // namespace vaskelo::qt
