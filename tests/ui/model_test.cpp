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
#include <QRandomGenerator>
#include <QStyleHints>
#include <QTest>
#include <QTimer>

#include <cstdio>
#include <fstream>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/main_form.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/widgets.h"
#include "ui/event_wiring.h"
#include "ui/window_description.h"
#include "widget_driver.h"

namespace vaskelo::qt {
namespace model {

// The colours in digit order, with the colour each paints its band.
const QStringList kDigitColours{"Siyah", "Kahverengi", "Kırmızı", "Turuncu", "Sarı",
                                "Yeşil", "Mavi",       "Mor",     "Gri",     "Beyaz"};
const QList<QColor> kDigitSwatches{{0, 0, 0},       {192, 64, 0},  {255, 0, 0},   {255, 192, 128}, {255, 255, 0},
                                   {0, 255, 0},     {0, 0, 255},   {128, 0, 128}, {128, 128, 128}, {255, 255, 255}};
const QList<QStringList> kEntries{
    kDigitColours.mid(1), kDigitColours, kDigitColours + QStringList{"-"}, {"Altın", "Gümüş"}};
const QString kAbout = QString::fromUtf8("     Hazırlayan: Tolvend, Versiyon:1.1");
constexpr int kMaxFieldLength = 32767;  // what a line edit holds

struct State {
    QStringList texts{"?", "?", "?", "?"};
    QList<int> selected{-1, -1, -1, -1};
    QList<QColor> swatches;
    QString first;
    QString second;
    QString result = "-";
    qreal points = 48;
    int top = 200;  // pixels
    QString tolerance = "-";
    bool operator==(const State&) const = default;
};

State initial() {
    State s;
    const QColor base = QApplication::palette().color(QPalette::Base);
    s.swatches = {Qt::white, base, base, base};
    return s;
}

enum class Target { BandText, Swatch, Digit, Result, Points, Top, Tolerance };

struct Write {
    Target target;
    int band = 0;
    QString text{};
    QColor colour{};
    qreal number = 0;
    bool isControlOperation() const { return target != Target::Digit; }
};

void apply(State& s, const Write& w) {
    switch (w.target) {
        case Target::BandText:
            s.texts[w.band] = w.text;
            s.selected[w.band] = static_cast<int>(kEntries[w.band].indexOf(w.text));
            break;
        case Target::Swatch: s.swatches[w.band] = w.colour; break;
        case Target::Digit: (w.band == 0 ? s.first : s.second) = w.text; break;
        case Target::Result: s.result = w.text; break;
        case Target::Points: s.points = w.number; break;
        case Target::Top: s.top = static_cast<int>(w.number); break;
        case Target::Tolerance: s.tolerance = w.text; break;
    }
}

// The first `controlWrites` control operations of a command, with whatever the
// command does in between that is no control operation.
void applyPrefix(State& s, const std::vector<Write>& writes, int controlWrites) {
    for (const Write& w : writes) {
        if (w.isControlOperation() && controlWrites-- <= 0) return;
        apply(s, w);
    }
}

void applyAll(State& s, const std::vector<Write>& writes) { applyPrefix(s, writes, static_cast<int>(writes.size())); }

std::vector<Write> pick(const State& s, int band) {
    const QString& text = s.texts[band];
    if (band == 3) {
        if (text == "Altın") return {{Target::Swatch, 3, {}, QColor(255, 255, 192)}};
        if (text == "Gümüş") return {{Target::Swatch, 3, {}, QColor(224, 224, 224)}};
        return {};
    }
    const auto digit = kDigitColours.indexOf(text);
    if (digit < 0) return {};
    std::vector<Write> writes{{Target::Swatch, band, {}, kDigitSwatches[digit]}};
    if (band < 2) writes.push_back({Target::Digit, band, QString::number(digit)});
    return writes;
}

// The value's suffix for each band 3 entry; a comma form where the value is not whole.
struct Suffix {
    QString band3;
    bool commaForm;
    QString unit;
};
const QList<Suffix> kSuffixes{{"-", true, "Ohm"},   {"Siyah", false, " Ohm"}, {"Kahverengi", false, "0 Ohm"},
                              {"Kırmızı", true, "K"}, {"Turuncu", false, "K"},  {"Sarı", false, "0K"},
                              {"Yeşil", true, "M"},   {"Mavi", false, "M"},     {"Mor", false, "0M"},
                              {"Gri", false, "00M"},  {"Beyaz", false, "000M"}};

std::vector<Write> calculate(const State& s) {
    std::vector<Write> writes{{Target::Points, 0, {}, {}, 48}, {Target::Top, 0, {}, {}, 200}};
    for (const Suffix& suffix : kSuffixes) {
        if (s.texts[2] != suffix.band3) continue;
        QString value = s.first;
        if (!suffix.commaForm) {
            value += s.second;
        } else if (s.texts[1] != "Siyah") {
            value += "," + s.second;
        }
        writes.push_back({Target::Result, 0, value + suffix.unit});
    }
    if (s.texts[3] == "Altın") writes.push_back({Target::Tolerance, 0, "%5"});
    if (s.texts[3] == "Gümüş") writes.push_back({Target::Tolerance, 0, "%10"});
    const auto shows = [&](int band, const QString& digit) {
        return !digit.isEmpty() && kDigitColours.indexOf(s.texts[band]) == digit.toInt();
    };
    const bool missing[3] = {!shows(0, s.first), !shows(1, s.second), !kEntries[2].contains(s.texts[2])};
    for (const bool m : missing) {
        if (m) writes.push_back({Target::Result, 0, "Renk Girin"});
    }
    return writes;
}

std::vector<Write> reset() {
    std::vector<Write> writes;
    for (int band = 0; band < 4; ++band) {
        writes.push_back({Target::BandText, band, "?"});
        writes.push_back({Target::Swatch, band, {}, Qt::white});
    }
    writes.push_back({Target::Result, 0, "-"});
    writes.push_back({Target::Tolerance, 0, "-"});
    return writes;
}

std::vector<Write> about() {
    return {{Target::Top, 0, {}, {}, 220}, {Target::Points, 0, {}, {}, 12}, {Target::Result, 0, kAbout}};
}

}  // namespace model

namespace {

enum class Kind { KeyDown, KeyUp, MousePick, Type, Enter, Leave, Calculate, ResetButton, ResetMenu, About, ClickElsewhere };

struct Action {
    Kind kind;
    int band = 0;
    int row = 0;
    QString text{};
};

QString actionText(const Action& a) {
    const QString band = QString(" Cr%1").arg(a.band + 1);
    switch (a.kind) {
        case Kind::KeyDown: return "Down" + band;
        case Kind::KeyUp: return "Up" + band;
        case Kind::MousePick: return QString("pick%1 row %2").arg(band).arg(a.row);
        case Kind::Type: {
            const QString shown = a.text.size() > 24 ? a.text.left(24) + QString("…(%1)").arg(a.text.size()) : a.text;
            return "type" + band + " \"" + shown + "\"";
        }
        case Kind::Enter: return "Enter" + band;
        case Kind::Leave: return "Tab out of" + band;
        case Kind::Calculate: return "click CommDH";
        case Kind::ResetButton: return "click DYeni";
        case Kind::ResetMenu: return "menu Yeni";
        case Kind::About: return "menu Hakkında";
        case Kind::ClickElsewhere: return QString("click control %1").arg(a.row);
    }
    return {};
}

// Text a person might type or paste: Turkish letters, dotted and dotless i,
// combining marks, right-to-left scripts, emoji, nothing, or a great deal.
QString randomText(QRandomGenerator& random) {
    static const QStringList pieces{"Sarı", "Mor", "Kırmızı", "Kirmizi", "KIRMIZI", "İ", "ı", "i", "I", "ş", "ğ",
                                    "ü", "ö", "ç", "Ç", "Gümüş", "Altın", "u\u0308", "i\u0307", "שלום", "مرحبا",
                                    "🙂", "🇹🇷", "漢字", " ", "?", "-", "Siyah ", "siyah", "0", "%5"};
    switch (random.bounded(10)) {
        case 0: return {};
        case 1: return QString(10000, QChar(u'ş'));
        case 2: return model::kDigitColours[random.bounded(10)];
        default: break;
    }
    QString text;
    const int count = random.bounded(1, 5);
    for (int i = 0; i < count; ++i) text += pieces[random.bounded(static_cast<int>(pieces.size()))];
    return text;
}

Action randomAction(QRandomGenerator& random) {
    Action a{Kind::Calculate};
    a.band = random.bounded(4);
    const int roll = random.bounded(100);
    if (roll < 22) {
        a.kind = Kind::KeyDown;
    } else if (roll < 34) {
        a.kind = Kind::KeyUp;
    } else if (roll < 37) {
        a.kind = Kind::MousePick;
        a.row = random.bounded(static_cast<int>(model::kEntries[a.band].size()));
    } else if (roll < 52) {
        a.kind = Kind::Type;
        a.text = randomText(random);
    } else if (roll < 56) {
        a.kind = Kind::Enter;
    } else if (roll < 60) {
        a.kind = Kind::Leave;
    } else if (roll < 80) {
        a.kind = Kind::Calculate;
    } else if (roll < 85) {
        a.kind = Kind::ResetButton;
    } else if (roll < 89) {
        a.kind = Kind::ResetMenu;
    } else if (roll < 94) {
        a.kind = Kind::About;
    } else {
        a.kind = Kind::ClickElsewhere;
        a.row = random.bounded(8);
    }
    return a;
}

int envInt(const char* name, int fallback) {
    const QByteArray value = qgetenv(name);
    bool ok = false;
    const int n = value.toInt(&ok);
    return ok ? n : fallback;
}

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
        QApplication::setActiveWindow(form->window());
        expected = model::initial();
    }

    model::State shown() const {
        model::State s;
        s.texts.clear();
        s.selected.clear();
        for (int band = 0; band < 4; ++band) {
            s.texts << combo(band)->currentText();
            s.selected << combo(band)->currentIndex();
            s.swatches << qobject_cast<PictureBox*>(form->control("pr" + std::to_string(band + 1)))->fill();
        }
        s.first = QString::fromStdString(form->mainForm().digits().FirstDigit);
        s.second = QString::fromStdString(form->mainForm().digits().SecondDigit);
        s.result = label("Ls1")->text();
        s.points = label("Ls1")->font().pointSizeF();
        s.top = label("Ls1")->y();
        s.tolerance = label("Les2")->text();
        return s;
    }

    // Performs the action on the window and the model alike; returns the writes of
    // the command it ran, if any.
    std::vector<model::Write> perform(const Action& a) {
        BandCombo* c = combo(a.band);
        std::vector<model::Write> writes;
        const auto pickRow = [&](int row) {
            expected.texts[a.band] = model::kEntries[a.band][row];
            expected.selected[a.band] = row;
            writes = model::pick(expected, a.band);
        };
        switch (a.kind) {
            case Kind::KeyDown:
            case Kind::KeyUp: {
                c->setFocus();
                QTest::keyClick(c, a.kind == Kind::KeyDown ? Qt::Key_Down : Qt::Key_Up);
                const int row = expected.selected[a.band] + (a.kind == Kind::KeyDown ? 1 : -1);
                if (row >= 0 && row < model::kEntries[a.band].size()) pickRow(row);
                break;
            }
            case Kind::MousePick:
                // A pick that never took leaves the model as it was, and the comparison says so.
                if (testing::pickWithMouse(c, a.row)) pickRow(a.row);
                break;
            case Kind::Type:
                testing::typeText(c, a.text);
                expected.texts[a.band] = a.text.left(model::kMaxFieldLength);
                break;
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
            case Kind::ClickElsewhere: {
                static const char* const names[] = {"pd1", "pr1", "pr2", "pr4", "Lr2", "Ls1", "Les2", "LTolerans"};
                QTest::mouseClick(form->control(names[a.row]), Qt::LeftButton);
                break;
            }
        }
        return writes;
    }

    // Replays the actions on a fresh window; the index of the first action after
    // which window and model differ, or -1.
    int firstDivergence(const std::vector<Action>& actions) {
        openWindow();
        for (std::size_t i = 0; i < actions.size(); ++i) {
            model::applyAll(expected, perform(actions[i]));
            if (!(shown() == expected)) return static_cast<int>(i);
        }
        return -1;
    }

    // Removes actions while the replay still diverges, halving the chunk size down
    // to single actions; bounded, as each replay takes a fresh window.
    std::vector<Action> shrink(std::vector<Action> actions) {
        int budget = 3000;
        for (std::size_t chunk = actions.size() / 2; chunk >= 1 && budget > 0; chunk /= 2) {
            for (std::size_t start = 0; start + chunk <= actions.size() && budget > 0;) {
                std::vector<Action> candidate(actions.begin(), actions.begin() + static_cast<std::ptrdiff_t>(start));
                candidate.insert(candidate.end(), actions.begin() + static_cast<std::ptrdiff_t>(start + chunk), actions.end());
                --budget;
                const int at = firstDivergence(candidate);
                if (at >= 0) {
                    actions.assign(candidate.begin(), candidate.begin() + at + 1);
                } else {
                    start += chunk;
                }
            }
        }
        return actions;
    }

    static QString describe(const model::State& s) {
        return QString("texts %1 selected %2 swatches %3 digits '%4' '%5' result '%6' %7pt top %8 tolerance '%9'")
            .arg(s.texts.join("|").left(200))
            .arg([&] { QStringList l; for (int i : s.selected) l << QString::number(i); return l.join(","); }())
            .arg([&] { QStringList l; for (const QColor& c : s.swatches) l << c.name(); return l.join(","); }())
            .arg(s.first, s.second, s.result)
            .arg(s.points)
            .arg(s.top)
            .arg(s.tolerance);
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
        const auto seed = static_cast<quint32>(envInt("VASKELO_MODEL_SEED", 20261207));
        const int count = envInt("VASKELO_MODEL_ACTIONS", 20000);
        QRandomGenerator random(seed);
        std::vector<Action> actions;
        openWindow();
        for (int i = 0; i < count; ++i) {
            actions.push_back(randomAction(random));
            model::applyAll(expected, perform(actions.back()));
            const model::State now = shown();
            if (now == expected) continue;

            const QString first = QString("after action %1 (%2):\n  window %3\n  model  %4")
                                      .arg(i)
                                      .arg(actionText(actions.back()))
                                      .arg(describe(now), describe(expected));
            const std::vector<Action> shortest = shrink(actions);
            QString steps;
            for (const Action& a : shortest) steps += "\n  " + actionText(a);
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
            QVERIFY2(shown() == expected, qPrintable(QString("failing operation %1: window %2\nmodel %3")
                                                         .arg(failing).arg(describe(shown()), describe(expected))));
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
            QVERIFY2(shown() == expected, qPrintable(describe(shown())));
        }
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
        expected.texts[0] = huge.left(model::kMaxFieldLength);
        model::applyAll(expected, perform({Kind::Calculate}));
        QCOMPARE(shown(), expected);
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
        QCOMPARE(shown(), expected);
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
