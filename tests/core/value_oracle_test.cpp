// Every band combination a user can pick, checked against a resistance computed
// as a number and written out independently of how the program joins its texts.
#include <gtest/gtest.h>

#include "core/band_colours.h"
#include "fake_form.h"
#include "model/window_model.h"

namespace vaskelo {
namespace {

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
                    ASSERT_EQ(h.window.state.result, model::valueNotation(d1, d2, b3))
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
