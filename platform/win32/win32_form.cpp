#include "platform/win32/win32_form.h"

#include <algorithm>
#include <string>

#include "core/runtime_error.h"
#include "core/texts.h"
#include "platform/win32/application.h"
#include "platform/win32/calls.h"
#include "platform/win32/colours.h"
#include "platform/win32/picture_box.h"
#include "platform/win32/spoken_texts.h"
#include "platform/win32/text.h"
#include "ui/spoken_names.h"

namespace vaskelo::win32 {

namespace {

constexpr const wchar_t* kWindowClass = L"VaskeloMainWindow";
// Control ids start well clear of IDOK and IDCANCEL, which the dialog keys send.
constexpr UINT kFirstControlId = 1000;
// The program's icon in its resources; the window takes it for its frame and taskbar.
constexpr WORD kIconResource = 1;

struct MenuDeleter {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
using Menu = std::unique_ptr<std::remove_pointer_t<HMENU>, MenuDeleter>;

struct IconDeleter {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
using Icon = std::unique_ptr<std::remove_pointer_t<HICON>, IconDeleter>;

// The window class's small icon; the class stays registered until the process ends, and so does the icon.
Icon gSmallIcon;

HMENU menuHandle(UINT id) { return reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)); }

// A control's name is its window text. Windows announces a new text for the window
// itself (not everywhere: Wine does not); screen readers read the control's client
// object, whose change is announced here so that the new value is spoken.
void announceNameChange(HWND control) { NotifyWinEvent(EVENT_OBJECT_NAMECHANGE, control, OBJID_CLIENT, CHILDID_SELF); }

}  // namespace

Win32Form::Win32Form(const WindowDescription& description, std::span<const EventBinding> bindings, HINSTANCE instance)
    : instance_(instance), description_(description) {
    try {
        build(description);
        check(description, bindings);
        wire(description, bindings);
    } catch (...) {
        // No destructor runs for a half-made form, and the window must not outlive it.
        tearingDown_ = true;
        if (window_ != nullptr) DestroyWindow(window_);
        throw;
    }
}

Win32Form::~Win32Form() {
    tearingDown_ = true;
    if (window_ != nullptr) DestroyWindow(window_);
}

void Win32Form::build(const WindowDescription& description) {
    if (const CallResult failed = registerPictureBoxClass(instance_)) {
        throw failure(failed->call, texts::kNoPictureBoxClass);
    }
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance_, kWindowClass, &existing) == FALSE) {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof(wc);
        wc.lpfnWndProc = windowProc;
        wc.hInstance = instance_;
        // An icon that cannot be loaded is no reason not to start: the window then shows
        // Windows' default one, and Windows makes a missing small icon from the large one.
        wc.hIcon = LoadIconW(instance_, MAKEINTRESOURCEW(kIconResource));
        Icon smallIcon(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(kIconResource), IMAGE_ICON,
                                                     GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
        wc.hIconSm = smallIcon.get();
        if (wc.hIcon == nullptr) wc.hIcon = LoadIconW(nullptr, IDI_APPLICATION);
        wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        if (wc.hCursor == nullptr) throw failure("LoadCursorW", texts::kNoCursor);
        wc.lpszClassName = kWindowClass;
        if (RegisterClassExW(&wc) == 0) throw failure("RegisterClassExW", texts::kNoWindowClass);
        gSmallIcon = std::move(smallIcon);
    }

    // A menu is the bar's once appended to it, and the bar the window's once the window
    // is made; until then a failure destroys what was made.
    Menu bar(CreateMenu());
    if (!bar) throw failure("CreateMenu", texts::kNoMenuBar);
    for (const MenuDescription& menu : description.menus) {
        const std::string what = quoted(menu.caption) + std::string(texts::kNoMenu);
        Menu popup(CreatePopupMenu());
        if (!popup) throw failure("CreatePopupMenu", what);
        if (AppendMenuW(popup.get(), MF_STRING, kMenuCommandBase + static_cast<UINT>(menu.itemIndex),
                        widen(menu.itemCaption).c_str()) == FALSE ||
            AppendMenuW(bar.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup.get()), widen(menu.caption).c_str()) == FALSE) {
            throw failure("AppendMenuW", what);
        }
        static_cast<void>(popup.release());
        menuItemsMade_.insert(menu.itemName);
    }

    // Sized for 96 dpi first; once the window knows its DPI, layout() sizes it for real.
    RECT frame{0, 0, twipsToPixels(description.clientWidth), twipsToPixels(description.clientHeight)};
    if (AdjustWindowRectEx(&frame, WS_OVERLAPPEDWINDOW, TRUE, WS_EX_CONTROLPARENT) == FALSE) {
        throw failure("AdjustWindowRectEx", texts::kNoFrame);
    }
    window_ = CreateWindowExW(WS_EX_CONTROLPARENT, kWindowClass, widen(description.caption).c_str(),
                              WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, bar.get(), instance_, this);
    if (window_ == nullptr) throw failure("CreateWindowExW", texts::kNoMainWindow);
    static_cast<void>(bar.release());
    dpi_ = windowDpi(window_);

    // Control ids follow the description's order, which is also the tab order: Windows
    // moves the focus through child windows in the order they were made.
    controls_.reserve(description.controls.size());
    UINT id = kFirstControlId;
    for (const ControlDescription& c : description.controls) {
        Control& control = controls_.emplace_back();
        control.described = &c;
        control.id = id++;
        control.top = c.rect.top;
        control.font = c.font;
        createControl(control);
    }
    // Screen readers name a control after the static text just before it in z-order;
    // labels take no focus, so moving them leaves the tab order as it is.
    for (const Control& control : controls_) {
        const ControlDescription* caption = captionLabelOf(description, *control.described);
        const Control* label = caption != nullptr ? find(caption->name) : nullptr;
        if (label == nullptr) continue;
        HWND before = GetWindow(control.hwnd, GW_HWNDPREV);
        if (SetWindowPos(label->hwnd, before != nullptr ? before : HWND_TOP, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE) == FALSE) {
            throw failure("SetWindowPos", quoted(caption->name) + std::string(texts::kLabelOf) + quoted(control.described->name) +
                                              std::string(texts::kNoLabelOrder));
        }
    }
    for (const Swatch swatch : kAllSwatches) {
        const ControlDescription* c = findControl(description, controlName(swatch));
        if (c == nullptr) continue;
        if (const CallResult failed = nameSwatch(swatch, c->background)) {
            throw failure(failed->call, quoted(c->name) + std::string(texts::kNoPictureBoxName));
        }
    }
    applyFonts();
    layout();
}

void Win32Form::createControl(Control& control) {
    const ControlDescription& c = *control.described;
    HWND parent = window_;
    if (!c.container.empty()) {
        const Control* container = find(c.container);
        if (container == nullptr || container->hwnd == nullptr) throw missingControl(c.container);
        parent = container->hwnd;
    }
    const std::wstring text = widen(c.text);
    switch (c.kind) {
        case ControlKind::PictureBox:
            control.fill = c.background;
            control.hwnd = createPictureBox(parent, control.id, instance_, toColorRef(c.background), c.showsPicture);
            break;
        case ControlKind::ComboBox:
            // Editable and unsorted: the entries keep the description's order.
            control.hwnd = CreateWindowExW(0, L"COMBOBOX", L"",
                                           WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                           0, 0, 0, 0, parent, menuHandle(control.id), instance_, nullptr);
            break;
        case ControlKind::Label:
            // No '&' handling: a caption is shown exactly as the commands write it.
            control.hwnd = CreateWindowExW(0, L"STATIC", text.c_str(), WS_CHILD | WS_VISIBLE | SS_LEFTNOWORDWRAP | SS_NOPREFIX,
                                           0, 0, 0, 0, parent, menuHandle(control.id), instance_, nullptr);
            break;
        case ControlKind::CommandButton:
            control.hwnd = CreateWindowExW(0, L"BUTTON", text.c_str(), WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON,
                                           0, 0, 0, 0, parent, menuHandle(control.id), instance_, nullptr);
            break;
    }
    if (control.hwnd == nullptr) throw failure("CreateWindowExW", quoted(c.name) + std::string(texts::kNoControl));
    switch (c.kind) {
        case ControlKind::PictureBox:
            // Not shown; a screen reader reads it as the box's name. A swatch's name
            // follows its colour (nameSwatch).
            if (SetWindowTextW(control.hwnd, widen(c.accessibleName).c_str()) == FALSE) {
                throw failure("SetWindowTextW", quoted(c.name) + std::string(texts::kNoPictureBoxName));
            }
            break;
        case ControlKind::ComboBox:
            fillBandList(control);
            break;
        case ControlKind::Label:
        case ControlKind::CommandButton:
            break;
    }
    // A list or button is read by its name in the description, not by its current or
    // spaced-out text; a label's description says what its caption is.
    SpokenTexts spoken;
    if (c.kind == ControlKind::ComboBox || c.kind == ControlKind::CommandButton) spoken.name = widen(c.accessibleName);
    spoken.description = widen(c.accessibleDescription);
    if (!spoken.name.empty() || !spoken.description.empty()) {
        if (!setSpokenTexts(control.hwnd, std::move(spoken))) {
            throw failure("SetWindowSubclass", quoted(c.name) + std::string(texts::kNoScreenReaderTexts));
        }
    }
}

void Win32Form::check(const WindowDescription& description, std::span<const EventBinding> bindings) const {
    const auto kindOf = [this](std::string_view name) -> std::optional<ControlKind> {
        const Control* c = find(name);
        if (c == nullptr || c->hwnd == nullptr) return std::nullopt;
        return c->described->kind;
    };
    checkWindow(description, bindings, kindOf, [this](std::string_view name) { return menuItemsMade_.contains(name); });
}

void Win32Form::wire(const WindowDescription& description, std::span<const EventBinding> bindings) {
    for (const EventBinding& binding : bindings) {
        switch (binding.event) {
            case ControlEvent::Click:
                if (Control* c = find(binding.control)) {
                    c->click = &binding;
                } else if (const MenuDescription* item = findMenuItem(description, binding.control)) {
                    menuCommands_[kMenuCommandBase + static_cast<UINT>(item->itemIndex)] = &binding;
                }
                break;
        }
    }
}

void Win32Form::show(int showCommand) {
    ShowWindow(window_, showCommand);
    UpdateWindow(window_);
    // The first control in tab order takes the focus, as in a dialog.
    for (const Control& c : controls_) {
        if ((GetWindowLongPtrW(c.hwnd, GWL_STYLE) & WS_TABSTOP) != 0) {
            SetFocus(c.hwnd);
            break;
        }
    }
}

LRESULT CALLBACK Win32Form::windowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardedProcedure([&] { return dispatch(hwnd, message, wParam, lParam); },
                            [&] { return DefWindowProcW(hwnd, message, wParam, lParam); });
}

LRESULT Win32Form::dispatch(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* self = static_cast<Win32Form*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        // A window that cannot find its form is not made: CreateWindowExW returns null.
        SetLastError(ERROR_SUCCESS);
        if (SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self)) == 0 && GetLastError() != ERROR_SUCCESS) {
            return FALSE;
        }
        self->window_ = hwnd;
    }
    auto* self = reinterpret_cast<Win32Form*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self == nullptr) return DefWindowProcW(hwnd, message, wParam, lParam);
    if (message == WM_NCDESTROY) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        return DefWindowProcW(hwnd, message, wParam, lParam);
    }
    return self->handle(message, wParam, lParam);
}

LRESULT Win32Form::handle(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            onCommand(wParam, lParam);
            return 0;
        case kPickMessage:
            if (wParam < controls_.size()) {
                Control& c = controls_[wParam];
                c.pickPosted = false;
                if (c.click != nullptr) run(*c.click, 0);
            }
            return 0;
        case WM_SYSCOLORCHANGE:
        case WM_SETTINGCHANGE:
            // A high-contrast scheme switched on or off comes as a setting change.
            followScheme();
            return DefWindowProcW(window_, message, wParam, lParam);
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLOREDIT:
        case WM_CTLCOLORLISTBOX:
            return colourControl(message, reinterpret_cast<HDC>(wParam), reinterpret_cast<HWND>(lParam));
        case WM_ERASEBKGND: {
            // Without its brush or its size the background is left to Windows.
            RECT client;
            HBRUSH background = brush(toColorRef(description_.background));
            if (background == nullptr || GetClientRect(window_, &client) == FALSE ||
                FillRect(reinterpret_cast<HDC>(wParam), &client, background) == 0) {
                return DefWindowProcW(window_, message, wParam, lParam);
            }
            return 1;
        }
        case WM_DPICHANGED: {
            dpi_ = LOWORD(wParam);
            // Where Windows suggests; a window that cannot move there stays where it is,
            // and rescale() fits its size to the new DPI all the same.
            const RECT* suggested = reinterpret_cast<const RECT*>(lParam);
            SetWindowPos(window_, nullptr, suggested->left, suggested->top, suggested->right - suggested->left,
                         suggested->bottom - suggested->top, SWP_NOZORDER | SWP_NOACTIVATE);
            rescale();
            return 0;
        }
        case WM_CLOSE:
            // Closing ends the program without a question.
            DestroyWindow(window_);
            return 0;
        case WM_DESTROY:
            // The window going away with its owner is no request to end the program.
            if (!tearingDown_) PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcW(window_, message, wParam, lParam);
    }
}

void Win32Form::onCommand(WPARAM wParam, LPARAM lParam) {
    const UINT id = LOWORD(wParam);
    const UINT code = HIWORD(wParam);
    if (lParam == 0) {
        // Menus send code 0; the window has no accelerators.
        if (code != 0) return;
        if (const auto it = menuCommands_.find(id); it != menuCommands_.end()) {
            run(*it->second, static_cast<int>(id - kMenuCommandBase));
        }
        return;
    }
    Control* c = findById(id);
    if (c == nullptr || c->hwnd != reinterpret_cast<HWND>(lParam)) return;
    switch (c->described->kind) {
        case ControlKind::ComboBox:
            onBandListNotification(*c, code);
            break;
        case ControlKind::CommandButton:
            if (code == BN_CLICKED && c->click != nullptr) run(*c->click, 0);
            break;
        case ControlKind::PictureBox:
        case ControlKind::Label:
            break;
    }
}

void Win32Form::run(const EventBinding& binding, int index) {
    if (ended_) return;
    runBound(binding, form_, index, [this](std::string_view title, std::string_view message) {
        MessageBoxW(window_, widen(message).c_str(), widen(title).c_str(), MB_OK | MB_ICONERROR);
    });
}

Win32Form::Control* Win32Form::find(std::string_view name) {
    const auto it = std::find_if(controls_.begin(), controls_.end(), [name](const Control& c) { return c.described->name == name; });
    return it == controls_.end() ? nullptr : &*it;
}

const Win32Form::Control* Win32Form::find(std::string_view name) const {
    const auto it = std::find_if(controls_.begin(), controls_.end(), [name](const Control& c) { return c.described->name == name; });
    return it == controls_.end() ? nullptr : &*it;
}

Win32Form::Control* Win32Form::findById(UINT id) {
    const auto it = std::find_if(controls_.begin(), controls_.end(), [id](const Control& c) { return c.id == id; });
    return it == controls_.end() ? nullptr : &*it;
}

HWND Win32Form::control(std::string_view name) const {
    const Control* c = find(name);
    return c == nullptr ? nullptr : c->hwnd;
}

UINT Win32Form::menuCommand(std::string_view itemName) const {
    const MenuDescription* item = findMenuItem(description_, itemName);
    return item == nullptr ? 0 : kMenuCommandBase + static_cast<UINT>(item->itemIndex);
}

HWND Win32Form::live(std::string_view name, ControlKind kind) const {
    const Control* c = find(name);
    if (c == nullptr || c->described->kind != kind || IsWindow(c->hwnd) == FALSE) return nullptr;
    // A destroyed control's handle may come back for another window.
    if (static_cast<UINT>(GetDlgCtrlID(c->hwnd)) != c->id) return nullptr;
    return c->hwnd;
}

bool Win32Form::present(std::string_view name, ControlKind kind) const { return live(name, kind) != nullptr; }

Status Win32Form::readBandText(BandList list, std::string& text) {
    const std::optional<std::wstring> shown = windowText(find(controlName(list))->hwnd);
    if (!shown) return statusOf(failedCall("GetWindowTextW"));
    text = narrow(*shown);
    return kOk;
}

Status Win32Form::writeBandText(BandList list, std::string_view text) {
    return statusOf(showBandText(*find(controlName(list)), text));
}

Status Win32Form::fillSwatch(Swatch swatch, ColourValue colour) {
    if (const CallResult failed = setPictureBoxFill(find(controlName(swatch))->hwnd, toColorRef(colour))) return statusOf(failed);
    find(controlName(swatch))->fill = colour;
    return statusOf(nameSwatch(swatch, colour));
}

// Screen readers take a box's window text as its name.
CallResult Win32Form::nameSwatch(Swatch swatch, ColourValue colour) {
    const Control* box = find(controlName(swatch));
    const Control* list = find(controlName(bandListOf(swatch)));
    if (box == nullptr || box->hwnd == nullptr) return std::nullopt;
    std::string bandText(kUnchosen);
    if (list != nullptr && list->hwnd != nullptr) {
        const std::optional<std::wstring> shown = windowText(list->hwnd);
        if (!shown) return failedCall("GetWindowTextW");
        bandText = narrow(*shown);
    }
    if (SetWindowTextW(box->hwnd, widen(swatchName(description_, swatch, colour, bandText)).c_str()) == FALSE) {
        return failedCall("SetWindowTextW");
    }
    announceNameChange(box->hwnd);
    return std::nullopt;
}

Status Win32Form::writeCaption(Label label, std::string_view caption) {
    HWND hwnd = find(controlName(label))->hwnd;
    if (SetWindowTextW(hwnd, widen(caption).c_str()) == FALSE) return statusOf(failedCall("SetWindowTextW"));
    announceNameChange(hwnd);
    return refitsToCaption(*find(controlName(label))->described) ? statusOf(fitToText(hwnd)) : kOk;
}

Status Win32Form::applyFontSize(Label label, float points) {
    Control& c = *find(controlName(label));
    HWND hwnd = c.hwnd;
    FontDescription wanted = c.font.value_or(description_.font);
    wanted.points = points;
    Font font = makeFont(wanted);
    if (!font) return statusOf(failedCall("CreateFontIndirectW"));
    SendMessageW(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
    c.font = wanted;
    c.ownFont = std::move(font);
    return refitsToCaption(*c.described) ? statusOf(fitToText(hwnd)) : kOk;
}

Status Win32Form::moveTop(Label label, float twips) {
    Control& c = *find(controlName(label));
    if (SetWindowPos(c.hwnd, nullptr, pixels(c.described->rect.left), pixels(twips), 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE) == FALSE) {
        return statusOf(failedCall("SetWindowPos"));
    }
    c.top = twips;
    return kOk;
}

void Win32Form::endProgram() {
    ended_ = true;
    // The window's WM_DESTROY ends the message loop; without it, the quit message does.
    if (window_ == nullptr || DestroyWindow(window_) == FALSE) PostQuitMessage(0);
}

Win32Form& openMainWindow(std::unique_ptr<Win32Form>& holder, HINSTANCE instance, int showCommand,
                          const std::function<void(Win32Form&)>& beforeShowing) {
    // The creator stays with the main-window reference, so it keeps its own copy.
    return vaskelo::openMainWindow<Win32Form>(holder, [instance, showCommand, beforeShowing] {
        auto form = std::make_unique<Win32Form>(mainWindowDescription(), eventBindings(), instance);
        if (beforeShowing) beforeShowing(*form);
        form->show(showCommand);
        return form;
    });
}

}  // namespace vaskelo::win32
