// The main window on Qt Widgets: built from the window description, it carries out
// the commands' control operations, runs the bound commands on their events and
// reports a failed operation to the user.
#pragma once

#include <QPointer>
#include <QString>

#include <functional>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "core/form_ops.h"
#include "core/main_form.h"
#include "core/runtime_error.h"
#include "ui/event_wiring.h"
#include "ui/form_binder.h"
#include "ui/gated_form.h"
#include "ui/window_description.h"

class QAction;
class QLabel;
class QMainWindow;
class QWidget;

namespace vaskelo::qt {

class BandCombo;
class PictureBox;

QString toQString(std::string_view text);

class QtForm final : public GatedForm {
public:
    // Builds the window and checks that every control the commands and the event
    // table name exists; throws std::runtime_error otherwise.
    QtForm(const WindowDescription& description, std::span<const EventBinding> bindings);
    ~QtForm() override;
    QtForm(const QtForm&) = delete;
    QtForm& operator=(const QtForm&) = delete;

    MainForm& mainForm() { return form_; }
    QMainWindow* window() const { return window_.get(); }
    void show();

    // The control or menu item of that name, or null.
    QWidget* control(std::string_view name) const;
    QAction* menuItem(std::string_view name) const;

    void endProgram() override;

private:
    bool present(std::string_view name, ControlKind kind) const override;
    Status readBandText(BandList list, std::string& text) override;
    Status writeBandText(BandList list, std::string_view text) override;
    Status fillSwatch(Swatch swatch, ColourValue colour) override;
    Status writeCaption(Label label, std::string_view caption) override;
    Status applyFontSize(Label label, float points) override;
    Status moveTop(Label label, float twips) override;
    void build(const WindowDescription& description);
    void wire(const WindowDescription& description, std::span<const EventBinding> bindings);
    void check(const WindowDescription& description, std::span<const EventBinding> bindings) const;
    // Gives the window and its controls their colours, system colours as the scheme
    // has them now: at start-up and again whenever the scheme changes.
    void applyColours();
    void run(const EventBinding& binding, int index);
    // Resizes a label to its caption if it is one that follows its caption.
    void refit(Label label, QLabel* widget) const;
    // Gives a swatch the spoken name of the colour it now shows.
    void nameSwatch(Swatch swatch, ColourValue colour);
    template <typename Widget>
    Widget* find(std::string_view name) const;

    const WindowDescription& description_;
    std::unique_ptr<QMainWindow> window_;
    std::map<std::string, QPointer<QWidget>, std::less<>> controls_;
    std::map<std::string, QPointer<QAction>, std::less<>> menuItems_;
    std::string firstInTabOrder_;
    MainForm form_{*this};
    bool ended_ = false;
};

// Opens the program's one window: registers its creator with the main-window
// reference and creates it through that reference, so the window on screen is the
// one the reference designates. `holder` owns it from then on.
QtForm& openMainWindow(std::unique_ptr<QtForm>& holder);

}  // namespace vaskelo::qt
