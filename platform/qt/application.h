// The Qt application the window lives in: the display check, the program's name,
// version and icon, Qt's own texts in Turkish, and the event loop.
#pragma once

#include <QApplication>
#include <QIcon>
#include <QTranslator>

namespace vaskelo::qt {

// Whether a window can be shown at all; checked before Qt is started, so a missing
// display gets a plain message instead of a toolkit abort.
bool displayAvailable();

// The program icon, read from the icon file built into the program.
QIcon programIcon();

// Loads Qt's own Turkish translation (the edit fields' menu, message box buttons)
// into the application, whatever the system's locale; false if it is not installed,
// and then Qt's built-in texts stay.
bool installToolkitTranslation(QTranslator& translator);

class Application {
public:
    Application(int& argc, char** argv);
    int run();

private:
    QApplication app_;
    QTranslator toolkitTexts_;
};

}  // namespace vaskelo::qt
