// bench_commands: how fast the window answers each command, driven through its real
// widgets the way a click or a key press reaches them, with all four bands picked
// as a user would have them. Runs on the offscreen platform unless QT_QPA_PLATFORM
// names another. Only the command is timed; rows ending in "+paint" also time the
// repaint the event loop does right after it, up to the window's new frame.
#include <benchmark/benchmark.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMainWindow>
#include <QMouseEvent>
#include <QPushButton>

#include <array>
#include <chrono>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>

#include "core/band_colours.h"
#include "core/form_ops.h"
#include "core/main_form.h"
#include "core/value_text.h"
#include "platform/qt/application.h"
#include "platform/qt/colours.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/widgets.h"
#include "ui/event_wiring.h"
#include "ui/window_description.h"

namespace {

using vaskelo::BandList;
using vaskelo::Label;

// The bands the commands find picked: 4,7K, tolerance %5.
constexpr std::array<std::string_view, 4> kPickedColours{"Sarı", "Mor", "Kırmızı", "Altın"};
// Band 1 goes back and forth between these two, one arrow key apart.
constexpr std::string_view kBand1Picked = "Sarı";
constexpr std::string_view kBand1Next = "Yeşil";

// Counts the paints of every widget, to show that a "+paint" row really painted.
class PaintCounter final : public QObject {
public:
    PaintCounter() { QCoreApplication::instance()->installEventFilter(this); }
    long count() const { return count_; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::Paint && watched->isWidgetType()) ++count_;
        return false;
    }

private:
    long count_ = 0;
};

void sendKey(QWidget* widget, Qt::Key key) {
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

void clickWithMouse(QWidget* widget) {
    const QPointF centre = QRectF(widget->rect()).center();
    const QPointF global = widget->mapToGlobal(centre);
    QMouseEvent press(QEvent::MouseButtonPress, centre, global, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &press);
    QMouseEvent release(QEvent::MouseButtonRelease, centre, global, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
    QCoreApplication::sendEvent(widget, &release);
}

// The program's window and the controls the commands are given through.
class Window {
public:
    explicit Window(vaskelo::qt::QtForm& form) : form_(form) {}

    vaskelo::qt::BandCombo* list(BandList band) const {
        return qobject_cast<vaskelo::qt::BandCombo*>(form_.control(vaskelo::controlName(band)));
    }
    vaskelo::qt::PictureBox* swatch(BandList band) const {
        return qobject_cast<vaskelo::qt::PictureBox*>(form_.control(vaskelo::controlName(vaskelo::swatchOf(band))));
    }
    QLabel* label(Label which) const { return qobject_cast<QLabel*>(form_.control(vaskelo::controlName(which))); }
    QPushButton* calculateButton() const { return qobject_cast<QPushButton*>(form_.control("CommDH")); }
    QPushButton* resetButton() const { return qobject_cast<QPushButton*>(form_.control("DYeni")); }
    QAction* aboutItem() const { return form_.menuItem("Hakkında"); }
    QMainWindow* window() const { return form_.window(); }
    const vaskelo::DigitTexts& digits() { return form_.mainForm().digits(); }

    int rowOf(BandList band, std::string_view colour) const {
        const int row = list(band)->findText(vaskelo::qt::toQString(colour), Qt::MatchExactly | Qt::MatchCaseSensitive);
        if (row < 0) throw std::logic_error("no such entry: " + std::string(colour));
        return row;
    }

    // Picks the colour with the arrow keys, from wherever the list stands; a list
    // that shows no entry ("?") starts from its first one.
    void pick(BandList band, std::string_view colour) {
        vaskelo::qt::BandCombo* combo = list(band);
        const int row = rowOf(band, colour);
        if (combo->currentIndex() < 0) sendKey(combo, Qt::Key_Down);
        for (int steps = combo->count(); combo->currentIndex() != row && steps > 0; --steps) {
            sendKey(combo, combo->currentIndex() < row ? Qt::Key_Down : Qt::Key_Up);
        }
        if (combo->currentIndex() != row) throw std::logic_error("the arrow keys did not reach " + std::string(colour));
    }

    void pickAll() {
        for (std::size_t i = 0; i < kPickedColours.size(); ++i) pick(vaskelo::kAllBandLists[i], kPickedColours[i]);
    }

private:
    vaskelo::qt::QtForm& form_;
};

// What the window must show once a command has run.
bool showsValue(Window& w) {
    const auto value = vaskelo::valueText("4", "7", false, kPickedColours[2]);
    return value && w.label(Label::Ls1)->text() == vaskelo::qt::toQString(*value) &&
           w.label(Label::Ls1)->font().pointSizeF() == static_cast<double>(vaskelo::kResultFontSize) &&
           w.label(Label::Les2)->text() == QStringLiteral("%5");
}

bool showsAbout(Window& w) {
    return w.label(Label::Ls1)->text() == vaskelo::qt::toQString(vaskelo::kAboutLine) &&
           w.label(Label::Ls1)->font().pointSizeF() == static_cast<double>(vaskelo::kAboutFontSize);
}

bool isReset(Window& w) {
    for (const BandList band : vaskelo::kAllBandLists) {
        if (w.list(band)->currentText() != vaskelo::qt::toQString(vaskelo::kUnchosen)) return false;
    }
    return w.label(Label::Ls1)->text() == vaskelo::qt::toQString(vaskelo::kNoResult) &&
           w.label(Label::Les2)->text() == vaskelo::qt::toQString(vaskelo::kNoResult);
}

// Band 1 shows one of its two colours, with that colour's digit remembered and
// painted on its swatch.
bool band1Picked(Window& w) {
    const vaskelo::BandColour* shown = vaskelo::findBandColour(w.list(BandList::Cr1)->currentText().toStdString());
    return shown != nullptr && (shown->name == kBand1Picked || shown->name == kBand1Next) &&
           w.digits().FirstDigit == std::to_string(shown->digit.value_or(-1)) &&
           w.swatch(BandList::Cr1)->fill() == vaskelo::qt::toQColor(shown->swatch);
}

bool always(Window&) { return true; }
void nothing(Window&) {}

void pickAll(Window& w) { w.pickAll(); }
void about(Window& w) { w.aboutItem()->trigger(); }
void calculate(Window& w) { w.calculateButton()->click(); }
void pickAllAndCalculate(Window& w) {
    w.pickAll();
    w.calculateButton()->click();
}
void calculateWithMouse(Window& w) { clickWithMouse(w.calculateButton()); }
void reset(Window& w) { w.resetButton()->click(); }
// A widget's repaint() leaves out what its opaque children cover, so every widget
// is marked instead and the window is then drawn in one go, as for its first frame.
void repaintWindow(Window& w) {
    w.window()->update();
    for (QWidget* widget : w.window()->findChildren<QWidget*>()) widget->update();
    QCoreApplication::sendPostedEvents();
}
void stepBand1(Window& w) {
    vaskelo::qt::BandCombo* combo = w.list(BandList::Cr1);
    sendKey(combo, combo->currentIndex() == w.rowOf(BandList::Cr1, kBand1Picked) ? Qt::Key_Down : Qt::Key_Up);
}

struct Command {
    std::string_view name;
    void (*setUp)(Window&);    // once, before the timed runs
    void (*before)(Window&);   // before each run, not timed
    void (*command)(Window&);  // timed
    bool (*done)(Window&);     // what the window must show after the last run
    bool paintRow;             // also time the repaint that follows
};

constexpr std::array kCommands{
    Command{"CommDH_Click/button_click/over_About", pickAll, about, calculate, showsValue, true},
    Command{"CommDH_Click/mouse_press_release/over_About", pickAll, about, calculateWithMouse, showsValue, true},
    Command{"CommDH_Click/button_click/same_result_again", pickAll, nothing, calculate, showsValue, true},
    Command{"Cr1_Click/key_down_or_up", pickAll, nothing, stepBand1, band1Picked, true},
    Command{"DYeni_Click/button_click/all_picked", nothing, pickAllAndCalculate, reset, isReset, true},
    Command{"Hakkında_Click/menu_trigger/over_result", pickAll, calculate, about, showsAbout, true},
    // For scale: painting every widget of the window once, as its first frame does.
    Command{"window_paint/every_widget", nothing, nothing, repaintWindow, always, false},
};

void run(benchmark::State& state, Window& window, const PaintCounter& paints, const Command& command, bool withPaint,
         bool& failed) {
    command.setUp(window);
    QCoreApplication::processEvents();
    long paintsTimed = 0;
    for (auto _ : state) {
        command.before(window);
        // The command finds the window drawn and idle, as a user's click does.
        QCoreApplication::processEvents();
        const long paintsBefore = paints.count();
        const auto start = std::chrono::steady_clock::now();
        command.command(window);
        if (withPaint) QCoreApplication::sendPostedEvents();
        const auto stop = std::chrono::steady_clock::now();
        paintsTimed += paints.count() - paintsBefore;
        state.SetIterationTime(std::chrono::duration<double>(stop - start).count());
    }
    state.counters["paints"] = benchmark::Counter(static_cast<double>(paintsTimed), benchmark::Counter::kAvgIterations);
    if (!command.done(window)) {
        state.SkipWithError("the command did not leave the window as it should");
        failed = true;
    }
    QCoreApplication::processEvents();
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    benchmark::Initialize(&argc, argv);
    vaskelo::qt::Application app(argc, argv);

    // The window is made as the program makes it at start-up.
    std::unique_ptr<vaskelo::qt::QtForm> form;
    vaskelo::qt::openMainWindow(form);
    PaintCounter paints;
    QCoreApplication::processEvents();

    Window window(*form);
    bool failed = false;
    for (const Command& command : kCommands) {
        for (const bool withPaint : {false, true}) {
            if (withPaint && !command.paintRow) continue;
            const std::string name = std::string(command.name) + (withPaint ? "/+paint" : "");
            benchmark::RegisterBenchmark(name.c_str(),
                                         [&window, &paints, &command, withPaint, &failed](benchmark::State& state) {
                                             run(state, window, paints, command, withPaint, failed);
                                         })
                ->UseManualTime()
                ->Unit(benchmark::kMicrosecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return failed ? 1 : 0;
}
