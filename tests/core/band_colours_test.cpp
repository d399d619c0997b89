#include "core/band_colours.h"
#include "core/readable_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace vaskelo {
namespace {

struct LookupRow {
    const char* label;
    std::string text;
    bool found;
    int digit;  // -1: no digit
    ColourValue swatch;
};

TEST(BandColourTable, LookupIsExactAndCaseSensitive) {
    const std::vector<LookupRow> rows = {
        {"black", "Siyah", true, 0, 0x000000},
        {"brown", "Kahverengi", true, 1, 0x0040C0},
        {"red with dotless i", "Kırmızı", true, 2, 0x0000FF},
        {"orange", "Turuncu", true, 3, 0x80C0FF},
        {"yellow", "Sarı", true, 4, 0x00FFFF},
        {"green", "Yeşil", true, 5, 0x00FF00},
        {"blue", "Mavi", true, 6, 0xFF0000},
        {"violet", "Mor", true, 7, 0x800080},
        {"grey", "Gri", true, 8, 0x808080},
        {"white", "Beyaz", true, 9, 0xFFFFFF},
        {"gold", "Altın", true, -1, 0xC0FFFF},
        {"silver", "Gümüş", true, -1, 0xE0E0E0},
        {"lower case", "siyah", false, -1, 0},
        {"trailing blank", "Siyah ", false, -1, 0},
        {"leading blank", " Siyah", false, -1, 0},
        {"dotted i for dotless", "Kirmizi", false, -1, 0},
        {"upper case", "KIRMIZI", false, -1, 0},
        {"decomposed u umlaut", "Gu\xCC\x88mu\xCC\x88s\xCC\xA7", false, -1, 0},
        {"placeholder", "?", false, -1, 0},
        {"no multiplier", "-", false, -1, 0},
        {"empty", "", false, -1, 0},
        {"embedded nul", std::string("Mor\0", 4), false, -1, 0},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        const BandColour* found = findBandColour(row.text);
        ASSERT_EQ(found != nullptr, row.found);
        if (found == nullptr) continue;
        EXPECT_EQ(found->digit.value_or(-1), row.digit);
        EXPECT_EQ(found->swatch, row.swatch);
    }
}

TEST(BandColourTable, OnlyTheToleranceColoursHaveToleranceTexts) {
    for (const BandColour& row : kBandColours) {
        SCOPED_TRACE(std::string(row.name));
        EXPECT_NE(row.digit.has_value(), row.tolerance.has_value());
    }
    EXPECT_EQ(findBandColour("Altın")->tolerance, "%5");
    EXPECT_EQ(findBandColour("Gümüş")->tolerance, "%10");
}

TEST(BandColourTable, ListsHoldTheirEntriesInOrderUnsorted) {
    using Entries = std::vector<std::string_view>;
    const auto entries = [](BandList list) {
        const auto span = bandEntries(list);
        return Entries(span.begin(), span.end());
    };
    const Entries digits = {"Siyah", "Kahverengi", "Kırmızı", "Turuncu", "Sarı",
                            "Yeşil", "Mavi", "Mor", "Gri", "Beyaz"};
    EXPECT_EQ(entries(BandList::Cr1), Entries(digits.begin() + 1, digits.end()));
    EXPECT_EQ(entries(BandList::Cr2), digits);
    Entries band3 = digits;
    band3.push_back("-");
    EXPECT_EQ(entries(BandList::Cr3), band3);
    EXPECT_EQ(entries(BandList::Cr4), (Entries{"Altın", "Gümüş"}));

    EXPECT_FALSE(isEntryOf(BandList::Cr1, "Siyah"));
    EXPECT_TRUE(isEntryOf(BandList::Cr3, "-"));
    EXPECT_FALSE(isEntryOf(BandList::Cr2, "-"));
    EXPECT_FALSE(isEntryOf(BandList::Cr3, "?"));
}

// Text on a background the program fixes: the scheme's text colour while it reaches
// 4.5:1 against it, black otherwise; scheme backgrounds and the program's own text
// colours are left alone.
TEST(BandColourTable, TextOnAFixedBackgroundStaysReadable) {
    struct Row {
        const char* label;
        ColourValue background;
        ColourValue shown;  // the scheme's window text
        double contrast;    // of the shown text against the background, when that is fixed
        ColourValue drawn;
    };
    const std::vector<Row> rows = {
        {"light scheme: black on white kept", kWhite, 0x000000, 21.0, 0x000000},
        {"dark scheme: near-white on white turns black", kWhite, 0xF0F0F0, 1.14, kBlackColour},
        {"high contrast: white on white turns black", kWhite, 0xFFFFFF, 1.0, kBlackColour},
        {"grey just reaching 4.5 kept", kWhite, 0x767676, 4.54, 0x767676},
        {"grey just short of 4.5 turns black", kWhite, 0x777777, 4.48, kBlackColour},
        {"pure red, weighed by luminance, turns black", kWhite, 0x0000FF, 4.0, kBlackColour},
        {"dark text on a gold swatch kept", 0xC0FFFF, 0x202020, 15.76, 0x202020},
        {"scheme background left to the scheme", kWindowBackground, 0xF0F0F0, 0.0, 0xF0F0F0},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.label);
        if (!isSystemColour(row.background)) {
            EXPECT_NEAR(contrastRatio(row.shown, row.background), row.contrast, 0.01);
        }
        EXPECT_EQ(readableTextColour(kWindowText, row.background, row.shown), row.drawn);
    }
    EXPECT_DOUBLE_EQ(contrastRatio(kWhite, 0x767676), contrastRatio(0x767676, kWhite));
    // Text colours the program chose itself are drawn as chosen.
    EXPECT_EQ(readableTextColour(0xF0F0F0, kWhite, 0xF0F0F0), 0xF0F0F0u);
}

}  // namespace
}  // namespace vaskelo
