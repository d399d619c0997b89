// bench_window: starts the program's window exactly as the program does, or a bare
// Qt window of the same size with the same menu bar, and at its first painted
// frame prints how long that took since the start time given on the command line
// and how much memory the process has needed so far, then ends.
//
//     bench_window vaskelo|bare [START_NS]
//
// START_NS is a CLOCK_MONOTONIC time in nanoseconds, taken by bench_startup just
// before exec; without it the time counts from main().
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QTimer>
#include <QtGui/qguiapplication_platform.h>

#include <xcb/xcb.h>

#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string_view>

#include "bench/process_figures.h"
#include "core/main_form.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_form.h"
#include "ui/event_wiring.h"
#include "ui/window_description.h"

namespace {

enum class Mode { Vaskelo, Bare };

std::optional<Mode> modeNamed(std::string_view name) {
    if (name == "vaskelo") return Mode::Vaskelo;
    if (name == "bare") return Mode::Bare;
    return std::nullopt;
}

// Waits for the first paint of any widget. Painting and handing the frame to the
// display server happen in one go, so once the event loop is back the frame has
// been sent; a round trip to the X server then makes sure it has arrived.
class FirstFrameProbe final : public QObject {
public:
    explicit FirstFrameProbe(std::int64_t startNanos) : startNanos_(startNanos) {
        QCoreApplication::instance()->installEventFilter(this);
        // A window that never paints must not hang the driver.
        QTimer::singleShot(30'000, this, [] {
            std::fputs("bench_window: no frame was painted within 30 s\n", stderr);
            QCoreApplication::exit(2);
        });
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!seen_ && event->type() == QEvent::Paint && watched->isWidgetType()) {
            seen_ = true;
            QMetaObject::invokeMethod(this, [this] { report(); }, Qt::QueuedConnection);
        }
        return false;
    }

private:
    void report() const {
        if (auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>()) {
            xcb_connection_t* connection = x11->connection();
            std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
        }
        const std::int64_t elapsed = vaskelo::bench::monotonicNanos() - startNanos_;
        std::printf("frame_ns=%lld vmhwm_kb=%ld vmrss_kb=%ld qt=%s platform=%s\n", static_cast<long long>(elapsed),
                    vaskelo::bench::statusKilobytes("self", "VmHWM").value_or(-1),
                    vaskelo::bench::statusKilobytes("self", "VmRSS").value_or(-1), qVersion(),
                    qUtf8Printable(QGuiApplication::platformName()));
        std::fflush(stdout);
        QCoreApplication::exit(0);
    }

    std::int64_t startNanos_;
    bool seen_ = false;
};

// As the program's main() does it, with the probe added.
int startVaskelo(int& argc, char** argv, std::int64_t startNanos) {
    if (!vaskelo::qt::displayAvailable()) {
        std::fputs("bench_window: no display\n", stderr);
        return 1;
    }
    vaskelo::qt::Application app(argc, argv);
    FirstFrameProbe probe(startNanos);

    std::unique_ptr<vaskelo::qt::QtForm> window;
    try {
        vaskelo::qt::openMainWindow(window);
    } catch (const std::runtime_error& error) {
        std::fprintf(stderr, "bench_window: %s\n", error.what());
        return 1;
    }
    return app.run();
}

// What any Qt program pays for a window: a plain main window with the program's
// menu bar and client size, and nothing in it.
int startBare(int& argc, char** argv, std::int64_t startNanos) {
    QApplication app(argc, argv);
    FirstFrameProbe probe(startNanos);

    const vaskelo::WindowDescription& description = vaskelo::mainWindowDescription();
    QMainWindow window;
    QMenuBar* bar = window.menuBar();
    bar->setNativeMenuBar(false);
    for (const vaskelo::MenuDescription& menu : description.menus) {
        bar->addMenu(vaskelo::qt::toQString(menu.caption))->addAction(vaskelo::qt::toQString(menu.itemCaption));
    }
    window.resize(vaskelo::twipsToPixels(description.clientWidth),
                  vaskelo::twipsToPixels(description.clientHeight) + bar->sizeHint().height());
    window.show();
    return QApplication::exec();
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::int64_t mainNanos = vaskelo::bench::monotonicNanos();
    const std::optional<Mode> mode = argc >= 2 ? modeNamed(argv[1]) : std::nullopt;
    if (!mode) {
        std::fputs("usage: bench_window vaskelo|bare [START_NS]\n", stderr);
        return 2;
    }
    std::int64_t startNanos = mainNanos;
    if (argc >= 3) {
        const std::string_view text(argv[2]);
        if (std::from_chars(text.data(), text.data() + text.size(), startNanos).ec != std::errc{}) {
            std::fputs("bench_window: START_NS must be a number of nanoseconds\n", stderr);
            return 2;
        }
    }
    switch (*mode) {
        case Mode::Vaskelo: return startVaskelo(argc, argv, startNanos);
        case Mode::Bare: return startBare(argc, argv, startNanos);
    }
    return 2;
}
