// Every band combination a user can pick, checked against a resistance computed
// as a number and written out independently of how the program joins its texts.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>

#include "core/band_colours.h"
#include "fake_form.h"

namespace vaskelo {
namespace {

// The value in tenths of an ohm, from the band colours' digits; "-" divides by ten.
std::int64_t tenthsOfOhm(int d1, int d2, std::string_view band3) {
    std::int64_t value = 10 * d1 + d2;
    if (band3 == "-") return value;
    const int exponent = *findBandColour(band3)->digit;
    for (int i = 0; i <= exponent; ++i) value *= 10;
    return value;
}

// Ohm below a kilo-ohm, K below a megaohm, M above; one decimal place with a comma
// where the value is not whole in its unit; a blank before "Ohm" from ten ohms up.
std::string notation(std::int64_t tenths) {
    std::int64_t unit = 1;
    std::string suffix = "Ohm";
    if (tenths >= 10'000'000) {
        unit = 1'000'000;
        suffix = "M";
    } else if (tenths >= 10'000) {
        unit = 1'000;
        suffix = "K";
    } else if (tenths >= 100) {
        suffix = " Ohm";
    }
    const std::int64_t inUnit = tenths / unit;  // still in tenths
    std::string text = std::to_string(inUnit / 10);
    if (inUnit % 10 != 0) text += "," + std::to_string(inUnit % 10);
    return text + suffix;
}

TEST(ValueOracle, EveryPickableCombinationReadsAsItsResistance) {
    int checked = 0;
    for (const std::string_view b1 : bandEntries(BandList::Cr1)) {
        for (const std::string_view b2 : bandEntries(BandList::Cr2)) {
            for (const std::string_view b3 : bandEntries(BandList::Cr3)) {
                for (const std::string_view b4 : bandEntries(BandList::Cr4)) {
                    testing::Harness h;
                    h.pick(BandList::Cr1, b1);
                    h.pick(BandList::Cr2, b2);
                    h.pick(BandList::Cr3, b3);
                    h.pick(BandList::Cr4, b4);
                    h.form.CommDH_Click();

                    const auto d1 = *findBandColour(b1)->digit;
                    const auto d2 = *findBandColour(b2)->digit;
                    ASSERT_EQ(h.window.state.result, notation(tenthsOfOhm(d1, d2, b3)))
                        << b1 << ' ' << b2 << ' ' << b3;
                    ASSERT_EQ(h.window.state.tolerance, b4 == "Altın" ? "%5" : "%10");
                    ++checked;
                }
            }
        }
    }
    EXPECT_EQ(checked, 9 * 10 * 11 * 2);
}

}  // namespace
}  // namespace vaskelo
