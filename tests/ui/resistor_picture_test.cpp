#include "ui/resistor_picture.h"

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <set>
#include <utility>
#include <vector>

namespace vaskelo {
namespace {

constexpr std::uint32_t kWhite = 0xFFFFFFu;
constexpr std::uint32_t kGreen = 0xB1EDC4u;
constexpr std::uint32_t kBlack = 0x000000u;

const std::vector<std::uint32_t>& picture() {
    static const std::vector<std::uint32_t> pixels = drawResistorPicture();
    return pixels;
}

std::uint32_t at(int x, int y) { return picture()[static_cast<std::size_t>(y * kPictureWidth + x)]; }

bool inside(int x, int y) { return x >= 0 && x < kPictureWidth && y >= 0 && y < kPictureHeight; }

struct PixelRow {
    const char* label;
    int x, y;
    std::uint32_t colour;
};

TEST(ResistorPicture, HasTheAdvertisedSizeAndColours) {
    ASSERT_EQ(picture().size(), static_cast<std::size_t>(355 * 95));
    EXPECT_EQ(kPictureGround, kWhite);
    EXPECT_EQ(kPictureBody, kGreen);
    EXPECT_EQ(kPictureOutline, kBlack);
    const std::set<std::uint32_t> used(picture().begin(), picture().end());
    EXPECT_EQ(used, (std::set<std::uint32_t>{kWhite, kGreen, kBlack}));
}

TEST(ResistorPicture, NamedPixels) {
    const std::vector<PixelRow> rows = {
        // Left cap outline.
        {"left outer side top", 13, 8, kBlack},
        {"left outer side middle", 13, 46, kBlack},
        {"left outer side bottom", 13, 85, kBlack},
        {"left top edge start", 19, 2, kBlack},
        {"left top edge middle", 26, 2, kBlack},
        {"left top edge end", 34, 2, kBlack},
        {"left bottom edge start", 19, 91, kBlack},
        {"left bottom edge middle", 26, 91, kBlack},
        {"left bottom edge end", 34, 91, kBlack},
        {"left top-left step row 3 a", 17, 3, kBlack},
        {"left top-left step row 3 b", 18, 3, kBlack},
        {"left top-left step row 4", 16, 4, kBlack},
        {"left top-left step row 5", 15, 5, kBlack},
        {"left top-left step row 6", 14, 6, kBlack},
        {"left top-left step row 7", 14, 7, kBlack},
        {"left bottom-left step row 90", 17, 90, kBlack},
        {"left bottom-left step row 89", 16, 89, kBlack},
        {"left bottom-left step row 88", 15, 88, kBlack},
        {"left bottom-left step row 86", 14, 86, kBlack},
        {"left top-right step row 3 a", 35, 3, kBlack},
        {"left top-right step row 3 b", 36, 3, kBlack},
        {"left top-right step row 4", 37, 4, kBlack},
        {"left top-right step row 5", 38, 5, kBlack},
        {"left top-right step row 6", 39, 6, kBlack},
        {"left top-right step row 7", 39, 7, kBlack},
        {"left bottom-right step row 90", 36, 90, kBlack},
        {"left bottom-right step row 89", 37, 89, kBlack},
        {"left bottom-right step row 87", 39, 87, kBlack},
        {"left bottom-right step row 86", 39, 86, kBlack},
        // Middle outline.
        {"middle top edge start", 40, 8, kBlack},
        {"middle top edge centre", 177, 8, kBlack},
        {"middle top edge end", 318, 8, kBlack},
        {"middle bottom edge start", 40, 85, kBlack},
        {"middle bottom edge centre", 177, 85, kBlack},
        {"middle bottom edge end", 318, 85, kBlack},
        // Right cap outline.
        {"right outer side top", 343, 9, kBlack},
        {"right outer side middle", 343, 46, kBlack},
        {"right outer side bottom", 343, 84, kBlack},
        {"right top edge start", 324, 3, kBlack},
        {"right top edge middle", 330, 3, kBlack},
        {"right top edge end", 337, 3, kBlack},
        {"right bottom edge start", 324, 90, kBlack},
        {"right bottom edge end", 337, 90, kBlack},
        {"right outer step row 4 a", 338, 4, kBlack},
        {"right outer step row 4 b", 339, 4, kBlack},
        {"right outer step row 5", 340, 5, kBlack},
        {"right outer step row 6", 341, 6, kBlack},
        {"right outer step row 7", 342, 7, kBlack},
        {"right outer step row 8", 342, 8, kBlack},
        {"right outer step row 85", 342, 85, kBlack},
        {"right outer step row 86", 342, 86, kBlack},
        {"right outer step row 87", 341, 87, kBlack},
        {"right outer step row 88", 340, 88, kBlack},
        {"right outer step row 89", 339, 89, kBlack},
        {"right inner step row 4 a", 322, 4, kBlack},
        {"right inner step row 4 b", 323, 4, kBlack},
        {"right inner step row 5", 321, 5, kBlack},
        {"right inner step row 6", 320, 6, kBlack},
        {"right inner step row 7", 319, 7, kBlack},
        {"right inner step row 86", 319, 86, kBlack},
        {"right inner step row 87", 320, 87, kBlack},
        {"right inner step row 88", 321, 88, kBlack},
        {"right inner step row 89", 322, 89, kBlack},
        // Leads.
        {"left lead outer end", 0, 43, kBlack},
        {"left lead at the cap", 12, 43, kBlack},
        {"right lead at the cap", 344, 44, kBlack},
        {"right lead outer end", 354, 44, kBlack},
        // Just inside the outline, and well inside.
        {"inside left outer side top", 14, 8, kGreen},
        {"inside left outer side bottom", 14, 85, kGreen},
        {"below left top edge", 26, 3, kGreen},
        {"above left bottom edge", 26, 90, kGreen},
        {"inside left top-right corner", 38, 6, kGreen},
        {"left cap beside middle top edge", 39, 8, kGreen},
        {"left cap beside middle bottom edge", 39, 85, kGreen},
        {"left cap centre", 26, 46, kGreen},
        {"left cap opposite the lead", 14, 43, kGreen},
        {"below middle top edge", 177, 9, kGreen},
        {"above middle bottom edge", 177, 84, kGreen},
        {"body centre", 177, 46, kGreen},
        {"right cap beside middle top edge", 319, 8, kGreen},
        {"right cap beside middle bottom edge", 319, 85, kGreen},
        {"below right top edge", 330, 4, kGreen},
        {"above right bottom edge", 330, 89, kGreen},
        {"inside right outer side top", 342, 9, kGreen},
        {"inside right outer side bottom", 342, 84, kGreen},
        {"right cap centre", 331, 46, kGreen},
        {"right cap opposite the lead", 342, 44, kGreen},
        // Just outside the outline, and the image corners.
        {"image top-left", 0, 0, kWhite},
        {"image top-right", 354, 0, kWhite},
        {"image bottom-left", 0, 94, kWhite},
        {"image bottom-right", 354, 94, kWhite},
        {"outside left outer side top", 12, 8, kWhite},
        {"outside left outer side bottom", 12, 85, kWhite},
        {"above left top edge", 26, 1, kWhite},
        {"below left bottom edge", 26, 92, kWhite},
        {"outside left top-left corner row 7", 13, 7, kWhite},
        {"outside left top-left corner row 4", 15, 4, kWhite},
        {"outside left bottom-left corner row 86", 13, 86, kWhite},
        {"outside left top-right corner row 4", 38, 4, kWhite},
        {"outside left top-right corner row 7", 40, 7, kWhite},
        {"outside left bottom-right corner row 86", 40, 86, kWhite},
        {"above middle", 177, 7, kWhite},
        {"below middle", 177, 86, kWhite},
        {"outside right inner corner row 7", 318, 7, kWhite},
        {"outside right inner corner row 4", 321, 4, kWhite},
        {"outside right inner corner row 86", 318, 86, kWhite},
        {"above right top edge", 330, 2, kWhite},
        {"below right bottom edge", 330, 91, kWhite},
        {"outside right outer corner row 5", 341, 5, kWhite},
        {"outside right outer corner row 8", 343, 8, kWhite},
        {"outside right outer corner row 85", 343, 85, kWhite},
        {"outside right outer side", 344, 46, kWhite},
        {"right of right cap top", 344, 9, kWhite},
    };
    for (const PixelRow& row : rows) {
        SCOPED_TRACE(row.label);
        EXPECT_EQ(at(row.x, row.y), row.colour) << "at (" << row.x << ", " << row.y << ")";
    }
}

TEST(ResistorPicture, LeadsAreOnePixelThick) {
    struct Lead {
        const char* label;
        int firstX, lastX, y;
    };
    for (const Lead& lead : {Lead{"left", 0, 12, 43}, Lead{"right", 344, 354, 44}}) {
        SCOPED_TRACE(lead.label);
        for (int x = lead.firstX; x <= lead.lastX; ++x) {
            EXPECT_EQ(at(x, lead.y - 1), kWhite) << "x " << x;
            EXPECT_EQ(at(x, lead.y), kBlack) << "x " << x;
            EXPECT_EQ(at(x, lead.y + 1), kWhite) << "x " << x;
        }
    }
}

// The window's band swatches put their top and bottom borders on the middle's edges.
TEST(ResistorPicture, MiddleEdgesRunUnderEveryBandSwatch) {
    for (const int left : {48, 112, 176, 240}) {
        for (int x = left; x < left + 42; ++x) {
            EXPECT_EQ(at(x, 8), kBlack) << "x " << x;
            EXPECT_EQ(at(x, 85), kBlack) << "x " << x;
            EXPECT_EQ(at(x, 9), kGreen) << "x " << x;
            EXPECT_EQ(at(x, 84), kGreen) << "x " << x;
        }
    }
}

// The caps and middle mirror about y = 46.5; only the leads break the symmetry.
TEST(ResistorPicture, BodyIsSymmetricTopToBottom) {
    for (int x = 13; x <= 343; ++x)
        for (int y = 0; y <= 93; ++y)
            ASSERT_EQ(at(x, y), at(x, 93 - y)) << "(" << x << ", " << y << ")";
}

TEST(ResistorPicture, OutlineIsClosedAndOnePixelThin) {
    for (int y = 0; y < kPictureHeight; ++y) {
        for (int x = 0; x < kPictureWidth; ++x) {
            if (at(x, y) == kGreen) {
                for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}}) {
                    ASSERT_TRUE(inside(x + dx, y + dy)) << "(" << x << ", " << y << ")";
                    ASSERT_NE(at(x + dx, y + dy), kWhite) << "(" << x << ", " << y << ")";
                }
            }
            if (x + 1 < kPictureWidth && y + 1 < kPictureHeight) {
                const bool block = at(x, y) == kBlack && at(x + 1, y) == kBlack &&
                                   at(x, y + 1) == kBlack && at(x + 1, y + 1) == kBlack;
                ASSERT_FALSE(block) << "2x2 black at (" << x << ", " << y << ")";
            }
        }
    }
}

TEST(ResistorPicture, BodyIsOneConnectedRegion) {
    std::size_t green = 0;
    for (const std::uint32_t c : picture()) green += c == kGreen ? 1u : 0u;

    std::vector<bool> seen(picture().size(), false);
    std::vector<std::pair<int, int>> pending{{177, 46}};
    std::size_t reached = 0;
    while (!pending.empty()) {
        const auto [x, y] = pending.back();
        pending.pop_back();
        if (!inside(x, y) || at(x, y) != kGreen) continue;
        const auto i = static_cast<std::size_t>(y * kPictureWidth + x);
        if (seen[i]) continue;
        seen[i] = true;
        ++reached;
        pending.insert(pending.end(), {{x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}});
    }
    EXPECT_EQ(reached, green);
}

}  // namespace
}  // namespace vaskelo
