// The Qt window through its real widgets: the window suite's scenarios and model runs
// over the Qt driver, what only Qt has (its icon, its own texts, its accessibility
// tree), and input far outside the usual.
#include <QAccessible>
#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QPushButton>
#include <QStyleHints>
#include <QTest>

#include <fstream>
#include <functional>
#include <string>

#include "platform/qt/application.h"
#include "platform/qt/widgets.h"
#include "qt_driver.h"
#include "tests/window/window_suite.h"

namespace vaskelo::qt {

namespace {

using model::Kind;

long residentKilobytes() {
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

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

    QtDriver driver;
    suite::Session session{driver};

    static void rows(std::span<const suite::Scenario> scenarios) {
        QTest::addColumn<int>("index");
        for (std::size_t i = 0; i < scenarios.size(); ++i) QTest::newRow(scenarios[i].name) << static_cast<int>(i);
    }
    void run(std::span<const suite::Scenario> scenarios) {
        QFETCH(int, index);
        suite::Checks checks;
        scenarios[static_cast<std::size_t>(index)].run(driver, checks);
        QVERIFY2(checks.faults().empty(), checks.joined().c_str());
    }

    QLabel* label(std::string_view name) const { return qobject_cast<QLabel*>(driver.widget(name)); }

private slots:
    void init() { driver.open(); }
    void cleanup() { driver.close(); }

    void initTestCase() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(20); }
    void scenario_data() { rows(suite::windowScenarios()); }
    void scenario() { run(suite::windowScenarios()); }
    void modelScenario_data() { rows(suite::modelScenarios()); }
    void modelScenario() { run(suite::modelScenarios()); }

    // Qt sizes a band list as described; a Win32 list takes its font's height.
    void listsHaveTheirDescribedHeight() {
        for (const char* list : {"Cr1", "Cr4"}) QCOMPARE(driver.place(list).bottom, 157);
    }

    void iconIsTheProgramsOwn() {
        const QImage icon = driver.form->window()->windowIcon().pixmap(32, 32).toImage();
        QCOMPARE(icon.pixelColor(0, 0).alpha(), 0);
        QCOMPARE(icon.pixelColor(0, 16), QColor(Qt::black));
    }

    // Once the program has ended nothing runs any more, even if an event still
    // reaches a control.
    void nothingRunsAfterTheEnd() {
        QCOMPARE(driver.end(true).code, 0);
        QTest::mouseClick(driver.widget("DYeni"), Qt::LeftButton);
        QCOMPARE(label("Les2")->text(), QString("-"));
        emit qobject_cast<QPushButton*>(driver.widget("CommDH"))->clicked();
        QCOMPARE(label("Ls1")->text(), QString("-"));
    }

    // Everything a screen reader reaches has a name, but for the client area and the
    // menu bar, which it announces by their kind; the swatches are graphics, and each
    // list's label is its buddy.
    void accessibilityTreeIsComplete() {
        QStringList nameless;
        const std::function<void(QAccessibleInterface*)> visit = [&](QAccessibleInterface* node) {
            if (node->text(QAccessible::Name).isEmpty()) nameless << qAccessibleRoleString(node->role());
            for (int i = 0; i < node->childCount(); ++i) visit(node->child(i));
        };
        visit(QAccessible::queryAccessibleInterface(driver.form->window()));
        QCOMPARE(nameless, (QStringList{"Client", "MenuBar"}));
        QCOMPARE(QAccessible::queryAccessibleInterface(driver.widget("pr1"))->role(), QAccessible::Graphic);
        for (int band = 1; band <= 4; ++band) QCOMPARE(label("Lr" + std::to_string(band))->buddy(), driver.combo(band - 1));
    }

    // Qt's own texts, whatever the system's locale: the menu a band list's field opens
    // on a right click, and the error report's button.
    void toolkitTextsAreTurkish() {
        QVERIFY2(!driver.okButton().starts_with("(no Turkish"), driver.okButton().c_str());
        QLineEdit* field = driver.combo(0)->lineEdit();
        const QPoint at = field->rect().center();
        QContextMenuEvent rightClick(QContextMenuEvent::Mouse, at, field->mapToGlobal(at));  // what a right click sends
        QApplication::sendEvent(field, &rightClick);
        QVERIFY(QTest::qWaitFor([&] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()) != nullptr; }));
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        QStringList items;
        for (QAction* action : menu->actions()) {
            if (!action->isSeparator()) items << action->text().section('\t', 0, 0).remove('&');
        }
        menu->close();
        QStringList turkish;
        for (const char* english : {"&Undo", "&Redo", "Cu&t", "&Copy", "&Paste", "Delete", "Select All"}) {
            turkish << installedTurkish("QLineEdit", english);
        }
        QCOMPARE(items, turkish);
    }

    void aMegabytePastedIntoAListIsJustText() {
        session.open();
        session.perform({{Kind::KeyDown, 0}, {Kind::KeyDown, 1}, {Kind::KeyDown, 2}});
        const QString huge(1 << 20, QChar(u'ğ'));
        QApplication::clipboard()->setText(huge);
        if (QApplication::clipboard()->text() != huge) QSKIP("this platform has no clipboard");
        BandCombo* first = driver.combo(0);
        first->setFocus();
        QTest::keyClick(first, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(first, Qt::Key_V, Qt::ControlModifier);
        driver.noteTyped(session.expected, 0, huge.toStdString());
        session.perform({Kind::Calculate});
        QVERIFY2(session.matches(), session.mismatch().c_str());
        QCOMPARE(label("Ls1")->text(), QString("Renk Girin"));
    }

    void aThousandClicksOnCalculateLeaveNothingBehind() {
        session.open();
        session.perform({{Kind::KeyDown, 0}, {Kind::KeyDown, 1}, {Kind::KeyDown, 2}, {Kind::KeyDown, 3}});
        const auto clicks = [this] {
            for (int i = 0; i < 1000; ++i) QTest::mouseClick(driver.widget("CommDH"), Qt::LeftButton);
            QCoreApplication::processEvents();
        };
        clicks();  // warm-up: fonts and glyph caches fill once
        const long before = residentKilobytes();
        clicks();
        clicks();
        const long growth = residentKilobytes() - before;
        model::applyAll(session.expected, model::calculate(session.expected));
        QVERIFY2(session.matches(), session.mismatch().c_str());
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
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    vaskelo::qt::WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
