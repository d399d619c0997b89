// The Win32 window under test, built in this process and driven the way a user drives
// it: SendInput mouse moves and clicks at the controls' places on the screen, key
// presses and typed characters, all through the program's own message dispatch. The
// window suite's driver for Win32.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/win32/win32_form.h"
#include "tests/window/window_driver.h"

namespace vaskelo::win32 {

class Win32Driver final : public suite::WindowDriver {
public:
    explicit Win32Driver(int actionCount = 20000) : actionCount_(actionCount) {}
    ~Win32Driver() override;

    std::unique_ptr<Win32Form> form;
    HWND at(std::string_view name) const { return form->control(name); }
    HWND combo(int band) const { return at("Cr" + std::to_string(band + 1)); }  // from 0
    // Runs what is queued for this thread, the input included, until nothing is left.
    void settle();

    void open() override;
    void close() override;
    std::string notReady() override;
    MainForm& mainForm() override { return form->mainForm(); }

    bool act(const model::Action& action) override;
    std::optional<int> arrowPick(const model::State& expected, int band, bool down) override;
    void noteTyped(model::State& expected, int band, const std::string& text) override;
    model::State shown(bool pixels) override;
    ColourValue windowBackground() override { return GetSysColor(COLOR_WINDOW); }
    int defaultActionCount() override { return actionCount_; }

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
    double scale() override { return form->dpi() / 96.0; }
    std::optional<double> expectedScale() override;
    suite::Grab grab() override;

    std::string spoken(std::string_view control) override;
    std::string spokenDescription(std::string_view control) override;
    void listenForRenames() override;
    std::optional<bool> announcedRename(std::string_view control) override;

    suite::Report reportDuring(const std::function<void()>& action) override;
    std::string okButton() override { return {}; }  // the system's own, in the user's language
    void setOperationGate(OperationGate gate) override { form->setOperationGate(std::move(gate)); }
    void destroyControl(std::string_view control) override { DestroyWindow(at(control)); }
    std::string buildError(const WindowDescription& description, std::span<const EventBinding> bindings) override;
    bool strayWindow() override;

private:
    void perform(const model::Action& action);
    void send(std::vector<INPUT> inputs);
    void tap(WORD vk);
    void press(POINT at);
    void pressControl(std::string_view name);
    void focusField(int band);
    void type(int band, const std::string& text);
    void menu(int position, bool byMouse);
    COMBOBOXINFO parts(int band) const;
    bool dropped(int band) const;
    static std::string spokenText(HWND hwnd, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*));

    int actionCount_;
    bool quit_ = false;
    int quitCode_ = -1;
    HWINEVENTHOOK renameHook_ = nullptr;
    std::optional<std::array<COLORREF, 6>> originalColours_;
};

}  // namespace vaskelo::win32
