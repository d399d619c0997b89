// The window driven through its real widgets with real key and mouse events.
#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFontInfo>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>
#include <QScopeGuard>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include <algorithm>
#include <array>
#include <functional>
#include <memory>
#include <optional>

#include "core/band_colours.h"
#include "core/main_form.h"
#include "platform/qt/application.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/widgets.h"
#include "ui/event_wiring.h"
#include "ui/resistor_picture.h"
#include "ui/scaled_box.h"
#include "ui/window_description.h"
#include "tests/common/scaled_window_checks.h"
#include "tests/common/scheme_checks.h"
#include "widget_driver.h"

namespace vaskelo::qt {
namespace {

// Everything the commands can change, as the window shows it.
struct Snapshot {
    QStringList texts;
    QList<int> selected;
    QList<QColor> swatches;
    QString result;
    qreal resultPoints;
    QRect resultGeometry;
    QString tolerance;
    std::string firstDigit;
    std::string secondDigit;
    bool operator==(const Snapshot&) const = default;
};

}  // namespace

class WindowTest : public QObject {
    Q_OBJECT

    std::unique_ptr<QtForm> form;

    BandCombo* combo(int band) const { return qobject_cast<BandCombo*>(form->control("Cr" + std::to_string(band))); }
    PictureBox* swatch(int band) const { return qobject_cast<PictureBox*>(form->control("pr" + std::to_string(band))); }
    QLabel* label(std::string_view name) const { return qobject_cast<QLabel*>(form->control(name)); }
    QPushButton* button(std::string_view name) const { return qobject_cast<QPushButton*>(form->control(name)); }

    Snapshot snapshot() const {
        Snapshot s;
        for (int band = 1; band <= 4; ++band) {
            s.texts << combo(band)->currentText();
            s.selected << combo(band)->currentIndex();
            s.swatches << swatch(band)->fill();
        }
        s.result = label("Ls1")->text();
        s.resultPoints = label("Ls1")->font().pointSizeF();
        s.resultGeometry = label("Ls1")->geometry();
        s.tolerance = label("Les2")->text();
        s.firstDigit = form->mainForm().digits().FirstDigit;
        s.secondDigit = form->mainForm().digits().SecondDigit;
        return s;
    }

    void pickWithMouse(int band, const QString& entry) {
        const int row = combo(band)->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QVERIFY(row >= 0);
        QVERIFY(testing::pickWithMouse(combo(band), row));
    }

    // A pick with the keyboard: arrow keys from wherever the list stands.
    void pickWithKeys(int band, const QString& entry) {
        BandCombo* c = combo(band);
        c->setFocus();
        const int row = c->findText(entry, Qt::MatchExactly | Qt::MatchCaseSensitive);
        QVERIFY(row >= 0);
        if (c->currentIndex() > row) {
            for (int i = c->currentIndex(); i > row; --i) QTest::keyClick(c, Qt::Key_Up);
        } else {
            for (int i = c->currentIndex(); i < row; ++i) QTest::keyClick(c, Qt::Key_Down);
        }
    }

    void typeInto(int band, const QString& text) { testing::typeText(combo(band), text); }

    void clickMenu(const QString& title, const QString& item) {
        QMenuBar* bar = form->window()->menuBar();
        QAction* titleAction = nullptr;
        for (QAction* a : bar->actions()) {
            if (a->text() == title) titleAction = a;
        }
        QVERIFY(titleAction != nullptr);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(titleAction).center());
        QMenu* menu = titleAction->menu();
        QVERIFY(QTest::qWaitFor([&] { return menu->isVisible(); }));
        QAction* itemAction = menu->actions().value(0);
        QCOMPARE(itemAction->text(), item);
        // As a hand does: along the item, which lights up, then a click, all through the
        // menu window's own input, the way the display server's events arrive. (A menu
        // takes no hover from a pointer that has barely moved since it opened.)
        QWindow* popup = menu->windowHandle();
        const QPoint onItem = menu->actionGeometry(itemAction).center();
        for (int step = 8; step >= 0; --step) QTest::mouseMove(popup, onItem - QPoint(2 * step, 0));
        QVERIFY(QTest::qWaitFor([&] { return menu->activeAction() == itemAction; }));
        QTest::mouseClick(popup, Qt::LeftButton, {}, onItem);
        QVERIFY(QTest::qWaitFor([&] { return !menu->isVisible(); }));
    }

    void calculate() { QTest::mouseClick(button("CommDH"), Qt::LeftButton); }

    // One of Qt's own texts as the installed Turkish catalogue has it (its wording
    // changes between Qt versions), without its mnemonic mark; a text the catalogue
    // leaves English, or a catalogue that is not loaded, fails the test.
    static QString installedTurkish(const char* context, const char* english) {
        const QString turkish = QCoreApplication::translate(context, english);
        if (turkish == QLatin1String(english)) {
            QTest::qFail(qPrintable(QString("Qt's catalogue has no Turkish for \"%1\"").arg(english)), __FILE__, __LINE__);
        }
        return QString(turkish).remove('&');
    }

private slots:
    void init() {
        designateMainForm(nullptr);
        openMainWindow(form);
        QVERIFY(QTest::qWaitForWindowExposed(form->window()));
        form->window()->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form->window()));
    }

    void cleanup() {
        form.reset();
        setMainFormCreator(nullptr);
    }

    void startsInItsInitialState() {
        QCOMPARE(designatedMainForm(), &form->mainForm());
        QCOMPARE(form->window()->windowTitle(), QString("Vaskelo"));
        QCOMPARE(form->window()->windowIcon().pixmap(32, 32).toImage().pixelColor(0, 0).alpha(), 0);
        QCOMPARE(form->window()->windowIcon().pixmap(32, 32).toImage().pixelColor(0, 16), QColor(Qt::black));
        QCOMPARE(form->window()->centralWidget()->size(), QSize(375, 285));
        const QColor windowBackground = QApplication::palette().color(QPalette::Base);
        for (int band = 1; band <= 4; ++band) {
            QCOMPARE(combo(band)->currentText(), QString("?"));
            QCOMPARE(combo(band)->currentIndex(), -1);
            QCOMPARE(swatch(band)->fill(), band == 1 ? QColor(Qt::white) : windowBackground);
        }
        QCOMPARE(label("Ls1")->text(), QString("-"));
        QCOMPARE(label("Ls1")->pos(), QPoint(8, 200));
        QCOMPARE(label("Ls1")->font().pointSizeF(), 48.0);
        QVERIFY(label("Ls1")->font().bold());
        QCOMPARE(QFontInfo(label("Ls1")->font()).family(), QString("Liberation Sans"));
        QCOMPARE(QFontInfo(label("Lr1")->font()).family(), QString("Liberation Sans"));
        QCOMPARE(QFontInfo(button("CommDH")->font()).pointSizeF(), 12.0);
        QCOMPARE(label("Les2")->text(), QString("-"));
        QCOMPARE(button("CommDH")->text(), QString("D e ğ e r i   H e s a p l a"));
        QCOMPARE(QApplication::focusWidget(), form->control("pd1"));
        QCOMPARE(form->mainForm().digits().FirstDigit, std::string());
    }

    void aColouredSchemeReachesOnlyTheSchemeColouredControls() {
        const QPalette original = QApplication::palette();
        const auto restore = qScopeGuard([original] { QApplication::setPalette(original); });
        QPalette scheme = original;
        const QColor cream(255, 238, 204);
        scheme.setColor(QPalette::Base, cream);
        QApplication::setPalette(scheme);
        cleanup();
        init();
        QCOMPARE(swatch(1)->fill(), QColor(Qt::white));
        QCOMPARE(combo(4)->palette().color(QPalette::Base), QColor(Qt::white));
        for (int band = 2; band <= 4; ++band) QCOMPARE(swatch(band)->fill(), cream);
        for (int band = 1; band <= 3; ++band) QCOMPARE(combo(band)->palette().color(QPalette::Base), cream);
    }

    void controlsStandWhereTheDescriptionPutsThem_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("geometry");
        QTest::newRow("picture") << "pd1" << QRect(8, 8, 357, 97);
        QTest::newRow("band 1 swatch, inside the picture's border") << "pr1" << QRect(49, 9, 42, 78);
        QTest::newRow("band 4 swatch") << "pr4" << QRect(241, 9, 42, 78);
        QTest::newRow("band 1 list") << "Cr1" << QRect(8, 136, 81, 21);
        QTest::newRow("band 4 list, one pixel over band 3") << "Cr4" << QRect(248, 136, 81, 21);
        QTest::newRow("calculate") << "CommDH" << QRect(8, 160, 321, 25);
        QTest::newRow("reset, at 333 1/3 pixels") << "DYeni" << QRect(333, 136, 33, 49);
    }
    void controlsStandWhereTheDescriptionPutsThem() {
        QFETCH(QString, name);
        QFETCH(QRect, geometry);
        QCOMPARE(form->control(name.toStdString())->geometry(), geometry);
    }

    void resizingMovesNothing() {
        QList<QRect> before;
        for (const ControlDescription& c : mainWindowDescription().controls) before << form->control(c.name)->geometry();
        form->window()->resize(900, 700);
        QTest::qWait(50);
        form->window()->resize(120, 90);
        QTest::qWait(50);
        QList<QRect> after;
        for (const ControlDescription& c : mainWindowDescription().controls) after << form->control(c.name)->geometry();
        QCOMPARE(after, before);
    }

    void menusHaveNoAccessKeysOrShortcuts() {
        QMenuBar* bar = form->window()->menuBar();
        QStringList titles;
        for (QAction* title : bar->actions()) {
            titles << title->text();
            QVERIFY(!title->text().contains('&'));
            for (QAction* item : title->menu()->actions()) {
                QVERIFY(!item->text().contains('&'));
                QVERIFY(item->shortcut().isEmpty());
                QVERIFY(!item->isCheckable());
            }
        }
        QCOMPARE(titles, (QStringList{"Dosya", "Düzenleme", "Yardım"}));
    }

    void listsOfferTheirEntriesUnsorted() {
        QStringList first;
        for (int i = 0; i < combo(1)->count(); ++i) first << combo(1)->itemText(i);
        QCOMPARE(first, (QStringList{"Kahverengi", "Kırmızı", "Turuncu", "Sarı", "Yeşil", "Mavi", "Mor", "Gri", "Beyaz"}));
        QCOMPARE(combo(3)->itemText(10), QString("-"));
        QCOMPARE(combo(4)->count(), 2);
    }

    void arrowKeysPickFromTheFirstEntry() {
        combo(1)->setFocus();
        QTest::keyClick(combo(1), Qt::Key_Down);
        QCOMPARE(combo(1)->currentText(), QString("Kahverengi"));
        QCOMPARE(swatch(1)->fill(), QColor(192, 64, 0));
        QCOMPARE(form->mainForm().digits().FirstDigit, std::string("1"));
        pickWithKeys(1, "Mor");
        QCOMPARE(swatch(1)->fill(), QColor(128, 0, 128));
        QCOMPARE(form->mainForm().digits().FirstDigit, std::string("7"));
    }

    void mousePicksFromTheDropDown() {
        pickWithMouse(2, "Siyah");
        QCOMPARE(combo(2)->currentText(), QString("Siyah"));
        QCOMPARE(swatch(2)->fill(), QColor(Qt::black));
        QCOMPARE(form->mainForm().digits().SecondDigit, std::string("0"));
        pickWithMouse(3, "Mavi");
        pickWithMouse(3, "-");
        QCOMPARE(combo(3)->currentText(), QString("-"));
        QCOMPARE(swatch(3)->fill(), QColor(0, 0, 255));
    }

    void typingEnterAndLeavingRunNothing_data() {
        QTest::addColumn<QString>("typed");
        QTest::newRow("a colour name") << QString("Sarı");
        QTest::newRow("the start of one, never completed") << QString("Ka");
        QTest::newRow("dotted i") << QString("Kirmizi");
        QTest::newRow("right-to-left and emoji") << QString::fromUtf8("مرحبا 🙂");
    }
    void typingEnterAndLeavingRunNothing() {
        QFETCH(QString, typed);
        pickWithKeys(1, "Mor");
        const Snapshot picked = snapshot();
        typeInto(1, typed);
        QCOMPARE(combo(1)->currentText(), typed);
        QTest::keyClick(combo(1), Qt::Key_Return);
        QTest::keyClick(combo(1), Qt::Key_Enter);
        QCOMPARE(combo(1)->currentText(), typed);
        QTest::keyClick(combo(1), Qt::Key_Tab);  // leaves the field
        QVERIFY(!combo(1)->hasFocus());
        Snapshot expected = picked;
        expected.texts[0] = typed;
        QCOMPARE(snapshot(), expected);
    }

    void calculationShowsValueAndTolerance() {
        pickWithKeys(1, "Sarı");
        pickWithKeys(2, "Mor");
        pickWithMouse(3, "Kırmızı");
        pickWithKeys(4, "Altın");
        calculate();
        QCOMPARE(label("Ls1")->text(), QString("4,7K"));
        QCOMPARE(label("Les2")->text(), QString("%5"));
        const QFontMetrics metrics(label("Ls1")->font());
        QCOMPARE(label("Ls1")->geometry(), QRect(QPoint(8, 200), QSize(metrics.horizontalAdvance("4,7K"), metrics.height())));
        QCOMPARE(label("Les2")->width(), QFontMetrics(label("Les2")->font()).horizontalAdvance("%5"));
    }

    void typedOverAPickPrompts() {
        pickWithKeys(1, "Sarı");
        pickWithKeys(2, "Mor");
        pickWithKeys(3, "Kırmızı");
        typeInto(1, "Mor");
        calculate();
        QCOMPARE(label("Ls1")->text(), QString("Renk Girin"));
        QCOMPARE(swatch(1)->fill(), QColor(255, 255, 0));
    }

    void aboutThenCalculate() {
        clickMenu("Yardım", "Hakkında");
        QCOMPARE(label("Ls1")->text(), QString("     Hazırlayan: Tolvend, Versiyon:1.1"));
        QCOMPARE(label("Ls1")->font().pointSizeF(), 12.0);
        QCOMPARE(label("Ls1")->pos(), QPoint(8, 220));
        calculate();
        QCOMPARE(label("Ls1")->text(), QString("Renk Girin"));
        QCOMPARE(label("Ls1")->font().pointSizeF(), 48.0);
        QCOMPARE(label("Ls1")->pos(), QPoint(8, 200));
    }

    void buttonAndMenuResetLeaveIdenticalWindows() {
        const auto session = [this](bool byMenu) {
            pickWithKeys(1, "Turuncu");
            pickWithKeys(2, "Beyaz");
            pickWithKeys(4, "Gümüş");
            calculate();
            clickMenu("Yardım", "Hakkında");
            if (byMenu) {
                clickMenu("Düzenleme", "Yeni");
            } else {
                QTest::mouseClick(button("DYeni"), Qt::LeftButton);
            }
            return snapshot();
        };
        const Snapshot byButton = session(false);
        cleanup();
        init();
        const Snapshot byMenu = session(true);
        QCOMPARE(byMenu, byButton);
        QCOMPARE(byMenu.texts, (QStringList{"?", "?", "?", "?"}));
        QCOMPARE(byMenu.selected, (QList<int>{-1, -1, -1, -1}));
        QCOMPARE(byMenu.swatches, (QList<QColor>(4, QColor(Qt::white))));
        QCOMPARE(byMenu.result, QString("-"));
        QCOMPARE(byMenu.resultPoints, 12.0);
        QCOMPARE(byMenu.firstDigit, std::string("3"));
        // After a reset the arrow keys start again from the first entry.
        combo(2)->setFocus();
        QTest::keyClick(combo(2), Qt::Key_Down);
        QCOMPARE(combo(2)->currentText(), QString("Siyah"));
    }

    void clicksOutsideTheBoundControlsRunNothing() {
        pickWithKeys(1, "Sarı");
        const Snapshot before = snapshot();
        for (const char* name : {"pd1", "pr1", "pr3", "Ls1", "Les2", "Lr1", "LTolerans"}) {
            QTest::mouseClick(form->control(name), Qt::LeftButton);
        }
        QMenuBar* bar = form->window()->menuBar();
        QAction* title = bar->actions().value(1);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QVERIFY(QTest::qWaitFor([&] { return title->menu()->isVisible(); }));
        QTest::keyClick(title->menu(), Qt::Key_Escape);
        QVERIFY(QTest::qWaitFor([&] { return !title->menu()->isVisible(); }));
        QCOMPARE(snapshot(), before);
    }

    void failedOperationIsReportedAndTheWindowGoesOn() {
        pickWithKeys(1, "Sarı");
        pickWithKeys(2, "Mor");
        delete form->control("pr2");  // the next operation on it fails
        QString report;
        QTimer::singleShot(0, this, [&report] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr) return;
            report = box->windowTitle() + "|" + box->text() + "|" + box->buttons().value(0)->text();
            box->accept();
        });
        QTest::mouseClick(button("DYeni"), Qt::LeftButton);
        QVERIFY2(report.contains("pr2") && report.contains("arka plan rengi"), qPrintable(report));
        QVERIFY(report.startsWith("Vaskelo - Çalışma zamanı hatası"));
        QVERIFY2(report.endsWith("|" + installedTurkish("QPlatformTheme", "OK")), qPrintable(report));
        // Band 1 was reset and band 2's text too, then the command stopped.
        QCOMPARE(combo(1)->currentText(), QString("?"));
        QCOMPARE(swatch(1)->fill(), QColor(Qt::white));
        QCOMPARE(combo(2)->currentText(), QString("?"));
        QCOMPARE(combo(3)->currentText(), QString("?"));
        QCOMPARE(label("Ls1")->text(), QString("-"));
        pickWithKeys(1, "Mor");
        calculate();
        QCOMPARE(label("Ls1")->text(), QString("Renk Girin"));
        QCOMPARE(swatch(1)->fill(), QColor(128, 0, 128));
    }

    void exitEndsTheProgramAtOnce() {
        QAction* exitItem = form->menuItem("Çıkış");
        QTimer::singleShot(0, exitItem, &QAction::trigger);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });  // only if it did not end
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!form->window()->isVisible());
        // Nothing runs any more, even if an event still reaches a control.
        QTest::mouseClick(button("DYeni"), Qt::LeftButton);
        QCOMPARE(label("Les2")->text(), QString("-"));
        emit button("CommDH")->clicked();
        QCOMPARE(label("Ls1")->text(), QString("-"));
    }

    void closingTheWindowEndsTheProgramWithoutAQuestion() {
        QTimer::singleShot(0, form->window(), &QWidget::close);
        QTimer::singleShot(5000, qApp, [] { QCoreApplication::exit(99); });
        QCOMPARE(QApplication::exec(), 0);
        QVERIFY(!form->window()->isVisible());
        QVERIFY(QApplication::activeModalWidget() == nullptr);
    }

    void startUpRefusesAWindowWithoutANamedControl_data() {
        QTest::addColumn<QString>("missing");
        QTest::newRow("a band list the commands read") << "Cr2";
        QTest::newRow("a swatch the commands paint") << "pr3";
        QTest::newRow("the tolerance label") << "Les2";
        QTest::newRow("a button in the event table") << "DYeni";
    }
    void startUpRefusesAWindowWithoutANamedControl() {
        QFETCH(QString, missing);
        const WindowDescription& full = mainWindowDescription();
        std::vector<ControlDescription> controls;
        for (const ControlDescription& c : full.controls) {
            if (QString::fromUtf8(c.name.data(), static_cast<qsizetype>(c.name.size())) != missing) controls.push_back(c);
        }
        WindowDescription partial = full;
        partial.controls = controls;
        try {
            QtForm incomplete(partial, eventBindings());
            QFAIL("a window without every named control was built");
        } catch (const std::runtime_error& error) {
            QVERIFY2(QString::fromUtf8(error.what()).contains(missing), error.what());
        }
    }

    // What a screen reader reads for each control as the user goes: its accessible
    // name, for the result labels their caption. (Qt raises its events only while an
    // assistive technology listens; the AT-SPI test hears them.)
    void screenReadersHearNamesAndValues() {
        struct Row {
            const char* step;
            const char* control;
            QString name;
        };
        const QString none = QString("seçilmedi");
        const Row rows[] = {
            {"start", "pd1", "Direnç resmi"},
            {"start", "pr1", "1. bandın rengi: " + none},
            {"start", "pr2", "2. bandın rengi: " + none},
            {"start", "Cr1", "1.Renk ?"},
            {"start", "Cr4", "4.Renk ?"},
            {"start", "Lr1", "1.Renk"},
            {"start", "CommDH", "Değeri Hesapla"},
            {"start", "DYeni", "Yeni"},
            {"start", "LTolerans", "Tolerans:"},
            {"start", "Ls1", "-"},
            {"start", "Les2", "-"},
            {"white picked", "pr1", "1. bandın rengi: Beyaz"},
            {"calculated", "pr1", "1. bandın rengi: Sarı"},
            {"calculated", "pr3", "3. bandın rengi: Kırmızı"},
            {"calculated", "pr4", "4. bandın rengi: Altın"},
            {"calculated", "Cr1", "1.Renk Sarı"},
            {"calculated", "Ls1", "4,7K"},
            {"calculated", "Les2", "%5"},
            {"reset", "pr1", "1. bandın rengi: " + none},
            {"reset", "Ls1", "-"},
        };
        // A control labelled by another is heard with its label's name first.
        const auto spoken = [this](const char* name) {
            QAccessibleInterface* control = QAccessible::queryAccessibleInterface(form->control(name));
            const auto labels = control->relations(QAccessible::Label);
            const QString label = labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name) + " ";
            return label + control->text(QAccessible::Name);
        };
        QString step;
        for (const Row& row : rows) {
            if (step != row.step) {
                step = row.step;
                if (step == "white picked") {
                    pickWithKeys(1, "Beyaz");
                } else if (step == "calculated") {
                    pickWithKeys(1, "Sarı");
                    pickWithKeys(2, "Mor");
                    pickWithMouse(3, "Kırmızı");
                    pickWithKeys(4, "Altın");
                    calculate();
                } else if (step == "reset") {
                    QTest::mouseClick(button("DYeni"), Qt::LeftButton);
                }
            }
            QCOMPARE(spoken(row.control), row.name);
        }
        // Everything a screen reader reaches has a name, but for the client area and the
        // menu bar, which it announces by their kind.
        QStringList nameless;
        const std::function<void(QAccessibleInterface*)> visit = [&](QAccessibleInterface* node) {
            if (node->text(QAccessible::Name).isEmpty()) nameless << qAccessibleRoleString(node->role());
            for (int i = 0; i < node->childCount(); ++i) visit(node->child(i));
        };
        visit(QAccessible::queryAccessibleInterface(form->window()));
        QCOMPARE(nameless, (QStringList{"Client", "MenuBar"}));
        QCOMPARE(QAccessible::queryAccessibleInterface(form->control("pr1"))->role(), QAccessible::Graphic);
        // What the result labels are goes with them, not in place of their value.
        QCOMPARE(QAccessible::queryAccessibleInterface(label("Ls1"))->text(QAccessible::Description), QString("Sonuç"));
        QCOMPARE(QAccessible::queryAccessibleInterface(label("Les2"))->text(QAccessible::Description), QString("Tolerans"));
        for (int band = 1; band <= 4; ++band) QCOMPARE(label("Lr" + std::to_string(band))->buddy(), combo(band));
    }

    // Qt's own texts, whatever the system's locale: the menu a band list's field opens
    // on a right click. (The error report's button is checked with the report.)
    void toolkitTextsAreTurkish() {
        QLineEdit* field = combo(1)->lineEdit();
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

    // What the X server shows: the picture pixel for pixel, with the swatches over it.
    void screenShowsThePictureAndSwatches() {
        if (QGuiApplication::platformName() != "xcb") QSKIP("needs a real X server");
        pickWithKeys(1, "Kırmızı");
        pickWithKeys(4, "Gümüş");
        QTest::qWait(100);
        QWidget* picture = form->control("pd1");
        const QPoint origin = picture->mapTo(form->window(), QPoint(0, 0));
        const QImage shot = form->window()->screen()->grabWindow(form->window()->winId()).toImage();
        const auto pixels = drawResistorPicture();
        const auto at = [&](int x, int y) { return QColor(shot.pixel(origin.x() + x, origin.y() + y)); };
        const QList<QColor> swatchFill{QColor(255, 0, 0), QApplication::palette().color(QPalette::Base),
                                       QApplication::palette().color(QPalette::Base), QColor(224, 224, 224)};
        int mismatches = 0;
        for (int y = 0; y < 97; ++y) {
            for (int x = 0; x < 357; ++x) {
                QColor expected;
                const int px = x - 1;
                const int py = y - 1;
                const int band = (px >= 48 && px < 282 && (px - 48) % 64 < 42 && py >= 8 && py <= 85) ? (px - 48) / 64 : -1;
                if (x == 0 || y == 0 || x == 356 || y == 96) {
                    expected = Qt::black;  // the picture box's border
                } else if (band >= 0) {
                    const bool border = (px - 48) % 64 == 0 || (px - 48) % 64 == 41 || py == 8 || py == 85;
                    expected = border ? QColor(Qt::black) : swatchFill[band];
                } else {
                    const auto c = pixels[static_cast<std::size_t>(py * kPictureWidth + px)];
                    expected = QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
                }
                if (at(x, y) != expected && ++mismatches <= 5) {
                    qWarning() << "pixel" << x << y << at(x, y) << "expected" << expected;
                }
            }
        }
        QCOMPARE(mismatches, 0);
        // Independently of the drawing code: leads, body and ground where the picture has them.
        QCOMPARE(at(1 + 0, 1 + 43), QColor(Qt::black));
        QCOMPARE(at(1 + 354, 1 + 44), QColor(Qt::black));
        QCOMPARE(at(1 + 150 + 14, 1 + 46), QColor(196, 237, 177));
        QCOMPARE(at(1 + 5, 1 + 5), QColor(Qt::white));
    }

    // At the display scale this run was started with (QT_SCALE_FACTOR; 1 without it):
    // the picture box as grabbed equals the 96-dpi one enlarged by nearest neighbour,
    // and no label runs into another control.
    void windowHoldsAtThisDisplayScale() {
        if (QGuiApplication::platformName() != "xcb") QSKIP("needs a real X server");
        const qreal scale = form->window()->devicePixelRatioF();
        QCOMPARE(scale, qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble());
        const std::array<QString, 4> picks{"Beyaz", "Yeşil", "Sarı", "Altın"};
        for (int band = 1; band <= 4; ++band) pickWithKeys(band, picks[static_cast<std::size_t>(band - 1)]);
        calculate();
        QTest::qWait(100);
        const QImage shot = form->window()->screen()->grabWindow(form->window()->winId()).toImage();
        const QSize client = form->window()->centralWidget()->size() * scale;
        QCOMPARE(form->window()->centralWidget()->size(), QSize(375, 285));
        QVERIFY2(shot.width() >= client.width() && shot.height() >= client.height(), "the window is cut off");

        const QPoint corner = form->control("pd1")->mapTo(form->window(), QPoint(0, 0));
        const QPoint device(scaledEdge(corner.x(), scale), scaledEdge(corner.y(), scale));
        std::array<std::uint32_t, 4> fills{};
        for (int band = 1; band <= 4; ++band) {
            fills[static_cast<std::size_t>(band - 1)] = findBandColour(picks[static_cast<std::size_t>(band - 1)].toStdString())->swatch;
        }
        const auto inWindow = [&](int x, int y) {
            const QRgb c = shot.pixel(x, y);
            return static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
        };
        const auto at = [&](int x, int y) { return inWindow(device.x() + x, device.y() + y); };
        const auto faults = scaling::pictureBoxFaults(at, scale, corner.x(), corner.y(), fills);
        for (const std::string& fault : faults) qWarning("%s", fault.c_str());
        QVERIFY(faults.empty());

        std::vector<scaling::NamedRect> rects;
        for (const ControlDescription& c : mainWindowDescription().controls) {
            if (!c.container.empty()) continue;
            const QRect r = form->control(c.name)->geometry();
            rects.push_back({std::string(c.name), r.left(), r.top(), r.right() + 1, r.bottom() + 1});
        }
        const auto overlaps = scaling::overlappingControls(rects);
        for (const std::string& fault : overlaps) qWarning("%s", fault.c_str());
        QVERIFY(overlaps.empty());
        // "Tolerans:" as drawn ends before the tolerance text begins.
        const auto ink = [&](std::string_view name) {
            const QRect r = form->control(name)->geometry().translated(form->window()->centralWidget()->pos());
            return scaling::inkColumns(inWindow, {std::string(name), scaledEdge(r.left(), scale), scaledEdge(r.top(), scale),
                                                  scaledEdge(r.right() + 1, scale), scaledEdge(r.bottom() + 1, scale)});
        };
        const auto [toleransFirst, toleransLast] = ink("LTolerans");
        const auto [valueFirst, valueLast] = ink("Les2");
        QVERIFY(toleransLast > toleransFirst && valueLast >= valueFirst);
        QVERIFY2(toleransLast < valueFirst, qPrintable(QString("'Tolerans:' ends at %1, the tolerance begins at %2").arg(toleransLast).arg(valueFirst)));
    }
    // Under light, dark and high-contrast schemes, and after a switch while the window
    // is shown: every text in a list or label stands out from its background, band 4's
    // list and swatch 1 stay white, and the rest take the scheme's window background.
    void readableInEveryScheme_data() {
        QTest::addColumn<int>("row");
        for (std::size_t i = 0; i < schemes::kRows.size(); ++i) QTest::newRow(schemes::kRows[i].name) << static_cast<int>(i);
    }

    void readableInEveryScheme() {
        if (QGuiApplication::platformName() != "xcb") QSKIP("needs a real X server");
        QFETCH(int, row);
        const schemes::Row& r = schemes::kRows[static_cast<std::size_t>(row)];
        const auto colour = [](ColourValue c) {
            return QColor(static_cast<int>(redOf(c)), static_cast<int>(greenOf(c)), static_cast<int>(blueOf(c)));
        };
        const auto palette = [&](const schemes::Scheme& s) {
            QPalette p(colour(s.buttonFace));  // the shades of frames and bevels follow from it
            p.setColor(QPalette::Window, colour(s.buttonFace));
            p.setColor(QPalette::WindowText, colour(s.buttonText));
            p.setColor(QPalette::Button, colour(s.buttonFace));
            p.setColor(QPalette::ButtonText, colour(s.buttonText));
            p.setColor(QPalette::Base, colour(s.window));
            p.setColor(QPalette::AlternateBase, colour(s.window));
            p.setColor(QPalette::Text, colour(s.windowText));
            p.setColor(QPalette::Highlight, colour(s.highlight));
            p.setColor(QPalette::HighlightedText, colour(s.highlightText));
            return p;
        };
        const QPalette original = QApplication::palette();
        const auto restore = qScopeGuard([original] { QApplication::setPalette(original); });
        QApplication::setPalette(palette(*r.opened));
        cleanup();
        init();
        if (r.switchedTo != nullptr) {
            pickWithKeys(3, "Mor");
            form->control("pd1")->setFocus();  // no caret in a field
            QApplication::setPalette(palette(*r.switchedTo));
        }
        QTest::qWait(100);
        const QImage shot = form->window()->screen()->grabWindow(form->window()->winId()).toImage();
        const qreal scale = form->window()->devicePixelRatioF();
        auto areas = schemes::expectedAreas(r);
        for (auto& [name, area] : areas) {
            QWidget* widget = form->control(name);
            QVERIFY(widget != nullptr);
            int inset = 0;
            if (auto* list = qobject_cast<QComboBox*>(widget)) {
                widget = list->lineEdit();
                inset = 1;
            } else if (qobject_cast<PictureBox*>(widget) != nullptr) {
                inset = 2;  // inside the border
            }
            const QRect box = QRect(widget->mapTo(form->window(), QPoint(0, 0)), widget->size()).adjusted(inset, inset, -inset, -inset);
            area.rect = {name, scaledEdge(box.left(), scale), scaledEdge(box.top(), scale), scaledEdge(box.right() + 1, scale),
                         scaledEdge(box.bottom() + 1, scale)};
        }
        const auto at = [&](int x, int y) {
            const QRgb c = shot.pixel(x, y);
            return static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16));
        };
        const auto faults = schemes::schemeFaults(at, areas);
        for (const std::string& fault : faults) qWarning("%s", fault.c_str());
        QVERIFY(faults.empty());
    }
};

}  // namespace vaskelo::qt

int main(int argc, char* argv[]) {
    vaskelo::qt::Application app(argc, argv);
    QApplication::setAttribute(Qt::AA_Use96Dpi);
    vaskelo::qt::WindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "window_test.moc"
