#include "platform/qt/application.h"

#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>

#include <cstdlib>
#include <cstring>
#include <span>

#include "ui/icon_image.h"

namespace vaskelo::qt {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

bool displayAvailable() {
#if defined(Q_OS_WIN) || defined(Q_OS_MACOS)
    return true;
#else
    return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
#endif
}

QIcon programIcon() {
    QFile file(QStringLiteral(":/vaskelo.ico"));
    if (!file.open(QIODevice::ReadOnly)) return {};
    const QByteArray bytes = file.readAll();
    const auto icon = readIcon(std::span(reinterpret_cast<const std::uint8_t*>(bytes.constData()),
                                         static_cast<std::size_t>(bytes.size())));
    if (!icon) return {};
    QImage image(icon->width, icon->height, QImage::Format_ARGB32);
    std::memcpy(image.bits(), icon->argb.data(), icon->argb.size() * sizeof(std::uint32_t));
    return QIcon(QPixmap::fromImage(image));
}

bool installToolkitTranslation(QTranslator& translator) {
    if (!translator.load(QStringLiteral("qtbase_tr"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) return false;
    return QCoreApplication::installTranslator(&translator);
}

Application::Application(int& argc, char** argv) : app_(argc, argv) {
    // Every text is Turkish, so Qt's own are too, and whatever Qt formats by locale
    // follows Turkish rather than the system's; the program's own comparisons are
    // exact and never consult a locale. No widget exists yet to miss the change.
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    installToolkitTranslation(toolkitTexts_);
    QApplication::setApplicationName(QStringLiteral("Vaskelo"));
    QApplication::setApplicationVersion(QStringLiteral("1.00"));
    QApplication::setDesktopFileName(QStringLiteral("org.vaskelo.Vaskelo"));
    QApplication::setWindowIcon(programIcon());
}

int Application::run() { return QApplication::exec(); }

}  // namespace vaskelo::qt
