// A reference model of the window, written from the program's tables, checked
// after each of many seeded random user actions on the real Qt window; every
// control operation made to fail in turn; and input far outside the usual.
#include <QAbstractItemView>
#include <QAction>
#include <QClipboard>
#include <QLabel>
#include <QMainWindow>
#include <QMessageBox>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "core/main_form.h"
#include "model/window_model.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/widgets.h"
#include "ui/event_wiring.h"
#include "ui/window_description.h"
#include "widget_driver.h"

namespace vaskelo::qt {
namespace {

using model::Action;
using model::Kind;

constexpr int kMaxFieldLength = 32767;  // what a line edit holds

ColourValue colourValue(const QColor& c) {
    return static_cast<ColourValue>(c.red()) | static_cast<ColourValue>(c.green()) << 8 | static_cast<ColourValue>(c.blue()) << 16;
}

QString qs(const std::string& utf8) { return QString::fromStdString(utf8); }

}  // namespace

class ModelTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtForm> form;
    model::State expected;

    BandCombo* combo(int band) const { return qobject_cast<BandCombo*>(form->control("Cr" + std::to_string(band + 1))); }
    QPushButton* button(std::string_view name) const { return qobject_cast<QPushButton*>(form->control(name)); }
    QLabel* label(std::string_view name) const { return qobject_cast<QLabel*>(form->control(name)); }

    void openWindow() {
        form.reset();
        designateMainForm(nullptr);
        openMainWindow(form);
        form->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form->window()));
        expected = model::initial(colourValue(QApplication::palette().color(QPalette::Base)));
    }

    model::State shown() const {
        model::State s;
        for (int band = 0; band < 4; ++band) {
            const auto i = static_cast<std::size_t>(band);
            s.texts[i] = combo(band)->currentText().toStdString();
            s.selected[i] = combo(band)->currentIndex();
            s.swatches[i] = colourValue(qobject_cast<PictureBox*>(form->control("pr" + std::to_string(band + 1)))->fill());
        }
        s.first = form->mainForm().digits().FirstDigit;
        s.second = form->mainForm().digits().SecondDigit;
        s.result = label("Ls1")->text().toStdString();
        s.points = static_cast<float>(label("Ls1")->font().pointSizeF());
        s.top = static_cast<float>(label("Ls1")->y() * kTwipsPerPixel);
        s.tolerance = label("Les2")->text().toStdString();
        return s;
    }

    // Performs the action on the window and the model alike; returns the writes of
    // the command it ran, if any.
    std::vector<model::Write> perform(const Action& a) {
        BandCombo* c = combo(a.band);
        const auto band = static_cast<std::size_t>(a.band);
        std::vector<model::Write> writes;
        switch (a.kind) {
            case Kind::KeyDown:
            case Kind::KeyUp: {
                c->setFocus();
                QTest::keyClick(c, a.kind == Kind::KeyDown ? Qt::Key_Down : Qt::Key_Up);
                if (const auto row = model::arrowRow(a.band, expected.selected[band], a.kind == Kind::KeyDown)) {
                    writes = model::pickRow(expected, a.band, *row);
                }
                break;
            }
            // A pick that never took leaves the model as it was, and the comparison says so.
            case Kind::MousePick:
                if (testing::pickWithMouse(c, a.row)) writes = model::pickRow(expected, a.band, a.row);
                break;
            case Kind::KeyPick:
                if (testing::pickWithKeys(c, a.row)) writes = model::pickRow(expected, a.band, a.row);
                break;
            case Kind::Type: {
                const QString text = qs(a.text);
                testing::typeText(c, text);
                expected.texts[band] = text.left(kMaxFieldLength).toStdString();
                break;
            }
            case Kind::Enter:
                c->setFocus();
                QTest::keyClick(c, Qt::Key_Return);
                break;
            case Kind::Leave:
                c->setFocus();
                QTest::keyClick(c, Qt::Key_Tab);
                break;
            case Kind::Calculate:
                QTest::mouseClick(button("CommDH"), Qt::LeftButton);
                writes = model::calculate(expected);
                break;
            case Kind::ResetButton:
                QTest::mouseClick(button("DYeni"), Qt::LeftButton);
                writes = model::reset();
                break;
            case Kind::ResetMenu:
                form->menuItem("Yeni")->trigger();
                writes = model::reset();
                break;
            case Kind::About:
                form->menuItem("Hakkında")->trigger();
                writes = model::about();
                break;
            case Kind::Exit: {
                // Çıkış ends the program's event loop, so it is chosen inside one; the
                // window goes, and the next action finds a new one, as after a new start.
                QTimer::singleShot(0, form->window(), [this] { form->menuItem("Çıkış")->trigger(); });
                QTimer guard;
                guard.setSingleShot(true);
                connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(1); });
                guard.start(5000);
                if (QCoreApplication::exec() == 0 && !form->window()->isVisible()) {
                    openWindow();
                } else {
                    expected.result = "(the window gone)";  // which no window shows
                }
                break;
            }
            case Kind::ClickElsewhere:
                QTest::mouseClick(form->control(model::kClickTargets[static_cast<std::size_t>(a.row)]), Qt::LeftButton);
                break;
        }
        return writes;
    }

    // Replays the actions on a fresh window; the index of the first action after
    // which window and model differ, or -1.
    int firstDivergence(const std::vector<Action>& actions) {
        openWindow();
        for (std::size_t i = 0; i < actions.size(); ++i) {
            model::applyAll(expected, perform(actions[i]));
            if (!model::matches(shown(), expected)) return static_cast<int>(i);
        }
        return -1;
    }

    // The text of the message box the next command opens, answered at once.
    void answerMessageBoxInto(QString& report) {
        QTimer::singleShot(0, this, [&report] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                report = box->windowTitle() + "\n" + box->text();
                box->accept();
            }
        });
    }

    static long residentKilobytes() {
        std::ifstream status("/proc/self/status");
        std::string key;
        long value = 0;
        while (status >> key) {
            if (key == "VmRSS:") {
                status >> value;
                return value;
            }
        }
        return 0;
    }

private slots:
    void initTestCase() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(20); }
    void cleanup() {
        form.reset();
        setMainFormCreator(nullptr);
    }

    void randomActionsMatchTheModel() {
        const std::uint32_t seed = model::seedFromEnvironment(20261207);
        const int count = model::actionsFromEnvironment(20000);
        model::ActionSource source(seed);
        std::vector<Action> actions;
        openWindow();
        for (int i = 0; i < count; ++i) {
            actions.push_back(source.next());
            model::applyAll(expected, perform(actions.back()));
            const model::State now = shown();
            if (model::matches(now, expected)) continue;

            const QString first = QString("after action %1 (%2):\n  window %3\n  model  %4")
                                      .arg(i)
                                      .arg(qs(model::actionText(actions.back())))
                                      .arg(qs(model::describe(now)), qs(model::describe(expected)));
            // Replays are bounded by the actions they make: five runs' worth, about five
            // minutes, well within the test's time at any build's speed.
            const std::vector<Action> shortest = model::shrink(
                actions, [this](const std::vector<Action>& replay) { return firstDivergence(replay); }, 5L * count);
            QString steps;
            for (const Action& a : shortest) steps += "\n  " + qs(model::actionText(a));
            QFAIL(qPrintable(QString("seed %1 diverged %2\nshortest sequence found (%3 actions):%4")
                                 .arg(seed).arg(first).arg(shortest.size()).arg(steps)));
        }
        qInfo("seed %u: %d actions matched the model", seed, count);
    }

    void everyOperationFailsOnceInTurn_data() {
        QTest::addColumn<int>("command");
        QTest::newRow("pick band 1 by key") << 0;
        QTest::newRow("pick band 4 by key") << 1;
        QTest::newRow("calculate") << 2;
        QTest::newRow("reset button") << 3;
        QTest::newRow("reset menu") << 4;
        QTest::newRow("about") << 5;
    }
    void everyOperationFailsOnceInTurn() {
        QFETCH(int, command);
        const std::vector<Action> setup{{Kind::KeyDown, 0}, {Kind::KeyDown, 0}, {Kind::KeyDown, 1}, {Kind::KeyDown, 1},
                                        {Kind::KeyDown, 2}, {Kind::KeyDown, 2}, {Kind::KeyDown, 2}, {Kind::KeyDown, 3}};
        const Action actions[] = {{Kind::KeyDown, 0}, {Kind::KeyDown, 3}, {Kind::Calculate}, {Kind::ResetButton},
                                  {Kind::ResetMenu}, {Kind::About}};
        const Action& act = actions[command];

        // How many control operations the command performs from this state.
        int operations = 0;
        openWindow();
        for (const Action& a : setup) model::applyAll(expected, perform(a));
        form->setOperationGate([&operations](std::string_view, Operation) {
            ++operations;
            return kOk;
        });
        perform(act);
        QVERIFY(operations > 0);

        for (int failing = 1; failing <= operations; ++failing) {
            openWindow();
            for (const Action& a : setup) model::applyAll(expected, perform(a));
            int seen = 0;
            int writesBefore = 0;
            std::string failedControl;
            Operation failedOperation = Operation::ReadText;
            form->setOperationGate([&](std::string_view control, Operation operation) {
                if (++seen == failing) {
                    failedControl = control;
                    failedOperation = operation;
                    return Status{0x4D2};
                }
                if (operation != Operation::ReadText) ++writesBefore;
                return kOk;
            });
            QString report;
            answerMessageBoxInto(report);
            const std::vector<model::Write> writes = perform(act);
            model::applyPrefix(expected, writes, writesBefore);
            QVERIFY2(model::matches(shown(), expected), qPrintable(QString("failing operation %1: window %2\nmodel %3")
                                                         .arg(failing).arg(qs(model::describe(shown())), qs(model::describe(expected)))));
            QVERIFY2(report.startsWith(QString::fromUtf8("Vaskelo - Çalışma zamanı hatası")), qPrintable(report));
            QVERIFY2(report.contains(QString::fromStdString(failedControl)) &&
                         report.contains(QString::fromUtf8(vaskelo::describe(failedOperation).data())) &&
                         report.contains("0x4D2"),
                     qPrintable(report));

            // The window goes on as if nothing had happened.
            form->setOperationGate(nullptr);
            for (const Action& a : {Action{Kind::KeyDown, 1}, Action{Kind::Calculate}}) {
                model::applyAll(expected, perform(a));
            }
            QVERIFY2(model::matches(shown(), expected), qPrintable(qs(model::describe(shown()))));
        }

        // Anything else a command throws stops it the same way: it is reported, naming
        // the command, and the window goes on.
        const char* const procedures[] = {"Cr1_Click", "Cr4_Click", "CommDH_Click", "DYeni_Click", "Yeni_Click", "Hakkında_Click"};
        openWindow();
        for (const Action& a : setup) model::applyAll(expected, perform(a));
        form->setOperationGate([](std::string_view, Operation) -> Status { throw std::bad_alloc(); });
        QString report;
        answerMessageBoxInto(report);
        model::applyPrefix(expected, perform(act), 0);
        QCOMPARE(report, QString::fromUtf8("Vaskelo - Çalışma zamanı hatası\n") +
                             qs(unexpectedErrorMessage(procedures[command], true)));
        form->setOperationGate(nullptr);
        for (const Action& a : {Action{Kind::KeyDown, 1}, Action{Kind::Calculate}}) model::applyAll(expected, perform(a));
        QVERIFY2(model::matches(shown(), expected), qPrintable(qs(model::describe(shown()))));
    }

    void aMegabytePastedIntoAListIsJustText() {
        openWindow();
        for (const Action& a : {Action{Kind::KeyDown, 0}, Action{Kind::KeyDown, 1}, Action{Kind::KeyDown, 2}}) {
            model::applyAll(expected, perform(a));
        }
        const QString huge(1 << 20, QChar(u'ğ'));
        QApplication::clipboard()->setText(huge);
        if (QApplication::clipboard()->text() != huge) QSKIP("this platform has no clipboard");
        combo(0)->setFocus();
        QTest::keyClick(combo(0), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(combo(0), Qt::Key_V, Qt::ControlModifier);
        expected.texts[0] = huge.left(kMaxFieldLength).toStdString();
        model::applyAll(expected, perform({Kind::Calculate}));
        QVERIFY(model::matches(shown(), expected));
        QCOMPARE(label("Ls1")->text(), QString("Renk Girin"));
    }

    void aThousandClicksOnCalculateLeaveNothingBehind() {
        openWindow();
        for (const Action& a : {Action{Kind::KeyDown, 0}, Action{Kind::KeyDown, 1}, Action{Kind::KeyDown, 2},
                                Action{Kind::KeyDown, 3}}) {
            model::applyAll(expected, perform(a));
        }
        const auto clicks = [this] {
            for (int i = 0; i < 1000; ++i) QTest::mouseClick(button("CommDH"), Qt::LeftButton);
            QCoreApplication::processEvents();
        };
        clicks();  // warm-up: fonts and glyph caches fill once
        const long before = residentKilobytes();
        clicks();
        clicks();
        const long growth = residentKilobytes() - before;
        model::applyAll(expected, model::calculate(expected));
        QVERIFY(model::matches(shown(), expected));
#if defined(__SANITIZE_ADDRESS__)
        QSKIP("AddressSanitizer holds freed memory back on purpose; memory is measured without it");
#endif
        QVERIFY2(growth < 1024, qPrintable(QString("resident memory grew by %1 kB").arg(growth)));
    }
};

}  // namespace vaskelo::qt

int main(int argc, char* argv[]) {
    // The offscreen platform says, for every popup, what it cannot do; that is not news.
    static const QtMessageHandler next = qInstallMessageHandler(nullptr);
    qInstallMessageHandler([](QtMsgType type, const QMessageLogContext& context, const QString& message) {
        if (!message.startsWith("This plugin does not support")) next(type, context, message);
    });
    vaskelo::qt::Application app(argc, argv);
    vaskelo::qt::ModelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "model_test.moc"
