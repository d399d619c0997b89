// What a screen reader says for the controls whose spoken name follows what they
// show. Both toolkit layers take their words from here, so they say the same.
#pragma once

#include <string>
#include <string_view>

#include "core/colour.h"
#include "core/form_ops.h"
#include "core/texts.h"

namespace vaskelo {

// Said for a swatch that shows no picked colour.
inline constexpr std::string_view kNoColourChosen = texts::kNoColourChosen;

// The band list whose colour a swatch shows.
BandList bandListOf(Swatch swatch);

// A swatch's spoken name: what it is (its accessible name in the window
// description) and the band colour it shows, e.g. "1. bandın rengi: Sarı".
// `bandText` is what its band list shows.
std::string swatchSpokenName(std::string_view what, ColourValue colour, std::string_view bandText);

}  // namespace vaskelo
