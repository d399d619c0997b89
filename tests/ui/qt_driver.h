// The Qt window under test, driven through its real widgets with real key and mouse
// events: the window suite's driver for Qt.
#pragma once

#include <QAbstractItemView>
#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QFontInfo>
#include <QFontMetrics>
#include <QInputMethodEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QPalette>
#include <QPushButton>
#include <QScreen>
#include <QString>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <cmath>
#include <memory>
#include <optional>
#include <string>

#include "core/main_form.h"
#include "platform/qt/colours.h"
#include "platform/qt/qt_form.h"
#include "platform/qt/widgets.h"
#include "tests/window/window_driver.h"
#include "ui/scaled_box.h"

namespace vaskelo::qt {

inline QString qs(std::string_view utf8) { return QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size())); }

inline suite::NamedRect named(std::string_view name, const QRect& r) {
    return {std::string(name), r.left(), r.top(), r.right() + 1, r.bottom() + 1};
}

// One of Qt's own texts as the installed Turkish catalogue has it (its wording
// changes between Qt versions), without its mnemonic mark; a text the catalogue
// leaves English comes back marked, so that no comparison takes it.
inline QString installedTurkish(const char* context, const char* english) {
    const QString turkish = QCoreApplication::translate(context, english);
    if (turkish == QLatin1String(english)) return QString("(no Turkish for \"%1\")").arg(english);
    return QString(turkish).remove('&');
}

class QtDriver final : public suite::WindowDriver {

public:
    QtDriver() = default;
    ~QtDriver() override { close(); }

    std::unique_ptr<QtForm> form;
    BandCombo* combo(int band) const { return qobject_cast<BandCombo*>(widget(suite::listName(band))); }
    QWidget* widget(std::string_view name) const { return form->control(name); }
    // Until the display server has answered everything sent so far and what it sent
    // back (a new size, an expose where a popup was) is handled, with the paints that
    // follow: a round trip each time, which a busy machine slows but cannot outrun.
    static void settle() {
        for (int round = 0; round < 2; ++round) {
            QGuiApplication::sync();
            QCoreApplication::sendPostedEvents();
        }
    }

    void open() override {
        close();
        designateMainForm(nullptr);
        openMainWindow(form);
        // A window that never becomes active is reported by notReady().
        static_cast<void>(QTest::qWaitForWindowExposed(form->window()));
        form->window()->activateWindow();
        static_cast<void>(QTest::qWaitForWindowActive(form->window()));
    }
    void close() override {
        form.reset();
        setMainFormCreator(nullptr);
    }
    std::string notReady() override { return form->window()->isActiveWindow() ? "" : "the window is not the active one"; }
    MainForm& mainForm() override { return form->mainForm(); }

    void keys(int band, const std::vector<Key>& keys) override {
        BandCombo* c = combo(band);
        if (!c->view()->isVisible()) c->setFocus();
        for (const Key key : keys) {
            // An open list takes the keys in its own popup.
            QWidget* to = c->view()->isVisible() ? static_cast<QWidget*>(c->view()) : c;
            switch (key) {
                case Key::Down: QTest::keyClick(to, Qt::Key_Down); break;
                case Key::Up: QTest::keyClick(to, Qt::Key_Up); break;
                case Key::Enter: QTest::keyClick(to, Qt::Key_Return); break;
                case Key::Tab: QTest::keyClick(to, Qt::Key_Tab); break;
                case Key::AltDown: QTest::keyClick(to, Qt::Key_Down, Qt::AltModifier); break;
                case Key::F4: QTest::keyClick(to, Qt::Key_F4); break;
            }
        }
    }
    bool listBecomes(int band, bool open) override {
        QAbstractItemView* view = combo(band)->view();
        return QTest::qWaitFor([view, open] { return view->isVisible() == open; });
    }
    void click(std::string_view control) override { QTest::mouseClick(widget(control), Qt::LeftButton); }
    // With the mouse, or through the item's action, as a screen reader's client chooses it.
    bool chooseMenu(int position, bool byMouse) override {
        if (byMouse) return clickMenu(position);
        form->window()->menuBar()->actions().value(position)->menu()->actions().value(0)->trigger();
        return true;
    }
    int selectedRow(int band) override { return combo(band)->currentIndex(); }
    std::array<ColourValue, 4> swatches(bool) override {
        std::array<ColourValue, 4> fills{};
        for (int band = 0; band < 4; ++band) {
            // A swatch taken away shows no colour at all.
            const auto* box = qobject_cast<PictureBox*>(widget("pr" + std::to_string(band + 1)));
            fills[static_cast<std::size_t>(band)] = box != nullptr ? toColourValue(box->fill()) : 0xFF000000u;
        }
        return fills;
    }
    std::pair<float, float> resultPointsAndTop() override {
        const QWidget* result = widget("Ls1");
        return {static_cast<float>(result->font().pointSizeF()), static_cast<float>(result->y() * kTwipsPerPixel)};
    }
    ColourValue windowBackground() override { return toColourValue(QApplication::palette().color(QPalette::Base)); }
    RandomRun defaultRandomRun() override { return {20261207, 20000}; }

    bool browseOpenListAndCancel(int band) override {
        BandCombo* c = combo(band);
        c->setFocus();
        QTest::keyClick(c, Qt::Key_Down, Qt::AltModifier);
        QAbstractItemView* view = c->view();
        if (!QTest::qWaitFor([view] { return view->isVisible(); })) return false;
        for (const Qt::Key key : {Qt::Key_Down, Qt::Key_Down, Qt::Key_Escape}) QTest::keyClick(view, key);
        return QTest::qWaitFor([view] { return !view->isVisible(); });
    }
    bool cancelMenuAndPressDialogKeys() override {
        QMenuBar* bar = form->window()->menuBar();
        QAction* title = bar->actions().value(1);
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        if (!QTest::qWaitFor([&] { return title->menu()->isVisible(); })) return false;
        QTest::keyClick(title->menu(), Qt::Key_Escape);
        if (!QTest::qWaitFor([&] { return !title->menu()->isVisible(); })) return false;
        QWidget* picture = widget("pd1");
        picture->setFocus();
        for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Escape}) QTest::keyClick(picture, key);
        return true;
    }
    void resize(int width, int height) override {
        form->window()->resize(width, height);
        settle();
    }
    void focus(std::string_view control) override { widget(control)->setFocus(); }
    suite::Scheme setScheme(const suite::Scheme* scheme) override {
        if (!originalPalette_) originalPalette_ = QApplication::palette();
        if (scheme == nullptr) {
            QApplication::setPalette(*originalPalette_);
            return {};
        }
        QPalette p(toQColor(scheme->buttonFace));  // the shades of frames and bevels follow from it
        p.setColor(QPalette::Window, toQColor(scheme->buttonFace));
        p.setColor(QPalette::WindowText, toQColor(scheme->buttonText));
        p.setColor(QPalette::Button, toQColor(scheme->buttonFace));
        p.setColor(QPalette::ButtonText, toQColor(scheme->buttonText));
        p.setColor(QPalette::Base, toQColor(scheme->window));
        p.setColor(QPalette::AlternateBase, toQColor(scheme->window));
        p.setColor(QPalette::Text, toQColor(scheme->windowText));
        p.setColor(QPalette::Highlight, toQColor(scheme->highlight));
        p.setColor(QPalette::HighlightedText, toQColor(scheme->highlightText));
        QApplication::setPalette(p);
        return *scheme;
    }
    suite::Ending end(bool byMenu) override {
        suite::Ending ending;
        ending.report = reportDuring([&] {
            // Çıkış ends the program's event loop, so it is chosen inside one.
            if (byMenu) {
                QTimer::singleShot(0, form->window(), [this] { form->menuItem("Çıkış")->trigger(); });
            } else {
                QTimer::singleShot(0, form->window(), &QWidget::close);
            }
            QTimer guard;  // only if it did not end
            guard.setSingleShot(true);
            QObject::connect(&guard, &QTimer::timeout, [] { QCoreApplication::exit(99); });
            guard.start(5000);
            ending.code = QApplication::exec();
        });
        ending.windowGone = !form->window()->isVisible();
        return ending;
    }

    std::string title() override { return form->window()->windowTitle().toStdString(); }
    suite::Size clientSize() override {
        const QSize size = form->window()->centralWidget()->size();
        return {size.width(), size.height()};
    }
    suite::NamedRect place(std::string_view control) override { return named(control, widget(control)->geometry()); }
    suite::NamedRect surfacePlace(std::string_view control) override {
        QWidget* w = widget(control);
        return named(control, QRect(w->mapTo(form->window(), QPoint(0, 0)), w->size()));
    }
    suite::NamedRect devicePlace(std::string_view control) override {
        const suite::NamedRect r = surfacePlace(control);
        const double s = scale();
        return {r.name, scaledEdge(r.left, s), scaledEdge(r.top, s), scaledEdge(r.right, s), scaledEdge(r.bottom, s)};
    }
    suite::NamedRect deviceArea(std::string_view control) override {
        QWidget* w = widget(control);
        int inset = 0;
        if (auto* list = qobject_cast<QComboBox*>(w)) {
            w = list->lineEdit();
            inset = 1;
        } else if (qobject_cast<PictureBox*>(w) != nullptr) {
            inset = 2;  // inside the border
        }
        const QRect box = QRect(w->mapTo(form->window(), QPoint(0, 0)), w->size()).adjusted(inset, inset, -inset, -inset);
        const double s = scale();
        return {std::string(control), scaledEdge(box.left(), s), scaledEdge(box.top(), s), scaledEdge(box.right() + 1, s),
                scaledEdge(box.bottom() + 1, s)};
    }
    suite::Size deviceClientSize() override {
        // As much of the client area as the screen shows.
        const double s = scale();
        const suite::Size client = clientSize();
        const suite::Grab shot = grab();
        const int top = scaledEdge(windowTop(), s);
        return {std::min(shot.width, scaledEdge(client.width, s)), std::min(shot.height, scaledEdge(windowTop() + client.height, s)) - top};
    }
    std::string caption(std::string_view control) override {
        QWidget* w = widget(control);
        if (auto* label = qobject_cast<QLabel*>(w)) return label->text().toStdString();
        if (auto* button = qobject_cast<QPushButton*>(w)) return button->text().toStdString();
        if (auto* list = qobject_cast<QComboBox*>(w)) return list->currentText().toStdString();
        return {};
    }
    std::vector<std::string> entries(int band) override {
        std::vector<std::string> all;
        for (int i = 0; i < combo(band)->count(); ++i) all.push_back(combo(band)->itemText(i).toStdString());
        return all;
    }
    suite::FontFacts font(std::string_view control) override {
        const QFont f = widget(control)->font();
        const QFontMetrics metrics(f);
        bool turkish = true;
        for (const char16_t letter : suite::kTurkishLetters) turkish = turkish && metrics.inFont(QChar(letter));
        return {f.pointSizeF(), f.bold(), QFontInfo(f).family().toStdString(), std::nullopt, turkish};
    }
    suite::Size textExtent(std::string_view control, std::string_view text) override {
        const QFontMetrics metrics(widget(control)->font());
        return {metrics.horizontalAdvance(qs(text)), metrics.height()};
    }
    std::string focused() override {
        const QWidget* focus = QApplication::focusWidget();
        std::string holder;
        for (const ControlDescription& c : mainWindowDescription().controls) {
            QWidget* w = widget(c.name);
            if (w == focus) return std::string(c.name);
            if (w->isAncestorOf(focus)) holder = c.name;  // a list's field
        }
        return holder;
    }
    std::vector<suite::MenuFacts> menus() override {
        std::vector<suite::MenuFacts> all;
        for (QAction* title : form->window()->menuBar()->actions()) {
            suite::MenuFacts menu{title->text().toStdString(), {}};
            for (QAction* item : title->menu()->actions()) {
                menu.items.push_back({item->text().toStdString(), !item->shortcut().isEmpty(), item->isCheckable(), std::nullopt});
            }
            all.push_back(menu);
        }
        return all;
    }
    double scale() override { return form->window()->devicePixelRatioF(); }
    std::optional<double> expectedScale() override { return qEnvironmentVariable("QT_SCALE_FACTOR", "1").toDouble(); }
    suite::Grab grab() override {
        settle();
        const QImage shot = form->window()->screen()->grabWindow(form->window()->winId()).toImage();
        suite::Grab g{shot.width(), shot.height(), {}};
        g.pixels.reserve(static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height));
        for (int y = 0; y < g.height; ++y) {
            for (int x = 0; x < g.width; ++x) {
                const QRgb c = shot.pixel(x, y);
                g.pixels.push_back(static_cast<std::uint32_t>(qRed(c) | (qGreen(c) << 8) | (qBlue(c) << 16)));
            }
        }
        return g;
    }

    // A control labelled by another is heard with its label's name first.
    std::string spoken(std::string_view name) override {
        QAccessibleInterface* control = QAccessible::queryAccessibleInterface(widget(name));
        const auto labels = control->relations(QAccessible::Label);
        const QString label = labels.isEmpty() ? QString() : labels.first().first->text(QAccessible::Name) + " ";
        return (label + control->text(QAccessible::Name)).toStdString();
    }
    std::string spokenDescription(std::string_view name) override {
        return QAccessible::queryAccessibleInterface(widget(name))->text(QAccessible::Description).toStdString();
    }
    // Qt raises its events only while an assistive technology listens: the AT-SPI
    // test hears them.
    void listenForRenames() override {}
    std::optional<bool> announcedRename(std::string_view) override { return std::nullopt; }

    suite::Report reportDuring(const std::function<void()>& action) override {
        suite::Report report;
        QTimer watch;
        QObject::connect(&watch, &QTimer::timeout, [&report] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (box == nullptr || !report.title.empty()) return;
            report = {box->windowTitle().toStdString(), box->text().toStdString(),
                      box->buttons().isEmpty() ? std::string() : box->buttons().value(0)->text().toStdString()};
            box->accept();
        });
        watch.start(10);
        action();
        return report;
    }
    std::string okButton() override { return installedTurkish("QPlatformTheme", "OK").toStdString(); }
    void setOperationGate(OperationGate gate) override { form->setOperationGate(std::move(gate)); }
    void destroyControl(std::string_view control) override { delete widget(control); }
    std::string buildError(const WindowDescription& description, std::span<const EventBinding> bindings) override {
        try {
            QtForm built(description, bindings);
            return {};
        } catch (const std::exception& error) {
            return error.what();
        }
    }
    bool strayWindow() override {
        for (QWidget* top : QApplication::topLevelWidgets()) {
            if (qobject_cast<QMainWindow*>(top) != nullptr && top != form->window()) return true;
        }
        return false;
    }

    // Types the text into the band's field: one key event per character, a long text
    // in one piece, as from an input method.
    void type(int band, const std::string& utf8) override {
        const QString text = qs(utf8);
        BandCombo* c = combo(band);
        c->setFocus();
        QTest::keyClick(c, Qt::Key_A, Qt::ControlModifier);
        if (text.isEmpty()) {
            QTest::keyClick(c, Qt::Key_Backspace);
        } else if (text.size() > 64) {
            QInputMethodEvent commit;
            commit.setCommitString(text);
            QCoreApplication::sendEvent(c, &commit);
        } else {
            // QTest's own helper only knows ASCII.
            for (const char32_t codePoint : text.toUcs4()) {
                QTest::sendKeyEvent(QTest::Click, c, Qt::Key_unknown, QString::fromUcs4(&codePoint, 1), Qt::NoModifier);
            }
        }
    }

    // Opens the list with its arrow button and clicks the entry. A list may take the
    // click for the end of the one that opened it, as a person's too-quick click; then
    // it is clicked again, as a person would.
    bool pickWithMouse(int band, int row) override {
        BandCombo* c = combo(band);
        for (int attempt = 0; attempt < 3; ++attempt) {
            QTest::mouseClick(c, Qt::LeftButton, {}, QPoint(c->width() - 8, c->height() / 2));
            QAbstractItemView* view = c->view();
            if (!QTest::qWaitFor([view] { return view->isVisible(); })) continue;
            QTest::qWait(3 * QApplication::doubleClickInterval());  // a release too soon is ignored
            const QRect rect = view->visualRect(view->model()->index(row, 0));
            QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
            if (!QTest::qWaitFor([view] { return !view->isVisible(); }, 2000)) {
                QTest::mouseClick(view->viewport(), Qt::LeftButton, {}, rect.center());
                if (!QTest::qWaitFor([view] { return !view->isVisible(); })) continue;
            }
            if (c->currentIndex() == row && c->currentText() == c->itemText(row)) return true;
        }
        return false;
    }
private:
    std::optional<QPalette> originalPalette_;
    // A click on the menu's title and one on its item, as a hand makes them: along the
    // item, which lights up, then a click, through the menu window's own input the way the
    // display server's events arrive. (A menu takes no hover from a pointer that has
    // barely moved since it opened.)
    bool clickMenu(int position) {
        QMenuBar* bar = form->window()->menuBar();
        QAction* title = bar->actions().value(position);
        if (title == nullptr) return false;
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(title).center());
        QMenu* menu = title->menu();
        if (!QTest::qWaitFor([&] { return menu->isVisible(); })) return false;
        QAction* item = menu->actions().value(0);
        QWindow* popup = menu->windowHandle();
        const QPoint onItem = menu->actionGeometry(item).center();
        for (int step = 8; step >= 0; --step) QTest::mouseMove(popup, onItem - QPoint(2 * step, 0));
        if (!QTest::qWaitFor([&] { return menu->activeAction() == item; })) return false;
        QTest::mouseClick(popup, Qt::LeftButton, {}, onItem);
        return QTest::qWaitFor([&] { return !menu->isVisible(); });
    }
    int windowTop() const { return form->window()->centralWidget()->y(); }
};

}  // namespace vaskelo::qt
