// Start-up: the program's one window is created through the main-window reference,
// so the window on screen is the one that reference designates, then the event
// loop runs until the window is closed or the program is ended.
#include <QMessageBox>

#include <memory>
#include <stdexcept>
#include <string_view>

#include "core/runtime_error.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_form.h"

int main(int argc, char* argv[]) {
    if (!vaskelo::qt::displayAvailable()) {
        vaskelo::qt::reportNoDisplay();
        return 1;
    }
    vaskelo::qt::Application app(argc, argv);

    // Nothing may unwind out of main through Qt: a failure to open is said in a box.
    std::unique_ptr<vaskelo::qt::QtForm> window;
    const auto fail = [](std::string_view message) {
        QMessageBox::critical(nullptr, QStringLiteral("Vaskelo"), vaskelo::qt::toQString(message));
        return 1;
    };
    try {
        vaskelo::qt::openMainWindow(window);
        return app.run();
    } catch (const std::runtime_error& error) {
        return fail(error.what());
    } catch (...) {
        return fail(vaskelo::kStartFailure);
    }
}
