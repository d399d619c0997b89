// Start-up: the program's one window is created through the main-window reference,
// so the window on screen is the one that reference designates, then the event
// loop runs until the window is closed or the program is ended.
#include <QMessageBox>

#include <memory>
#include <stdexcept>

#include "platform/qt/application.h"
#include "platform/qt/qt_form.h"

int main(int argc, char* argv[]) {
    if (!vaskelo::qt::displayAvailable()) {
        vaskelo::qt::reportNoDisplay();
        return 1;
    }
    vaskelo::qt::Application app(argc, argv);

    std::unique_ptr<vaskelo::qt::QtForm> window;
    try {
        vaskelo::qt::openMainWindow(window);
    } catch (const std::runtime_error& error) {
        QMessageBox::critical(nullptr, QStringLiteral("Vaskelo"), QString::fromUtf8(error.what()));
        return 1;
    }
    return app.run();
}
