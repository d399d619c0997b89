#include "value_text.h"

#include <algorithm>
#include <array>

#include "band_colours.h"

namespace vaskelo {

namespace {

// Decimal: the unit follows the first digit, or "d1,d2" when band 2 is not black.
// Whole: both digits, then the suffix, a zero second digit included.
enum class Form { Decimal, Whole };

struct Multiplier {
    std::string_view band3;
    Form form;
    std::string_view suffix;
};

constexpr std::array<Multiplier, 11> kMultipliers{{
    {kNoMultiplier, Form::Decimal, "Ohm"},
    {texts::kSiyah, Form::Whole, " Ohm"},
    {texts::kKahverengi, Form::Whole, "0 Ohm"},
    {texts::kKirmizi, Form::Decimal, "K"},
    {texts::kTuruncu, Form::Whole, "K"},
    {texts::kSari, Form::Whole, "0K"},
    {texts::kYesil, Form::Decimal, "M"},
    {texts::kMavi, Form::Whole, "M"},
    {texts::kMor, Form::Whole, "0M"},
    {texts::kGri, Form::Whole, "00M"},
    {texts::kBeyaz, Form::Whole, "000M"},
}};

}  // namespace

std::optional<std::string> valueText(std::string_view firstDigit, std::string_view secondDigit,
                                     bool band2IsBlack, std::string_view band3) {
    const auto it = std::find_if(kMultipliers.begin(), kMultipliers.end(),
                                 [band3](const Multiplier& m) { return m.band3 == band3; });
    if (it == kMultipliers.end()) return std::nullopt;

    std::string text(firstDigit);
    switch (it->form) {
        case Form::Decimal:
            if (!band2IsBlack) {
                text += ',';
                text += secondDigit;
            }
            break;
        case Form::Whole:
            text += secondDigit;
            break;
    }
    text += it->suffix;
    return text;
}

}  // namespace vaskelo
