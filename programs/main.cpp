// Start-up: the program's one window is created through the main-window reference,
// so the window on screen is the one that reference designates, then the event
// loop runs until the window is closed or the program is ended.
#include <QMessageBox>

#include <memory>
#include <string_view>

#include "platform/qt/application.h"
#include "platform/qt/qt_form.h"
#include "ui/form_binder.h"

int main(int argc, char* argv[]) {
    if (!vaskelo::qt::displayAvailable()) {
        vaskelo::qt::reportNoDisplay();
        return 1;
    }
    vaskelo::qt::Application app(argc, argv);

    // A failure to open is said in a box.
    std::unique_ptr<vaskelo::qt::QtForm> window;
    return vaskelo::runOrSay(
        [&] {
            vaskelo::qt::openMainWindow(window);
            return app.run();
        },
        [](std::string_view message) {
            QMessageBox::critical(nullptr, QStringLiteral("Vaskelo"), vaskelo::qt::toQString(message));
            return 1;
        });
}
