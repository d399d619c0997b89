// Build tool, run under Node.js: writes the program icon's pixels as plain RGBA for
// icon_png.py, read by the same .ico reader as the other windows' icons.
#include <cstdint>
#include <cstdio>
#include <vector>

#include "ui/icon_image.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: icon_pixels ICON.ico OUT.rgba\n", stderr);
        return 2;
    }
    const auto icon = vaskelo::readIconFile(argv[1]);
    if (!icon) {
        std::fprintf(stderr, "icon_pixels: %s is not a 16-colour single-image icon\n", argv[1]);
        return 1;
    }
    // A one-line header, "WIDTH HEIGHT", then the rows from the top, 4 bytes a pixel.
    std::vector<unsigned char> rgba;
    rgba.reserve(icon->argb.size() * 4);
    for (const std::uint32_t pixel : icon->argb) {
        for (const int shift : {16, 8, 0, 24}) rgba.push_back(static_cast<unsigned char>(pixel >> shift));
    }
    std::FILE* out = std::fopen(argv[2], "wb");
    if (!out) {
        std::perror(argv[2]);
        return 1;
    }
    const bool written = std::fprintf(out, "%d %d\n", icon->width, icon->height) > 0 &&
                         std::fwrite(rgba.data(), 1, rgba.size(), out) == rgba.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
