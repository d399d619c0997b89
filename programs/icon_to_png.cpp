// Build tool: writes the program icon as a PNG, the form Linux desktops take. A
// larger size is the same pixels made whole-number blocks, so the icon stays crisp.
#include <QGuiApplication>
#include <QImage>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include "ui/icon_image.h"

int main(int argc, char* argv[]) {
    const int scale = argc == 4 ? std::atoi(argv[3]) : 1;
    if ((argc != 3 && argc != 4) || scale < 1 || scale > 16) {
        std::fputs("usage: icon_to_png ICON.ico OUT.png [SCALE 1-16]\n", stderr);
        return 2;
    }
    const auto icon = vaskelo::readIconFile(argv[1]);
    if (!icon) {
        std::fprintf(stderr, "icon_to_png: %s is not a 16-colour single-image icon\n", argv[1]);
        return 1;
    }
    QImage image(icon->width, icon->height, QImage::Format_ARGB32);
    std::memcpy(image.bits(), icon->argb.data(), icon->argb.size() * sizeof(std::uint32_t));
    if (scale > 1) image = image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    return image.save(QString::fromLocal8Bit(argv[2]), "PNG") ? 0 : 1;
}
