// The Qt window under test, driven through its real widgets with real key and mouse
// events: the window suite's driver for Qt.
#pragma once

#include <QPalette>
#include <QString>

#include <memory>
#include <optional>
#include <string>

#include "platform/qt/qt_form.h"
#include "tests/window/window_driver.h"

namespace vaskelo::qt {

class BandCombo;

// One of Qt's own texts as the installed Turkish catalogue has it (its wording
// changes between Qt versions), without its mnemonic mark; a text the catalogue
// leaves English comes back marked, so that no comparison takes it.
QString installedTurkish(const char* context, const char* english);

class QtDriver final : public suite::WindowDriver {
public:
    QtDriver();
    ~QtDriver() override;

    std::unique_ptr<QtForm> form;
    BandCombo* combo(int band) const;  // from 0
    QWidget* widget(std::string_view name) const { return form->control(name); }

    void open() override;
    void close() override;
    std::string notReady() override;
    MainForm& mainForm() override { return form->mainForm(); }

    bool act(const model::Action& action) override;
    std::optional<int> arrowPick(const model::State& expected, int band, bool down) override;
    void noteTyped(model::State& expected, int band, const std::string& text) override;
    model::State shown(bool pixels) override;
    ColourValue windowBackground() override;
    int defaultActionCount() override { return 20000; }

    bool browseOpenListAndCancel(int band) override;
    bool cancelMenuAndPressDialogKeys() override;
    void resize(int width, int height) override;
    void focus(std::string_view control) override;
    void setScheme(const schemes::Scheme* scheme) override;
    suite::Ending end(bool byMenu) override;

    std::string title() override;
    suite::Size clientSize() override;
    suite::NamedRect place(std::string_view control) override;
    suite::NamedRect surfacePlace(std::string_view control) override;
    suite::NamedRect devicePlace(std::string_view control) override;
    suite::NamedRect deviceArea(std::string_view control) override;
    suite::Size deviceClientSize() override;
    std::string caption(std::string_view control) override;
    std::vector<std::string> entries(int band) override;
    suite::FontFacts font(std::string_view control) override;
    suite::Size textExtent(std::string_view control, std::string_view text) override;
    std::string focused() override;
    std::vector<suite::MenuFacts> menus() override;
    double scale() override;
    std::optional<double> expectedScale() override;
    suite::Grab grab() override;

    std::string spoken(std::string_view control) override;
    std::string spokenDescription(std::string_view control) override;
    // Qt raises its events only while an assistive technology listens: the AT-SPI
    // test hears them.
    void listenForRenames() override {}
    std::optional<bool> announcedRename(std::string_view) override { return std::nullopt; }

    suite::Report reportDuring(const std::function<void()>& action) override;
    std::string okButton() override;
    void setOperationGate(OperationGate gate) override { form->setOperationGate(std::move(gate)); }
    void destroyControl(std::string_view control) override;
    std::string buildError(const WindowDescription& description, std::span<const EventBinding> bindings) override;
    bool strayWindow() override;

    // Types the text into the band's field: one key event per character, a long text
    // in one piece, as from an input method.
    void type(int band, const QString& text);

private:
    std::optional<QPalette> originalPalette_;
    bool pickWithMouse(int band, int row);
    bool pickWithKeys(int band, int row);
    bool clickMenu(int position);
    int windowTop() const;  // the client area's top in the window
};

}  // namespace vaskelo::qt
