#include "platform/qt/application.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QLibraryInfo>
#include <QLocale>
#include <QPixmap>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include "core/texts.h"
#include "ui/icon_image.h"

namespace vaskelo::qt {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

QStringList* gHeldMessages = nullptr;
QtMessageHandler gPreviousHandler = nullptr;

void holdMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
    if (type == QtFatalMsg) {
        reportNoDisplay();
        std::_Exit(1);
    }
    if (gHeldMessages != nullptr) gHeldMessages->append(qFormatLogMessage(type, context, message));
}

bool waylandPluginInstalled() {
    const QDir platforms(QLibraryInfo::path(QLibraryInfo::PluginsPath) + QStringLiteral("/platforms"));
    return !platforms.entryList({QStringLiteral("libqwayland*")}, QDir::Files).isEmpty();
}

}  // namespace

void reportNoDisplay() {
    const char* x11 = std::getenv("DISPLAY");
    const char* wayland = std::getenv("WAYLAND_DISPLAY");
    if (!isSet("DISPLAY") && !isSet("WAYLAND_DISPLAY")) {
        std::fputs(texts::kNoDisplay, stderr);
        return;
    }
    // A Wayland session reaches Qt only through its Wayland plugin, which Debian
    // ships apart from Qt; without it Qt tries X and says only that X failed.
    if (isSet("WAYLAND_DISPLAY") && !waylandPluginInstalled()) {
        std::fprintf(stderr, texts::kNoWaylandPlugin, wayland, wayland);
        return;
    }
    const char* display = isSet("DISPLAY") ? x11 : wayland;
    std::fprintf(stderr, texts::kNoConnection, display, display);
}

DisplayConnection::DisplayConnection() {
    gHeldMessages = new QStringList;
    gPreviousHandler = qInstallMessageHandler(holdMessage);
}

DisplayConnection::~DisplayConnection() { release(); }

void DisplayConnection::release() {
    if (gHeldMessages == nullptr) return;
    qInstallMessageHandler(gPreviousHandler);
    for (const QString& message : *gHeldMessages) std::fprintf(stderr, "%s\n", qPrintable(message));
    delete gHeldMessages;
    gHeldMessages = nullptr;
}

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
    connecting_.release();
    // Every text is Turkish, so Qt's own are too, and whatever Qt formats by locale
    // follows Turkish rather than the system's; the program's own comparisons are
    // exact and never consult a locale. No widget exists yet to miss the change.
    QLocale::setDefault(QLocale(QLocale::Turkish, QLocale::Turkey));
    installToolkitTranslation(toolkitTexts_);
    QApplication::setApplicationName(QStringLiteral("Vaskelo"));
    QApplication::setApplicationVersion(QStringLiteral(VASKELO_VERSION_TEXT));
    QApplication::setDesktopFileName(QStringLiteral(VASKELO_APP_ID));
    QApplication::setWindowIcon(programIcon());
}

int Application::run() { return QApplication::exec(); }

}  // namespace vaskelo::qt
