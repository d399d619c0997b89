// Checks a compositor's screenshot of the program's window, as shown on a Wayland
// output at a whole-number scale: the picture box is found on the screen and must be
// the 96-dpi picture enlarged pixel by pixel, with whole black borders.
//
//   wayland_shot_check SCREENSHOT.png SCALE
#include <QColor>
#include <QImage>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "tests/window/scaled_window_checks.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: wayland_shot_check SCREENSHOT.png SCALE\n", stderr);
        return 2;
    }
    const QImage shot = QImage(QString::fromLocal8Bit(argv[1])).convertToFormat(QImage::Format_RGB32);
    const int scale = std::atoi(argv[2]);
    if (shot.isNull() || scale < 1) {
        std::fprintf(stderr, "cannot read %s at scale %s\n", argv[1], argv[2]);
        return 2;
    }
    const auto pixel = [&](int x, int y) -> std::uint32_t {
        if (x < 0 || y < 0 || x >= shot.width() || y >= shot.height()) return 0xFF000000u;  // matches no colour
        const QRgb c = shot.pixel(x, y);
        return static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
    };
    // At a whole-number scale each of the box's 96-dpi pixels is a block of scale x scale
    // pixels. Its top-left corner is the one black pixel whose box corners are all black
    // and whose first pixel inside the border is the picture's white.
    const vaskelo::WindowDescription& window = vaskelo::mainWindowDescription();
    const vaskelo::TwipRect box = vaskelo::findControl(window, "pd1")->rect;
    const int width = vaskelo::twipsToPixels(box.width) * scale;
    const int height = vaskelo::twipsToPixels(box.height) * scale;
    std::vector<std::string> lastFaults{"no picture box on the screen"};
    int found = 0;
    for (int y = 0; y + height <= shot.height(); ++y) {
        for (int x = 0; x + width <= shot.width(); ++x) {
            if (pixel(x, y) != vaskelo::scaling::kBlack || pixel(x - 1, y) == vaskelo::scaling::kBlack ||
                pixel(x, y - 1) == vaskelo::scaling::kBlack || pixel(x + width - 1, y + height - 1) != vaskelo::scaling::kBlack ||
                pixel(x + scale, y + scale) != vaskelo::scaling::kWhite) {
                continue;
            }
            // The swatches show what each band holds now: the colour inside their border.
            std::array<std::uint32_t, 4> fills{};
            for (std::size_t k = 0; k < 4; ++k) {
                const vaskelo::TwipRect s = vaskelo::findControl(window, "pr" + std::to_string(k + 1))->rect;
                fills[k] = pixel(x + (1 + vaskelo::twipsToPixels(s.left + s.width / 2)) * scale,
                                 y + (1 + vaskelo::twipsToPixels(s.top + s.height / 2)) * scale);
            }
            const auto at = [&](int dx, int dy) { return pixel(x + dx, y + dy); };
            const auto faults = vaskelo::scaling::pictureBoxFaults(at, scale, 0, 0, fills);
            if (faults.empty()) {
                ++found;
                std::printf("picture box at %d,%d: %d x %d device pixels, exact at scale %d\n", x, y, width, height, scale);
            } else {
                lastFaults = faults;
            }
        }
    }
    if (found == 1) return 0;
    if (found > 1) {
        std::printf("%d picture boxes on the screen, one expected\n", found);
        return 1;
    }
    for (const std::string& fault : lastFaults) std::printf("%s\n", fault.c_str());
    return 1;
}
