// The Qt application the window lives in: the display check, the program's name,
// version and icon, and the event loop.
#pragma once

#include <QApplication>
#include <QIcon>

namespace vaskelo::qt {

// Whether a window can be shown at all; checked before Qt is started, so a missing
// display gets a plain message instead of a toolkit abort.
bool displayAvailable();

// The program icon, read from the icon file built into the program.
QIcon programIcon();

class Application {
public:
    Application(int& argc, char** argv);
    int run();

private:
    QApplication app_;
};

}  // namespace vaskelo::qt
