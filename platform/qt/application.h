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
// What the program says when it has no display to show its window on: Turkish,
// with an English line for whoever does not read it.
void reportNoDisplay();

// The program icon, read from the icon file built into the program.
QIcon programIcon();

// Loads Qt's own Turkish translation (the edit fields' menu, message box buttons)
// into the application, whatever the system's locale; false if it is not installed,
// and then Qt's built-in texts stay.
bool installToolkitTranslation(QTranslator& translator);

// Holds Qt's messages while it connects to the display. If the display named cannot
// be reached, Qt would end the program with its own English words; the program says
// so in its own (reportNoDisplay) and ends instead. Otherwise the held messages are
// passed on when release() is called.
class DisplayConnection {
public:
    DisplayConnection();
    ~DisplayConnection();
    DisplayConnection(const DisplayConnection&) = delete;
    DisplayConnection& operator=(const DisplayConnection&) = delete;
    void release();
};

class Application {
public:
    Application(int& argc, char** argv);
    int run();

private:
    DisplayConnection connecting_;  // made before the application connects
    QApplication app_;
    QTranslator toolkitTexts_;
};

}  // namespace vaskelo::qt
