#include "ui/icon_image.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace vaskelo {
namespace {

constexpr std::uint32_t kBlack = 0xFF000000u;
constexpr std::uint32_t kDarkRed = 0xFF800000u;
constexpr std::uint32_t kOlive = 0xFF808000u;
constexpr std::uint32_t kGrey = 0xFF808080u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;
constexpr std::uint32_t kYellow = 0xFFFFFF00u;
constexpr std::uint32_t kWhite = 0xFFFFFFFFu;

constexpr std::uint32_t kWindowsPalette[16] = {
    0xFF000000u, 0xFF800000u, 0xFF008000u, 0xFF808000u, 0xFF000080u, 0xFF800080u,
    0xFF008080u, 0xFFC0C0C0u, 0xFF808080u, 0xFFFF0000u, 0xFF00FF00u, 0xFFFFFF00u,
    0xFF0000FFu, 0xFFFF00FFu, 0xFF00FFFFu, 0xFFFFFFFFu};

std::vector<std::uint8_t> iconBytes() {
    std::ifstream in(VASKELO_ICON_PATH, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

bool opaque(std::uint32_t p) { return (p >> 24) == 0xFF; }

class ProgramIcon : public ::testing::Test {
protected:
    void SetUp() override {
        auto read = readIconFile(VASKELO_ICON_PATH);
        ASSERT_TRUE(read.has_value());
        ASSERT_EQ(read->width, 32);
        ASSERT_EQ(read->height, 32);
        ASSERT_EQ(read->argb.size(), 32u * 32u);
        icon = *std::move(read);
    }
    std::uint32_t at(int x, int y) const { return icon.argb[static_cast<std::size_t>(y * 32 + x)]; }
    int countInRow(int y, std::uint32_t colour) const {
        int n = 0;
        for (int x = 0; x < 32; ++x) n += at(x, y) == colour ? 1 : 0;
        return n;
    }
    IconImage icon;
};

TEST_F(ProgramIcon, FileHoldsOne744ByteFourBitEntry) {
    const auto bytes = iconBytes();
    ASSERT_EQ(bytes.size(), 766u);
    const std::vector<std::uint8_t> entry(bytes.begin() + 6, bytes.begin() + 22);
    EXPECT_EQ(entry, (std::vector<std::uint8_t>{32, 32, 16, 0, 1, 0, 4, 0, 0xE8, 0x02, 0, 0, 22, 0, 0, 0}));
    EXPECT_EQ(icon.imageBytes, 744u);
}

TEST_F(ProgramIcon, UsesOnlyPaletteColoursAndBinaryAlpha) {
    for (const std::uint32_t p : icon.argb) {
        if (!opaque(p)) {
            EXPECT_EQ(p, 0u);
            continue;
        }
        EXPECT_NE(std::find(std::begin(kWindowsPalette), std::end(kWindowsPalette), p), std::end(kWindowsPalette))
            << std::hex << p;
    }
}

TEST_F(ProgramIcon, GapRowsAreTransparent) {
    for (const int y : {0, 13, 14, 15}) {
        for (int x = 0; x < 32; ++x) EXPECT_FALSE(opaque(at(x, y))) << x << "," << y;
    }
}

TEST_F(ProgramIcon, PlateIsFramedWhiteWithSevenRowDarkRedName) {
    int firstNameRow = -1;
    int lastNameRow = -1;
    for (int y = 16; y < 32; ++y) {
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t p = at(x, y);
            if (y == 16 || y == 31 || x == 0 || x == 31) {
                EXPECT_EQ(p, kBlack) << x << "," << y;
            } else {
                EXPECT_TRUE(p == kWhite || p == kDarkRed) << x << "," << y;
            }
        }
        if (countInRow(y, kDarkRed) > 0) {
            if (firstNameRow < 0) firstNameRow = y;
            lastNameRow = y;
        }
    }
    // Ascenders alone reach the top row, so it holds fewer letter pixels than the x-height rows.
    EXPECT_EQ(firstNameRow, 18);
    EXPECT_EQ(lastNameRow - firstNameRow + 1, 7);
    int busiest = 0;
    for (int y = 19; y <= lastNameRow; ++y) busiest = std::max(busiest, countInRow(y, kDarkRed));
    EXPECT_LT(countInRow(18, kDarkRed), busiest);
}

TEST_F(ProgramIcon, ResistorHasFourBandsBetweenGreyCaps) {
    struct Run {
        std::uint32_t colour;
        int length;
    };
    bool bandsFound = false;
    for (int y = 1; y <= 12; ++y) {
        std::vector<Run> runs;  // opaque, non-black runs only
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t p = at(x, y);
            EXPECT_TRUE(!opaque(p) || p == kBlack || p == kGrey || p == kDarkRed || p == kBlue ||
                        p == kYellow || p == kOlive)
                << x << "," << y;
            if (!opaque(p) || p == kBlack) continue;
            const bool extends = x > 0 && at(x - 1, y) == p;
            if (extends) ++runs.back().length;
            else runs.push_back({p, 1});
        }
        const std::vector<std::uint32_t> expected = {kGrey, kDarkRed, kGrey, kBlue, kGrey, kYellow, kGrey, kOlive, kGrey};
        if (runs.size() != expected.size()) continue;
        bool match = true;
        for (std::size_t i = 0; i < runs.size(); ++i) {
            match = match && runs[i].colour == expected[i] && (expected[i] == kGrey || runs[i].length == 4);
        }
        bandsFound = bandsFound || match;
    }
    EXPECT_TRUE(bandsFound);
    // The ground shows at the corners of the resistor's rows.
    for (const int y : {1, 12}) {
        EXPECT_FALSE(opaque(at(0, y)));
        EXPECT_FALSE(opaque(at(31, y)));
    }
}

TEST_F(ProgramIcon, LeadsRunFromTheEdgesIntoTheCaps) {
    for (const int y : {6, 7}) {
        SCOPED_TRACE(y);
        int left = 0;
        while (left < 32 && at(left, y) == kBlack) ++left;
        int right = 31;
        while (right >= 0 && at(right, y) == kBlack) --right;
        ASSERT_GT(left, 1);
        ASSERT_LT(right, 30);
        EXPECT_EQ(at(left, y), kGrey);
        EXPECT_EQ(at(right, y), kGrey);
    }
}

struct MalformedRow {
    const char* label;
    std::function<void(std::vector<std::uint8_t>&)> damage;
};

void put32(std::vector<std::uint8_t>& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
}

TEST(ReadIcon, RejectsMalformedInput) {
    const std::vector<MalformedRow> rows = {
        {"empty", [](auto& b) { b.clear(); }},
        {"truncated directory entry", [](auto& b) { b.resize(20); }},
        {"truncated bitmap header", [](auto& b) { b.resize(22 + 30); }},
        {"truncated image", [](auto& b) { b.pop_back(); }},
        {"cursor, not icon", [](auto& b) { b[2] = 2; }},
        {"eight bits in bitmap header", [](auto& b) { b[22 + 14] = 8; }},
        {"eight bits in directory", [](auto& b) { b[6 + 6] = 8; }},
        {"height not doubled for the mask", [](auto& b) { b[22 + 8] = 32; }},
        {"offset beyond end", [](auto& b) { put32(b, 6 + 12, 766); }},
        {"offset that wraps", [](auto& b) { put32(b, 6 + 12, 0xFFFFFFF0u); }},
        {"entry longer than file", [](auto& b) { put32(b, 6 + 8, 745); }},
        {"pixel beyond a two-colour palette", [](auto& b) { put32(b, 22 + 32, 2); }},
        {"two images",
         [](auto& b) {
             // A well-formed file with the same image twice: not the single image this reads.
             const std::vector<std::uint8_t> image(b.begin() + 22, b.end());
             std::vector<std::uint8_t> two(b.begin(), b.begin() + 22);
             two[4] = 2;
             two.insert(two.end(), b.begin() + 6, b.begin() + 22);
             put32(two, 6 + 12, 38);
             put32(two, 22 + 12, 38 + 744);
             two.insert(two.end(), image.begin(), image.end());
             two.insert(two.end(), image.begin(), image.end());
             b = two;
         }},
    };
    const auto good = iconBytes();
    ASSERT_TRUE(readIcon(good).has_value());
    for (const auto& row : rows) {
        SCOPED_TRACE(row.label);
        auto bytes = good;
        row.damage(bytes);
        EXPECT_FALSE(readIcon(bytes).has_value());
    }
    EXPECT_FALSE(readIconFile("/nonexistent/vaskelo.ico").has_value());
}

}  // namespace
}  // namespace vaskelo
