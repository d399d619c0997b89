#include "ui/spoken_names.h"

#include "core/band_colours.h"

namespace vaskelo {

BandList bandListOf(Swatch swatch) {
    for (const BandList list : kAllBandLists) {
        if (swatchOf(list) == swatch) return list;
    }
    return BandList::Cr1;
}

std::string swatchSpokenName(std::string_view what, ColourValue colour, std::string_view bandText) {
    std::string_view shown = kNoColourChosen;
    // White is both "Beyaz" and what start-up and a reset paint, so a white swatch
    // whose list shows "?" has no colour picked. A system colour is no band colour.
    if (!isSystemColour(colour) && !(colour == kWhite && bandText == kUnchosen)) {
        for (const BandColour& row : kBandColours) {
            if (row.swatch == colour) {
                shown = row.name;
                break;
            }
        }
    }
    std::string spoken(what);
    spoken += ": ";
    spoken += shown;
    return spoken;
}

}  // namespace vaskelo
