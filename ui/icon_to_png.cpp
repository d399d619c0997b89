// Build tool: writes the program icon as a PNG, the form Linux desktops take.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstring>

#include "ui/icon_image.h"

int main(int argc, char* argv[]) {
    if (argc != 3) {
        std::fputs("usage: icon_to_png ICON.ico OUT.png\n", stderr);
        return 2;
    }
    const auto icon = vaskelo::readIconFile(argv[1]);
    if (!icon) {
        std::fprintf(stderr, "icon_to_png: %s is not a 16-colour single-image icon\n", argv[1]);
        return 1;
    }
    QImage image(icon->width, icon->height, QImage::Format_ARGB32);
    std::memcpy(image.bits(), icon->argb.data(), icon->argb.size() * sizeof(std::uint32_t));
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
