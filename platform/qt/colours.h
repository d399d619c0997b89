// Colour values (0x00BBGGRR, or a system colour number) as Qt colours; system
// colours are looked up in the application palette, so they follow the user's scheme.
#pragma once

#include <QColor>

#include "core/colour.h"

class QWidget;

namespace vaskelo::qt {

QColor toQColor(ColourValue colour);
// Paints the widget's background (and, for an editable field, its base) in
// `background`, and its text in `foreground`.
void setColours(QWidget* widget, ColourValue background, ColourValue foreground);

}  // namespace vaskelo::qt
