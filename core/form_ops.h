// What the commands need from the main window's controls. A toolkit layer
// implements it; every operation reports a status, which the caller checks at once.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "band_colours.h"
#include "colour.h"

namespace vaskelo {

enum class Swatch { pr1, pr2, pr3, pr4 };
inline constexpr std::array kAllSwatches{Swatch::pr1, Swatch::pr2, Swatch::pr3, Swatch::pr4};

// The labels the commands write to.
enum class Label { Ls1, Les2 };

std::string_view controlName(Swatch swatch);
std::string_view controlName(Label label);

// The swatch that shows a band's colour.
Swatch swatchOf(BandList list);

// Outcome of one control operation: zero is success, anything else a failure code.
struct [[nodiscard]] Status {
    std::int32_t code = 0;
    bool failed() const { return code != 0; }
};
inline constexpr Status kOk{};
// The code a toolkit layer reports when it has no better one of its own.
inline constexpr Status kGenericFailure{static_cast<std::int32_t>(0x80004005u)};

class FormOps {
public:
    virtual ~FormOps() = default;

    // The text the list's edit field shows now: an entry, "?" or whatever was typed.
    virtual Status bandText(BandList list, std::string& text) = 0;
    // Shows `text` in the list's field; this is never a user's pick, so no command runs.
    virtual Status setBandText(BandList list, std::string_view text) = 0;
    virtual Status setSwatchColour(Swatch swatch, ColourValue colour) = 0;
    virtual Status setCaption(Label label, std::string_view caption) = 0;
    virtual Status setFontSize(Label label, float points) = 0;
    virtual Status setTop(Label label, float twips) = 0;
    // Ends the program at once: the window goes away and no further command runs.
    virtual void endProgram() = 0;
};

}  // namespace vaskelo
