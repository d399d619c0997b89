// Text colours that stay readable whatever the user's colour scheme. A control whose
// background the program fixes (band 4's white list) keeps that background in every
// scheme, but its text comes from the scheme, and a dark scheme's near-white text
// vanishes on white. Both toolkit layers ask here which colour to draw such text in.
#pragma once

#include "core/colour.h"

namespace vaskelo {

// The least contrast ratio at which ordinary text counts as readable (WCAG 2, level AA).
inline constexpr double kReadableContrast = 4.5;

// The WCAG 2 contrast ratio of two plain colours (0x00BBGGRR): from 1 (alike) to 21
// (black against white), the same whichever is given first.
double contrastRatio(ColourValue a, ColourValue b);

// The colour to draw a control's text in. `text` and `background` are the control's
// colour values as the window describes them; `textShown` is `text` as the current
// scheme shows it. Scheme text on a fixed background is kept while it reaches
// kReadableContrast and is black otherwise; any other pair is the scheme's or the
// program's own choice and is drawn as it is.
ColourValue readableTextColour(ColourValue text, ColourValue background, ColourValue textShown);

}  // namespace vaskelo
