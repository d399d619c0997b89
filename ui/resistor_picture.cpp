#include "ui/resistor_picture.h"

#include <array>
#include <cstddef>
#include <utility>

namespace vaskelo {
namespace {

// A horizontal or vertical run of pixels, both ends included.
struct Stroke {
    int x0, y0, x1, y1;
};

// The body is symmetric top to bottom, so only the outline's upper half is
// listed; row y of it is repeated on row kMirrorRows - y.
constexpr int kMirrorRows = 93;

constexpr std::array kUpperOutline{
    // Left cap, from the middle of its outer side round to where the middle begins.
    Stroke{13, 8, 13, 46},
    Stroke{14, 6, 14, 7},
    Stroke{15, 5, 15, 5},
    Stroke{16, 4, 16, 4},
    Stroke{17, 3, 18, 3},
    Stroke{19, 2, 34, 2},
    Stroke{35, 3, 36, 3},
    Stroke{37, 4, 37, 4},
    Stroke{38, 5, 38, 5},
    Stroke{39, 6, 39, 7},
    // Middle.
    Stroke{40, 8, 318, 8},
    // Right cap, narrower and a row shorter at each end than the left one.
    Stroke{319, 7, 319, 7},
    Stroke{320, 6, 320, 6},
    Stroke{321, 5, 321, 5},
    Stroke{322, 4, 323, 4},
    Stroke{324, 3, 337, 3},
    Stroke{338, 4, 339, 4},
    Stroke{340, 5, 340, 5},
    Stroke{341, 6, 341, 6},
    Stroke{342, 7, 342, 8},
    Stroke{343, 9, 343, 46},
};

// The leads sit on different rows, so they are not mirrored.
constexpr std::array kLeads{
    Stroke{0, 43, 12, 43},
    Stroke{344, 44, 354, 44},
};

// Any point well inside the middle starts the body fill.
constexpr int kBodySeedX = 177;
constexpr int kBodySeedY = 46;

class Canvas {
public:
    Canvas() : pixels_(static_cast<std::size_t>(kPictureWidth * kPictureHeight), kPictureGround) {}

    std::uint32_t at(int x, int y) const { return pixels_[index(x, y)]; }
    void set(int x, int y, std::uint32_t colour) { pixels_[index(x, y)] = colour; }

    void stroke(const Stroke& s, std::uint32_t colour) {
        for (int y = s.y0; y <= s.y1; ++y)
            for (int x = s.x0; x <= s.x1; ++x) set(x, y, colour);
    }

    // Four-way fill, a horizontal run at a time: the outline is closed only through
    // diagonal steps, which an eight-way fill would slip through.
    void fill(int seedX, int seedY, std::uint32_t colour) {
        const std::uint32_t target = at(seedX, seedY);
        if (target == colour) return;
        std::vector<std::pair<int, int>> seeds{{seedX, seedY}};
        while (!seeds.empty()) {
            const auto [x, y] = seeds.back();
            seeds.pop_back();
            if (at(x, y) != target) continue;
            int left = x;
            while (left > 0 && at(left - 1, y) == target) --left;
            int right = x;
            while (right + 1 < kPictureWidth && at(right + 1, y) == target) ++right;
            for (int i = left; i <= right; ++i) set(i, y, colour);
            // One seed for each run of open pixels just above and below this one.
            for (const int next : {y - 1, y + 1}) {
                if (next < 0 || next >= kPictureHeight) continue;
                bool inRun = false;
                for (int i = left; i <= right; ++i) {
                    const bool open = at(i, next) == target;
                    if (open && !inRun) seeds.emplace_back(i, next);
                    inRun = open;
                }
            }
        }
    }

    std::vector<std::uint32_t> take() && { return std::move(pixels_); }

private:
    static std::size_t index(int x, int y) { return static_cast<std::size_t>(y * kPictureWidth + x); }

    std::vector<std::uint32_t> pixels_;
};

}  // namespace

std::vector<std::uint32_t> drawResistorPicture() {
    Canvas canvas;
    for (const Stroke& s : kUpperOutline) {
        canvas.stroke(s, kPictureOutline);
        canvas.stroke({s.x0, kMirrorRows - s.y1, s.x1, kMirrorRows - s.y0}, kPictureOutline);
    }
    canvas.fill(kBodySeedX, kBodySeedY, kPictureBody);
    for (const Stroke& s : kLeads) canvas.stroke(s, kPictureOutline);
    return std::move(canvas).take();
}

}  // namespace vaskelo
