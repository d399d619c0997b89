// Long seeded runs of random user actions checked against the reference model, every
// control operation made to fail in turn (the window suite's model scenarios over the
// Qt driver), and input far outside the usual.
#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QStyleHints>
#include <QTest>

#include <fstream>
#include <string>

#include "platform/qt/application.h"
#include "platform/qt/widgets.h"
#include "qt_driver.h"
#include "tests/window/window_suite.h"

namespace vaskelo::qt {

namespace {

using model::Action;
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

class ModelTest : public QObject {
    Q_OBJECT

    QtDriver driver;
    suite::Session session{driver};

    QLabel* label(std::string_view name) const { return qobject_cast<QLabel*>(driver.widget(name)); }

private slots:
    void initTestCase() { QGuiApplication::styleHints()->setMouseDoubleClickInterval(20); }
    void cleanup() { driver.close(); }

    void scenario_data() {
        QTest::addColumn<int>("index");
        const auto scenarios = suite::modelScenarios();
        for (std::size_t i = 0; i < scenarios.size(); ++i) QTest::newRow(scenarios[i].name) << static_cast<int>(i);
    }
    void scenario() {
        QFETCH(int, index);
        suite::Checks checks;
        driver.open();
        suite::modelScenarios()[static_cast<std::size_t>(index)].run(driver, checks);
        QVERIFY2(checks.faults().empty(), checks.joined().c_str());
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
    vaskelo::qt::ModelTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "model_test.moc"
