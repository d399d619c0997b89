#include "platform/qt/qt_form.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QEvent>
#include <QFontDatabase>
#include <QLabel>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QMessageBox>
#include <QPushButton>

#include <cmath>
#include <functional>
#include <stdexcept>
#include <utility>

#include "core/runtime_error.h"
#include "platform/qt/colours.h"
#include "platform/qt/widgets.h"
#include "ui/spoken_names.h"

namespace vaskelo::qt {

namespace {

QRect pixelRect(const TwipRect& r) {
    return {twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.width), twipsToPixels(r.height)};
}

// The window's fonts are Windows fonts; elsewhere the first installed family of a
// like design stands in. Resolving it here spares Qt a fallback search per font.
QString installedFamily(std::string_view family) {
    static const std::map<std::string_view, QStringList> kStandIns{
        {"MS Sans Serif", {"MS Sans Serif", "Microsoft Sans Serif", "Liberation Sans", "DejaVu Sans"}},
        {"Arial", {"Arial", "Liberation Sans", "DejaVu Sans"}},
    };
    const auto it = kStandIns.find(family);
    if (it != kStandIns.end()) {
        for (const QString& candidate : it->second) {
            if (QFontDatabase::hasFamily(candidate)) return candidate;
        }
    }
    return toQString(family);
}

// Tells the window that the application's palette has changed: the desktop's colour
// scheme was switched while the program runs. Every widget is told; one is enough.
class SchemeWatcher final : public QObject {
public:
    SchemeWatcher(QObject* watched, std::function<void()> changed) : QObject(watched), changed_(std::move(changed)) {
        watched->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::ApplicationPaletteChange) changed_();
        return QObject::eventFilter(watched, event);
    }

private:
    std::function<void()> changed_;
};

QFont makeFont(const FontDescription& description) {
    QFont font(installedFamily(description.family));
    font.setPointSizeF(description.points);
    font.setBold(description.bold);
    font.setStyleHint(QFont::SansSerif);
    return font;
}

// An auto-size label always has exactly the size of its caption in its font,
// growing right and down from where it stands.
void fitToText(QLabel* label) {
    const QFontMetrics metrics(label->font());
    label->resize(metrics.horizontalAdvance(label->text()), metrics.height());
}

}  // namespace

QString toQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

QtForm::QtForm(const WindowDescription& description, std::span<const EventBinding> bindings)
    : description_(description), window_(std::make_unique<QMainWindow>()) {
    build(description);
    check(description, bindings);
    wire(description, bindings);
}

QtForm::~QtForm() = default;

void QtForm::build(const WindowDescription& description) {
    QMainWindow& window = *window_;
    window.setObjectName(toQString(description.name));
    window.setWindowTitle(toQString(description.caption));
    window.setWindowIcon(QApplication::windowIcon());
    window.setFont(makeFont(description.font));

    auto* client = new QWidget(&window);
    client->setAutoFillBackground(true);
    window.setCentralWidget(client);

    QMenuBar* bar = window.menuBar();
    bar->setNativeMenuBar(false);  // the menus belong in the window itself
    for (const MenuDescription& described : description.menus) {
        QMenu* menu = bar->addMenu(toQString(described.caption));
        menu->setObjectName(toQString(described.name));
        menu->setAccessibleName(toQString(described.caption));  // the open menu is read by its title
        QAction* item = menu->addAction(toQString(described.itemCaption));
        item->setObjectName(toQString(described.itemName));
        menuItems_.emplace(std::string(described.itemName), item);
    }

    QWidget* previous = nullptr;
    if (!description.controls.empty()) firstInTabOrder_ = description.controls.front().name;
    for (const ControlDescription& c : description.controls) {
        QWidget* parent = c.container.empty() ? client : control(c.container);
        // A child of a bordered box is placed from the inside of the border.
        const int offset = c.container.empty() ? 0 : 1;
        QWidget* widget = nullptr;
        switch (c.kind) {
            case ControlKind::PictureBox: {
                auto* box = new PictureBox(parent);
                box->setFill(c.background);
                box->setShowsPicture(c.showsPicture);
                widget = box;
                break;
            }
            case ControlKind::ComboBox: {
                auto* combo = new BandCombo(parent);
                for (const std::string_view entry : c.entries) combo->addItem(toQString(entry));
                combo->showText(toQString(c.text));
                // A screen reader reaches its field and its drop-down list too; they
                // go by the list's name.
                combo->lineEdit()->setAccessibleName(toQString(c.accessibleName));
                combo->view()->setAccessibleName(toQString(c.accessibleName));
                widget = combo;
                break;
            }
            case ControlKind::Label: {
                auto* label = new QLabel(toQString(c.text), parent);
                label->setTextFormat(Qt::PlainText);
                label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
                label->setContentsMargins(0, 0, 0, 0);
                label->setAutoFillBackground(true);
                widget = label;
                break;
            }
            case ControlKind::CommandButton: {
                auto* button = new QPushButton(toQString(c.text), parent);
                button->setAutoDefault(false);
                widget = button;
                break;
            }
        }
        widget->setObjectName(toQString(c.name));
        if (c.font) widget->setFont(makeFont(*c.font));
        widget->setGeometry(pixelRect(c.rect).translated(offset, offset));
        if (auto* label = qobject_cast<QLabel*>(widget); label != nullptr && c.autoSize) fitToText(label);
        if (!c.accessibleName.empty()) widget->setAccessibleName(toQString(c.accessibleName));
        if (!c.accessibleDescription.empty()) widget->setAccessibleDescription(toQString(c.accessibleDescription));
        if (widget->focusPolicy() != Qt::NoFocus) {
            if (previous != nullptr) QWidget::setTabOrder(previous, widget);
            previous = widget;
        }
        controls_.emplace(std::string(c.name), widget);
    }

    // A label whose caption names a control is its buddy, for assistive technology.
    for (const ControlDescription& c : description.controls) {
        const ControlDescription* caption = captionLabelOf(description, c);
        if (auto* label = caption != nullptr ? find<QLabel>(caption->name) : nullptr) label->setBuddy(control(c.name));
    }
    for (const Swatch swatch : kAllSwatches) {
        if (const ControlDescription* c = findControl(description, controlName(swatch))) nameSwatch(swatch, c->background);
    }
    applyColours();
    new SchemeWatcher(&window, [this] { applyColours(); });

    const int menuHeight = bar->sizeHint().height();
    window.resize(twipsToPixels(description.clientWidth), twipsToPixels(description.clientHeight) + menuHeight);
}

void QtForm::applyColours() {
    if (QWidget* client = window_->centralWidget()) setColours(client, description_.background, kButtonText);
    for (const ControlDescription& c : description_.controls) {
        QWidget* widget = control(c.name);
        if (widget == nullptr) continue;
        switch (c.kind) {
            case ControlKind::PictureBox:
                widget->update();  // a box looks its system colour up as it paints
                break;
            case ControlKind::ComboBox:
                // A list of fixed colours has them on its field and open list only, its
                // button keeping the scheme's button face as on Windows; a list in the
                // scheme's colours is wholly in them.
                if (isSystemColour(c.background)) {
                    setColours(widget, c.background, c.foreground);
                } else {
                    setFieldColours(widget, c.background, c.foreground);
                }
                break;
            case ControlKind::Label:
                setColours(widget, c.background, c.foreground);
                break;
            case ControlKind::CommandButton:
                break;
        }
    }
}

void QtForm::check(const WindowDescription& description, std::span<const EventBinding> bindings) const {
    const auto kindOf = [this](std::string_view name) -> std::optional<ControlKind> {
        QWidget* widget = control(name);
        if (qobject_cast<BandCombo*>(widget) != nullptr) return ControlKind::ComboBox;
        if (qobject_cast<PictureBox*>(widget) != nullptr) return ControlKind::PictureBox;
        if (qobject_cast<QLabel*>(widget) != nullptr) return ControlKind::Label;
        if (qobject_cast<QPushButton*>(widget) != nullptr) return ControlKind::CommandButton;
        return std::nullopt;
    };
    checkWindow(description, bindings, kindOf, [this](std::string_view name) { return menuItem(name) != nullptr; });
}

void QtForm::wire(const WindowDescription& description, std::span<const EventBinding> bindings) {
    for (const EventBinding& binding : bindings) {
        const EventBinding* b = &binding;
        switch (b->event) {
            case ControlEvent::Click:
                if (auto* combo = find<BandCombo>(b->control)) {
                    QObject::connect(combo, &QComboBox::activated, combo, [this, b] { run(*b, 0); });
                } else if (auto* button = find<QPushButton>(b->control)) {
                    QObject::connect(button, &QPushButton::clicked, button, [this, b] { run(*b, 0); });
                } else if (QAction* item = menuItem(b->control)) {
                    const int index = findMenuItem(description, b->control)->itemIndex;
                    QObject::connect(item, &QAction::triggered, item, [this, b, index] { run(*b, index); });
                }
                break;
        }
    }
}

void QtForm::run(const EventBinding& binding, int index) {
    if (ended_) return;
    runBound(binding, form_, index, [this](std::string_view title, std::string_view message) {
        QMessageBox::critical(window_.get(), toQString(title), toQString(message));
    });
}

void QtForm::show() {
    window_->show();
    if (QWidget* first = control(firstInTabOrder_)) first->setFocus(Qt::OtherFocusReason);
}

QWidget* QtForm::control(std::string_view name) const {
    const auto it = controls_.find(name);
    return it == controls_.end() ? nullptr : it->second.data();
}

QAction* QtForm::menuItem(std::string_view name) const {
    const auto it = menuItems_.find(name);
    return it == menuItems_.end() ? nullptr : it->second.data();
}

template <typename Widget>
Widget* QtForm::find(std::string_view name) const {
    return qobject_cast<Widget*>(control(name));
}

bool QtForm::present(std::string_view name, ControlKind kind) const {
    switch (kind) {
        case ControlKind::ComboBox: return find<BandCombo>(name) != nullptr;
        case ControlKind::PictureBox: return find<PictureBox>(name) != nullptr;
        case ControlKind::Label: return find<QLabel>(name) != nullptr;
        case ControlKind::CommandButton: return find<QPushButton>(name) != nullptr;
    }
    return false;
}

Status QtForm::readBandText(BandList list, std::string& text) {
    text = find<BandCombo>(controlName(list))->currentText().toStdString();
    return kOk;
}

Status QtForm::writeBandText(BandList list, std::string_view text) {
    find<BandCombo>(controlName(list))->showText(toQString(text));
    return kOk;
}

Status QtForm::fillSwatch(Swatch swatch, ColourValue colour) {
    find<PictureBox>(controlName(swatch))->setFill(colour);
    nameSwatch(swatch, colour);
    return kOk;
}

void QtForm::nameSwatch(Swatch swatch, ColourValue colour) {
    auto* box = find<PictureBox>(controlName(swatch));
    if (box == nullptr) return;
    const auto* list = find<BandCombo>(controlName(bandListOf(swatch)));
    const std::string bandText = list != nullptr ? list->currentText().toStdString() : std::string(kUnchosen);
    // Setting the name raises the name-change event, so a screen reader hears the pick.
    box->setAccessibleName(toQString(swatchName(description_, swatch, colour, bandText)));
}

Status QtForm::writeCaption(Label label, std::string_view caption) {
    auto* widget = find<QLabel>(controlName(label));
    widget->setText(toQString(caption));
    refit(label, widget);
    return kOk;
}

Status QtForm::applyFontSize(Label label, float points) {
    auto* widget = find<QLabel>(controlName(label));
    QFont font = widget->font();
    font.setPointSizeF(static_cast<double>(points));
    widget->setFont(font);
    refit(label, widget);
    return kOk;
}

Status QtForm::moveTop(Label label, float twips) {
    auto* widget = find<QLabel>(controlName(label));
    widget->move(widget->x(), twipsToPixels(static_cast<double>(twips)));
    return kOk;
}

QtForm& openMainWindow(std::unique_ptr<QtForm>& holder) {
    return vaskelo::openMainWindow<QtForm>(holder, [] {
        auto form = std::make_unique<QtForm>(mainWindowDescription(), eventBindings());
        form->show();
        return form;
    });
}

void QtForm::refit(Label label, QLabel* widget) const {
    const ControlDescription* described = findControl(description_, controlName(label));
    if (described != nullptr && refitsToCaption(*described)) fitToText(widget);
}

void QtForm::endProgram() {
    ended_ = true;
    window_->hide();
    QCoreApplication::exit(0);
}

}  // namespace vaskelo::qt
