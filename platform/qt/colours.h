// Colour values (0x00BBGGRR, or a system colour number) as Qt colours; system
// colours are looked up in the application palette, so they follow the user's scheme.
#pragma once

#include <QColor>

#include "core/colour.h"

class QWidget;

namespace vaskelo::qt {

QColor toQColor(ColourValue colour);
// A Qt colour as a plain colour value, its alpha dropped.
ColourValue toColourValue(const QColor& colour);
// Paints the widget's background (and, for an editable field, its base) in
// `background`, and its text in `foreground`, or in black where the scheme's text
// would not be readable on a background of the program's own.
void setColours(QWidget* widget, ColourValue background, ColourValue foreground);
// The same for a drop-down list's field and open list only: its button keeps the
// scheme's button face, as a Windows combo box does.
void setFieldColours(QWidget* combo, ColourValue background, ColourValue foreground);

}  // namespace vaskelo::qt
