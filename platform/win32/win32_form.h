// The main window on plain Win32: built from the window description, it carries out
// the commands' control operations, runs the bound commands on their events and
// reports a failed operation to the user.
#pragma once

#include <windows.h>

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "core/form_ops.h"
#include "core/main_form.h"
#include "platform/win32/application.h"
#include "ui/event_wiring.h"
#include "ui/form_binder.h"
#include "ui/gated_form.h"
#include "ui/window_description.h"

namespace vaskelo::win32 {

// A menu item's command id is this plus the item's number, so the number reaches
// the command it runs.
inline constexpr UINT kMenuCommandBase = 0x8000;

// Posted to the window when a band list's choice is settled; wParam names the list.
inline constexpr UINT kPickMessage = WM_APP + 1;

class Win32Form final : public GatedForm {
public:
    // Builds the window (hidden) and checks that every control the commands and the
    // event table name exists; throws std::runtime_error otherwise, or naming the
    // Win32 call that failed while the window was being built.
    Win32Form(const WindowDescription& description, std::span<const EventBinding> bindings, HINSTANCE instance);
    ~Win32Form() override;
    Win32Form(const Win32Form&) = delete;
    Win32Form& operator=(const Win32Form&) = delete;

    MainForm& mainForm() { return form_; }
    // Null once the window is gone.
    HWND window() const { return window_; }
    void show(int showCommand);

    // The control of that name, or null.
    HWND control(std::string_view name) const;
    // The command id of the menu item of that name, or 0.
    UINT menuCommand(std::string_view itemName) const;
    UINT dpi() const { return dpi_; }

    void endProgram() override;

private:
    bool present(std::string_view name, ControlKind kind) const override;
    Status readBandText(BandList list, std::string& text) override;
    Status writeBandText(BandList list, std::string_view text) override;
    Status fillSwatch(Swatch swatch, ColourValue colour) override;
    Status writeCaption(Label label, std::string_view caption) override;
    Status applyFontSize(Label label, float points) override;
    Status moveTop(Label label, float twips) override;
    struct GdiDeleter {
        void operator()(void* object) const { DeleteObject(object); }
    };
    using Font = std::unique_ptr<std::remove_pointer_t<HFONT>, GdiDeleter>;
    using Brush = std::unique_ptr<std::remove_pointer_t<HBRUSH>, GdiDeleter>;

    struct Control {
        const ControlDescription* described = nullptr;
        HWND hwnd = nullptr;
        UINT id = 0;
        double top = 0;                 // twips; a command may move it
        std::optional<FontDescription> font;   // its own font, if it has one
        Font ownFont;
        const EventBinding* click = nullptr;
        // A picture box's colour as last set, a system colour looked up afresh when the
        // scheme changes.
        ColourValue fill = 0;
        // A band list's drop-down: open, and whether its choice was confirmed.
        bool dropped = false;
        bool confirmed = false;
        bool pickPosted = false;
    };

    static LRESULT CALLBACK windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT handle(UINT message, WPARAM wParam, LPARAM lParam);

    void build(const WindowDescription& description);
    void createControl(Control& control);
    // A new band list's entries and text; throws std::runtime_error naming the Win32 call that failed.
    void fillBandList(Control& control);
    void wire(const WindowDescription& description, std::span<const EventBinding> bindings);
    void check(const WindowDescription& description, std::span<const EventBinding> bindings) const;
    // These throw std::runtime_error naming the Win32 call that failed.
    void applyFonts();
    void layout();
    void fitFrame();
    void rescale();
    Font makeFont(const FontDescription& font) const;
    int pixels(double twips) const;

    void onCommand(WPARAM wParam, LPARAM lParam);
    void onBandListNotification(Control& control, UINT code);
    void postPick(Control& control);
    void run(const EventBinding& binding, int index);
    // Gives a swatch the spoken name of the colour it now shows.
    CallResult nameSwatch(Swatch swatch, ColourValue colour);
    LRESULT colourControl(UINT message, HDC dc, HWND child);
    // After the user's colour scheme has changed: every system colour the window shows
    // is looked up again, and the whole window repainted.
    void followScheme();
    HBRUSH brush(COLORREF colour);

    Control* find(std::string_view name);
    const Control* find(std::string_view name) const;
    Control* findById(UINT id);
    // The control of that name and kind if its window is still there, else null.
    HWND live(std::string_view name, ControlKind kind) const;
    CallResult showBandText(Control& control, std::string_view text);
    CallResult fitToText(HWND label);

    HINSTANCE instance_;
    const WindowDescription& description_;
    HWND window_ = nullptr;
    UINT dpi_ = 96;
    std::vector<Control> controls_;
    std::map<UINT, const EventBinding*> menuCommands_;
    std::set<std::string_view> menuItemsMade_;
    Font windowFont_;
    std::map<COLORREF, Brush> brushes_;
    int quietNotifications_ = 0;  // set while the program itself changes a band list
    bool ended_ = false;
    bool tearingDown_ = false;
    MainForm form_{*this};
};

// Opens the program's one window: registers its creator with the main-window
// reference and creates it through that reference, so the window on screen is the
// one the reference designates. `holder` owns it from then on.
// `beforeShowing`, if given, sees the window made but not yet shown.
Win32Form& openMainWindow(std::unique_ptr<Win32Form>& holder, HINSTANCE instance, int showCommand,
                          const std::function<void(Win32Form&)>& beforeShowing = {});

}  // namespace vaskelo::win32
