// The Win32 window under test, built in this process and driven the way a user drives
// it: SendInput mouse moves and clicks at the controls' places on the screen, key
// presses and typed characters, all through the program's own message dispatch. The
// window suite's driver for Win32.
#pragma once

#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <cstdlib>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "core/main_form.h"
#include "platform/win32/application.h"
#include "platform/win32/picture_box.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"
#include "tests/window/window_driver.h"

namespace vaskelo::win32 {

inline std::string textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

inline std::string classOf(HWND hwnd) {
    wchar_t name[64] = {};
    GetClassNameW(hwnd, name, 64);
    return narrow(name);
}

inline LOGFONTW fontOf(HWND hwnd) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}

inline POINT centre(RECT r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

inline RECT screenRect(HWND hwnd, RECT client) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

// A window's rectangle in another's client area.
inline suite::NamedRect rectIn(std::string_view name, HWND hwnd, HWND parent) {
    RECT r{};
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
    return {std::string(name), r.left, r.top, r.right, r.bottom};
}

inline INPUT keyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

inline INPUT unicodeInput(wchar_t unit, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = unit;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// Absolute positions run from 0 to 65536 across the screen; aiming at a pixel's
// middle lands on that pixel whichever way the conversion rounds.
inline INPUT mouseInput(POINT at, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(((2LL * at.x + 1) << 16) / (2LL * GetSystemMetrics(SM_CXSCREEN)));
    in.mi.dy = static_cast<LONG>(((2LL * at.y + 1) << 16) / (2LL * GetSystemMetrics(SM_CYSCREEN)));
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

inline void sendInput(std::vector<INPUT> inputs) { SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT)); }

// Each click lands a few pixels beside the last one, as a person's hand does, so two
// clicks in a row are never taken for a double click.
inline void click(POINT at) {
    static int clicks = 0;
    at.x += (clicks++ % 3 - 1) * 4;
    sendInput({mouseInput(at, 0), mouseInput(at, MOUSEEVENTF_LEFTDOWN), mouseInput(at, MOUSEEVENTF_LEFTUP)});
}

// A menu opened with a click on the bar runs its own message loop; the click on its
// item is made from a timer inside that loop, once the menu shows.
inline HMENU gMenuToClick = nullptr;

inline void CALLBACK clickOpenMenuItem(HWND, UINT, UINT_PTR timer, DWORD) {
    // The item has a place on the screen only once its menu shows.
    RECT item{};
    if (gMenuToClick == nullptr || GetMenuItemRect(nullptr, gMenuToClick, 0, &item) == FALSE || item.right <= item.left) return;
    KillTimer(nullptr, timer);
    gMenuToClick = nullptr;
    click(centre(item));
}

// An action that leaves the window in a loop of its own (a menu that stays open, say)
// is ended after a while and counts as not made, rather than hanging the run.
inline bool gStuck = false;

inline void CALLBACK endStuckAction(HWND, UINT, UINT_PTR, DWORD) {
    gStuck = true;
    EndMenu();
    sendInput({keyInput(VK_ESCAPE, false), keyInput(VK_ESCAPE, true)});
}

// What a message box said: read while it is up, then answered with its button. The
// timer fires inside the message box's own loop.
inline suite::Report* gReport = nullptr;

inline BOOL CALLBACK readMessageBoxPart(HWND child, LPARAM) {
    const std::string cls = classOf(child);
    if (cls == "Static") gReport->text += textOf(child);
    if (cls == "Button" && gReport->button.empty()) gReport->button = textOf(child);
    return TRUE;
}

inline BOOL CALLBACK answerMessageBox(HWND hwnd, LPARAM) {
    if (classOf(hwnd) != "#32770" || IsWindowVisible(hwnd) == FALSE) return TRUE;
    gReport->title = textOf(hwnd);
    EnumChildWindows(hwnd, readMessageBoxPart, 0);
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return FALSE;
}

inline void CALLBACK watchForMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    if (gReport != nullptr && gReport->title.empty()) EnumThreadWindows(GetCurrentThreadId(), answerMessageBox, 0);
}

// The windows whose name changed, as Windows announces them to screen readers.
inline std::vector<HWND> gRenamed;
inline void CALLBACK noteRename(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD) { gRenamed.push_back(hwnd); }

// Ends the program's message loop should the window fail to.
inline void CALLBACK giveUp(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

inline BOOL CALLBACK findOtherMainWindow(HWND hwnd, LPARAM own) {
    if (hwnd == reinterpret_cast<HWND>(own) || classOf(hwnd) != "VaskeloMainWindow") return TRUE;
    SetLastError(ERROR_ALREADY_EXISTS);
    return FALSE;
}

class Win32Driver final : public suite::WindowDriver {
public:
    explicit Win32Driver(RandomRun randomRun) : randomRun_(randomRun) {}
    ~Win32Driver() override { close(); }

    std::unique_ptr<Win32Form> form;
    HWND at(std::string_view name) const { return form->control(name); }
    HWND combo(int band) const { return at(suite::listName(band)); }  // from 0
    // Runs what is queued for this thread, the input included, until nothing is left.
    void settle() {
        for (int idle = 0; idle < 2;) {
            MSG m;
            if (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) == FALSE) {
                ++idle;
                continue;
            }
            idle = 0;
            if (m.message == WM_QUIT) {
                quit_ = true;
                quitCode_ = static_cast<int>(m.wParam);
            } else {
                dispatchMessage(form ? form->window() : nullptr, m);
            }
        }
    }

    void open() override {
        close();
        designateMainForm(nullptr);
        openMainWindow(form, GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        // Keys go to the foreground window, as they do for a person at the screen.
        SetForegroundWindow(form->window());
        settle();
        quit_ = false;
    }
    void close() override {
        if (renameHook_ != nullptr) {
            UnhookWinEvent(renameHook_);
            renameHook_ = nullptr;
        }
        form.reset();
        setMainFormCreator(nullptr);
        settle();
    }
    std::string notReady() override {
        return GetForegroundWindow() == form->window() ? "" : "the window must be in front to receive the keys";
    }
    MainForm& mainForm() override { return form->mainForm(); }

    bool guarded(const std::function<bool()>& input) override {
        gStuck = false;
        const UINT_PTR guard = SetTimer(nullptr, 0, 30000, endStuckAction);  // long enough for a busy machine
        const bool made = input();
        KillTimer(nullptr, guard);
        return made && !gStuck;
    }
    void keys(int band, const std::vector<Key>& keys) override {
        focusField(band);
        std::vector<INPUT> inputs;
        for (const Key key : keys) {
            const auto hit = [&inputs](std::initializer_list<WORD> held) {
                for (const WORD vk : held) inputs.push_back(keyInput(vk, false));
                for (auto vk = std::rbegin(held); vk != std::rend(held); ++vk) inputs.push_back(keyInput(*vk, true));
            };
            switch (key) {
                case Key::Down: hit({VK_DOWN}); break;
                case Key::Up: hit({VK_UP}); break;
                case Key::Enter: hit({VK_RETURN}); break;
                case Key::Tab: hit({VK_TAB}); break;
                case Key::AltDown: hit({VK_MENU, VK_DOWN}); break;
                case Key::F4: hit({VK_F4}); break;
            }
        }
        send(inputs);
    }
    bool listBecomes(int band, bool open) override { return dropped(band) == open; }
    bool pickWithMouse(int band, int row) override {
        const COMBOBOXINFO info = parts(band);
        press(centre(screenRect(combo(band), info.rcButton)));
        if (!dropped(band)) return false;
        RECT item{};
        SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
        press(centre(screenRect(info.hwndList, item)));
        return !dropped(band) && selectedRow(band) == row;
    }
    void click(std::string_view control) override { pressControl(control); }
    bool chooseMenu(int position, bool byMouse) override {
        menu(position, byMouse);
        return true;
    }
    bool exitByMenu(bool byMouse) override {
        menu(0, byMouse);
        return form->window() == nullptr && quit_ && quitCode_ == 0;
    }
    // With no entry selected, either key picks the entry at the list's caret: the first
    // one after start or a reset, and after typing whichever the list found for the text,
    // which is the list's own business. At either end the key picks the selected entry again.
    std::optional<int> arrowPick(const model::State& expected, int band, bool down) override {
        int from = expected.selected[static_cast<std::size_t>(band)];
        if (from == model::kToolkitRow) from = static_cast<int>(SendMessageW(combo(band), CB_GETCURSEL, 0, 0));
        if (from >= 0) return model::arrowRow(band, from, down).value_or(from);
        if (expected.selected[static_cast<std::size_t>(band)] == model::kNoRow) return 0;
        return static_cast<int>(SendMessageW(parts(band).hwndList, LB_GETCARETINDEX, 0, 0));
    }
    void noteTyped(model::State& expected, int band, const std::string& text) override {
        expected.texts[static_cast<std::size_t>(band)] = text;
        expected.selected[static_cast<std::size_t>(band)] = model::kToolkitRow;
    }
    bool gone() override { return form->window() == nullptr; }
    int selectedRow(int band) override { return static_cast<int>(SendMessageW(combo(band), CB_GETCURSEL, 0, 0)); }
    std::array<ColourValue, 4> swatches(bool pixels) override {
        std::array<ColourValue, 4> colours{};
        if (pixels) UpdateWindow(form->window());
        for (std::size_t i = 0; i < colours.size(); ++i) {
            HWND swatch = at("pr" + std::to_string(i + 1));
            if (IsWindow(swatch) == FALSE) {
                colours[i] = 0xFF000000u;  // a swatch taken away shows no colour at all
            } else if (pixels) {
                // What the screen shows in the swatch's middle.
                RECT r;
                GetClientRect(swatch, &r);
                HDC dc = GetDC(swatch);
                colours[i] = GetPixel(dc, r.right / 2, r.bottom / 2);
                ReleaseDC(swatch, dc);
            } else {
                colours[i] = pictureBoxFill(swatch);
            }
        }
        return colours;
    }
    std::pair<float, float> resultPointsAndTop() override {
        HWND result = at("Ls1");
        const auto dpi = static_cast<float>(form->dpi());
        return {static_cast<float>(-fontOf(result).lfHeight) * 72.0f / dpi,
                static_cast<float>(rectIn("Ls1", result, form->window()).top) * 1440.0f / dpi};
    }
    ColourValue windowBackground() override { return GetSysColor(COLOR_WINDOW); }
    RandomRun defaultRandomRun() override { return randomRun_; }

    bool browseOpenListAndCancel(int band) override {
        focusField(band);
        send({keyInput(VK_MENU, false), keyInput(VK_DOWN, false), keyInput(VK_DOWN, true), keyInput(VK_MENU, true)});
        const bool opened = dropped(band);
        for (const WORD vk : {WORD{VK_DOWN}, WORD{VK_DOWN}, WORD{VK_ESCAPE}}) tap(vk);
        return opened && !dropped(band);
    }
    bool cancelMenuAndPressDialogKeys() override {
        // Alt opens the bar, Down the first menu; Escape closes the menu, then the bar.
        send({keyInput(VK_MENU, false), keyInput(VK_MENU, true), keyInput(VK_DOWN, false), keyInput(VK_DOWN, true),
              keyInput(VK_ESCAPE, false), keyInput(VK_ESCAPE, true), keyInput(VK_ESCAPE, false), keyInput(VK_ESCAPE, true)});
        GUITHREADINFO thread{};
        thread.cbSize = sizeof(thread);
        GetGUIThreadInfo(GetCurrentThreadId(), &thread);
        const bool menuClosed = (thread.flags & GUI_INMENUMODE) == 0;
        SetFocus(at("pd1"));
        for (const WORD vk : {WORD{VK_RETURN}, WORD{VK_ESCAPE}}) tap(vk);
        // What Enter and Escape outside a field send; no menu item has the bare base number.
        for (const WPARAM id : {WPARAM{IDOK}, WPARAM{IDCANCEL}, WPARAM{kMenuCommandBase}}) {
            PostMessageW(form->window(), WM_COMMAND, id, 0);
        }
        settle();
        return menuClosed;
    }
    void resize(int width, int height) override {
        SetWindowPos(form->window(), nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER);
        settle();
    }
    void focus(std::string_view control) override {
        SetFocus(at(control));
        settle();
    }
    suite::Scheme setScheme(const suite::Scheme* scheme) override {
        static constexpr std::array<int, 6> kElements{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT,
                                                     COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
        if (!originalColours_) {
            originalColours_.emplace();
            for (std::size_t i = 0; i < kElements.size(); ++i) (*originalColours_)[i] = GetSysColor(kElements[i]);
        }
        const std::array<COLORREF, 6> colours =
            scheme == nullptr ? *originalColours_
                              : std::array<COLORREF, 6>{scheme->window, scheme->windowText, scheme->buttonFace, scheme->buttonText,
                                                        scheme->highlight, scheme->highlightText};
        // The colours are the whole session's: the test gives the machine's own back at its end.
        SetSysColors(static_cast<int>(kElements.size()), kElements.data(), colours.data());
        settle();
        return {colours[0], colours[1], colours[2], colours[3], colours[4], colours[5]};
    }
    suite::Ending end(bool byMenu) override {
        suite::Ending ending;
        HWND window = form->window();
        HWND reset = at("DYeni");
        ending.report = reportDuring([&] {
            if (byMenu) {
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(form->menuCommand("Çıkış"), 0), 0);
            } else {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            // The program's own message loop, ended by the window or, failing that, a timer.
            const UINT_PTR guard = SetTimer(nullptr, 0, 30000, giveUp);
            ending.code = runMessageLoop(window);
            KillTimer(nullptr, guard);
        });
        ending.windowGone = IsWindow(window) == FALSE && IsWindow(reset) == FALSE;
        return ending;
    }

    std::string title() override { return textOf(form->window()); }
    suite::Size clientSize() override {
        RECT client{};
        GetClientRect(form->window(), &client);
        return {client.right, client.bottom};
    }
    suite::NamedRect place(std::string_view control) override { return rectIn(control, at(control), GetParent(at(control))); }
    // The client area is the surface: a control stands where the description puts it.
    suite::NamedRect surfacePlace(std::string_view control) override {
        for (const ControlDescription& c : mainWindowDescription().controls) {
            if (c.name != control) continue;
            const TwipRect& r = c.rect;
            return {std::string(control), twipsToPixels(r.left), twipsToPixels(r.top), twipsToPixels(r.left + r.width),
                    twipsToPixels(r.top + r.height)};
        }
        return {std::string(control), 0, 0, 0, 0};
    }
    suite::NamedRect devicePlace(std::string_view control) override { return rectIn(control, at(control), form->window()); }
    suite::NamedRect deviceArea(std::string_view control) override {
        HWND hwnd = at(control);
        int inset = 0;
        if (classOf(hwnd) == "ComboBox") {
            hwnd = parts(static_cast<int>(control.back() - '1')).hwndItem;  // the field
            inset = 1;
        } else if (control.starts_with("pr")) {
            inset = 2;  // inside the border
        }
        RECT r{};
        GetClientRect(hwnd, &r);
        MapWindowPoints(hwnd, form->window(), reinterpret_cast<POINT*>(&r), 2);
        return {std::string(control), r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
    }
    suite::Size deviceClientSize() override {
        const suite::Grab g = grab();
        return {g.width, g.height};
    }
    std::string caption(std::string_view control) override { return textOf(at(control)); }
    std::vector<std::string> entries(int band) override {
        std::vector<std::string> all;
        const auto count = SendMessageW(combo(band), CB_GETCOUNT, 0, 0);
        for (LRESULT i = 0; i < count; ++i) {
            std::wstring text(static_cast<std::size_t>(SendMessageW(combo(band), CB_GETLBTEXTLEN, static_cast<WPARAM>(i), 0)) + 1, L'\0');
            const auto length = SendMessageW(combo(band), CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text.data()));
            text.resize(static_cast<std::size_t>(std::max<LRESULT>(length, 0)));
            all.push_back(narrow(text));
        }
        return all;
    }
    suite::FontFacts font(std::string_view control) override {
        HWND hwnd = at(control);
        const LOGFONTW lf = fontOf(hwnd);
        // Whether the font the control draws with has a glyph for each letter.
        HDC dc = GetDC(hwnd);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        const std::wstring letters(suite::kTurkishLetters.begin(), suite::kTurkishLetters.end());
        std::vector<WORD> glyphs(letters.size());
        const DWORD found = GetGlyphIndicesW(dc, letters.c_str(), static_cast<int>(letters.size()), glyphs.data(),
                                             GGI_MARK_NONEXISTING_GLYPHS);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        const bool turkish = found == letters.size() && std::find(glyphs.begin(), glyphs.end(), 0xFFFF) == glyphs.end();
        return {-lf.lfHeight * 72.0 / form->dpi(), lf.lfWeight >= FW_BOLD, narrow(lf.lfFaceName), lf.lfCharSet == TURKISH_CHARSET,
                turkish};
    }
    suite::Size textExtent(std::string_view control, std::string_view text) override {
        HWND hwnd = at(control);
        HDC dc = GetDC(hwnd);
        const HGDIOBJ old = SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)));
        const std::wstring units = widen(text);
        SIZE size{};
        GetTextExtentPoint32W(dc, units.c_str(), static_cast<int>(units.size()), &size);
        SelectObject(dc, old);
        ReleaseDC(hwnd, dc);
        return {size.cx, size.cy};
    }
    std::string focused() override {
        HWND focus = GetFocus();
        for (const ControlDescription& c : mainWindowDescription().controls) {
            if (at(c.name) == focus || (focus != nullptr && GetParent(focus) == at(c.name) && c.kind == ControlKind::ComboBox)) {
                return std::string(c.name);
            }
        }
        return {};
    }
    std::vector<suite::MenuFacts> menus() override {
        std::vector<suite::MenuFacts> all;
        HMENU bar = GetMenu(form->window());
        const auto textAt = [](HMENU menu, int position) {
            wchar_t text[64] = {};
            GetMenuStringW(menu, static_cast<UINT>(position), text, 64, MF_BYPOSITION);
            return narrow(text);
        };
        for (int i = 0; i < GetMenuItemCount(bar); ++i) {
            suite::MenuFacts menu{textAt(bar, i), {}};
            HMENU popup = GetSubMenu(bar, i);
            for (int j = 0; j < GetMenuItemCount(popup); ++j) {
                const std::string text = textAt(popup, j);
                const UINT state = GetMenuState(popup, static_cast<UINT>(j), MF_BYPOSITION);
                menu.items.push_back({text, text.find('\t') != std::string::npos, (state & MF_CHECKED) != 0,
                                      GetMenuItemID(popup, j) - kMenuCommandBase});
            }
            all.push_back(menu);
        }
        return all;
    }
    double scale() override { return form->dpi() / 96.0; }
    std::optional<double> expectedScale() override {
        // Set by the display-scale runs, which start this process at each DPI.
        wchar_t dpi[16] = {};
        if (GetEnvironmentVariableW(L"VASKELO_EXPECT_DPI", dpi, 16) == 0) return std::nullopt;
        return _wtoi(dpi) / 96.0;
    }
    suite::Grab grab() override {
        // The whole window on the screen, so that its surface holds every pixel.
        SetWindowPos(form->window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        settle();
        UpdateWindow(form->window());
        HWND window = form->window();
        RECT client;
        GetClientRect(window, &client);
        suite::Grab g{client.right, client.bottom, {}};
        BITMAPINFO info{};
        info.bmiHeader = {sizeof(BITMAPINFOHEADER), g.width, -g.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
        void* bits = nullptr;
        HDC screen = GetDC(window);
        HDC memory = CreateCompatibleDC(screen);
        HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
        HGDIOBJ old = SelectObject(memory, bitmap);
        BitBlt(memory, 0, 0, g.width, g.height, screen, 0, 0, SRCCOPY);
        GdiFlush();
        const auto* first = static_cast<const std::uint32_t*>(bits);
        for (std::size_t i = 0; i < static_cast<std::size_t>(g.width) * static_cast<std::size_t>(g.height); ++i) {
            const std::uint32_t c = first[i];  // 0x00RRGGBB in a DIB
            g.pixels.push_back(((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16));
        }
        SelectObject(memory, old);
        DeleteObject(bitmap);
        DeleteDC(memory);
        ReleaseDC(window, screen);
        return g;
    }

    // A list is heard by its name, then the value of its field, which has the focus.
    std::string spoken(std::string_view control) override {
        std::string name = spokenText(at(control), &IAccessible::get_accName);
        if (classOf(at(control)) != "ComboBox") return name;
        const std::string value = spokenText(parts(static_cast<int>(control.back() - '1')).hwndItem, &IAccessible::get_accValue);
        return value.empty() ? name : name + " " + value;
    }
    std::string spokenDescription(std::string_view control) override {
        return spokenText(at(control), &IAccessible::get_accDescription);
    }
    void listenForRenames() override {
        gRenamed.clear();
        if (renameHook_ == nullptr) {
            renameHook_ = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, noteRename,
                                          GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
        }
    }
    std::optional<bool> announcedRename(std::string_view control) override {
        settle();
        return std::count(gRenamed.begin(), gRenamed.end(), at(control)) > 0;
    }

    suite::Report reportDuring(const std::function<void()>& action) override {
        suite::Report report;
        gReport = &report;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, watchForMessageBox);
        action();
        KillTimer(nullptr, timer);
        gReport = nullptr;
        return report;
    }
    std::string okButton() override { return {}; }  // the system's own, in the user's language
    void setOperationGate(OperationGate gate) override { form->setOperationGate(std::move(gate)); }
    void destroyControl(std::string_view control) override { DestroyWindow(at(control)); }
    std::string buildError(const WindowDescription& description, std::span<const EventBinding> bindings) override {
        try {
            Win32Form built(description, bindings, GetModuleHandleW(nullptr));
            return {};
        } catch (const std::exception& error) {
            return error.what();
        }
    }
    bool strayWindow() override {
        SetLastError(0);
        EnumThreadWindows(GetCurrentThreadId(), findOtherMainWindow, reinterpret_cast<LPARAM>(form ? form->window() : nullptr));
        return GetLastError() == ERROR_ALREADY_EXISTS;
    }

private:
    void send(std::vector<INPUT> inputs) {
        sendInput(std::move(inputs));
        settle();
    }
    void tap(WORD vk) { send({keyInput(vk, false), keyInput(vk, true)}); }
    void press(POINT point) {
        win32::click(point);
        settle();
    }
    void pressControl(std::string_view name) {
        RECT r;
        GetWindowRect(at(name), &r);
        // A long caption reaches past the window's edge; the click stays inside.
        RECT client;
        GetClientRect(form->window(), &client);
        const RECT inside = screenRect(form->window(), client);
        RECT visible;
        if (IntersectRect(&visible, &r, &inside) == FALSE) return;
        press(centre(visible));
    }
    // Into the list's field with a click, unless the keys already go there.
    void focusField(int band) {
        const COMBOBOXINFO info = parts(band);
        if (GetFocus() != info.hwndItem) press(centre(screenRect(combo(band), info.rcItem)));
    }
    void type(int band, const std::string& text) override {
        focusField(band);
        // Select what the field holds, then replace it.
        send({keyInput(VK_HOME, false), keyInput(VK_HOME, true), keyInput(VK_SHIFT, false), keyInput(VK_END, false),
              keyInput(VK_END, true), keyInput(VK_SHIFT, true)});
        const std::wstring units = widen(text);
        if (units.empty()) {
            tap(VK_DELETE);
        } else if (units.size() <= 64) {
            std::vector<INPUT> keys;
            for (const wchar_t unit : units) {
                keys.push_back(unicodeInput(unit, false));
                keys.push_back(unicodeInput(unit, true));
            }
            send(keys);
        } else {
            // A long text is pasted, as nobody types ten thousand letters.
            if (OpenClipboard(form->window()) != FALSE) {
                EmptyClipboard();
                HGLOBAL data = GlobalAlloc(GMEM_MOVEABLE, (units.size() + 1) * sizeof(wchar_t));
                std::copy_n(units.c_str(), units.size() + 1, static_cast<wchar_t*>(GlobalLock(data)));
                GlobalUnlock(data);
                SetClipboardData(CF_UNICODETEXT, data);
                CloseClipboard();
            }
            send({keyInput(VK_CONTROL, false), keyInput('V', false), keyInput('V', true), keyInput(VK_CONTROL, true)});
        }
    }
    // Opens the menu at `position` on the bar and chooses its one item: with the Alt
    // key and the arrows, or with two clicks.
    void menu(int position, bool byMouse) {
        HMENU bar = GetMenu(form->window());
        if (!byMouse) {
            std::vector<INPUT> keys{keyInput(VK_MENU, false), keyInput(VK_MENU, true)};
            for (int i = 0; i < position; ++i) {
                keys.push_back(keyInput(VK_RIGHT, false));
                keys.push_back(keyInput(VK_RIGHT, true));
            }
            for (const WORD vk : {WORD{VK_DOWN}, WORD{VK_RETURN}}) {
                keys.push_back(keyInput(vk, false));
                keys.push_back(keyInput(vk, true));
            }
            send(keys);
            return;
        }
        RECT title;
        GetMenuItemRect(form->window(), bar, static_cast<UINT>(position), &title);
        gMenuToClick = GetSubMenu(bar, position);
        const UINT_PTR timer = SetTimer(nullptr, 0, 10, clickOpenMenuItem);
        press(centre(title));
        KillTimer(nullptr, timer);
        gMenuToClick = nullptr;
    }
    COMBOBOXINFO parts(int band) const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(combo(band), &info);
        return info;
    }
    bool dropped(int band) const { return SendMessageW(combo(band), CB_GETDROPPEDSTATE, 0, 0) != FALSE; }
    // A property Active Accessibility gives a screen reader for a window itself.
    static std::string spokenText(HWND hwnd, HRESULT (STDMETHODCALLTYPE IAccessible::*property)(VARIANT, BSTR*)) {
        IAccessible* accessible = nullptr;
        if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                              reinterpret_cast<void**>(&accessible)))) {
            return "(no accessible object)";
        }
        VARIANT self;
        VariantInit(&self);
        self.vt = VT_I4;
        self.lVal = CHILDID_SELF;
        BSTR text = nullptr;
        const HRESULT result = (accessible->*property)(self, &text);
        std::string utf8 = SUCCEEDED(result) && text != nullptr ? narrow(std::wstring(text, SysStringLen(text))) : "";
        SysFreeString(text);
        accessible->Release();
        return utf8;
    }

    RandomRun randomRun_;
    bool quit_ = false;
    int quitCode_ = -1;
    HWINEVENTHOOK renameHook_ = nullptr;
    std::optional<std::array<COLORREF, 6>> originalColours_;
};

}  // namespace vaskelo::win32
