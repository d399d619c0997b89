// The Win32 window checked against the shared reference model after each of many
// seeded random actions, made the way a user makes them: SendInput mouse moves and
// clicks at the controls' places on the screen, key presses and typed characters.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "core/main_form.h"
#include "model/window_model.h"
#include "platform/win32/application.h"
#include "platform/win32/picture_box.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"
#include "ui/event_wiring.h"
#include "ui/window_description.h"

namespace vaskelo::win32 {
namespace {

using model::Action;
using model::Kind;

int gActions = 20000;  // --actions=N; VASKELO_MODEL_ACTIONS overrides it

std::string textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

POINT centre(RECT r) { return {(r.left + r.right) / 2, (r.top + r.bottom) / 2}; }

RECT screenRect(HWND hwnd, RECT client) {
    MapWindowPoints(hwnd, nullptr, reinterpret_cast<POINT*>(&client), 2);
    return client;
}

INPUT keyInput(WORD vk, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wVk = vk;
    in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
    in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
    return in;
}

INPUT unicodeInput(wchar_t unit, bool up) {
    INPUT in{};
    in.type = INPUT_KEYBOARD;
    in.ki.wScan = unit;
    in.ki.dwFlags = KEYEVENTF_UNICODE | (up ? KEYEVENTF_KEYUP : 0);
    return in;
}

// Absolute positions run from 0 to 65536 across the screen; aiming at a pixel's
// middle lands on that pixel whichever way the conversion rounds.
INPUT mouseInput(POINT at, DWORD flags) {
    INPUT in{};
    in.type = INPUT_MOUSE;
    in.mi.dx = static_cast<LONG>(((2LL * at.x + 1) << 16) / (2LL * GetSystemMetrics(SM_CXSCREEN)));
    in.mi.dy = static_cast<LONG>(((2LL * at.y + 1) << 16) / (2LL * GetSystemMetrics(SM_CYSCREEN)));
    in.mi.dwFlags = flags | MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
    return in;
}

void sendInput(std::vector<INPUT> inputs) {
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Each click lands a few pixels beside the last one, as a person's hand does, so two
// clicks in a row are never taken for a double click.
void click(POINT at) {
    static int clicks = 0;
    at.x += (clicks++ % 3 - 1) * 4;
    sendInput({mouseInput(at, 0), mouseInput(at, MOUSEEVENTF_LEFTDOWN), mouseInput(at, MOUSEEVENTF_LEFTUP)});
}

// A menu opened with a click on the bar runs its own message loop; the click on its
// item is made from a timer inside that loop, once the menu shows.
HMENU gMenuToClick = nullptr;

void CALLBACK clickOpenMenuItem(HWND, UINT, UINT_PTR timer, DWORD) {
    // The item has a place on the screen only once its menu shows.
    RECT item{};
    if (gMenuToClick == nullptr || GetMenuItemRect(nullptr, gMenuToClick, 0, &item) == FALSE || item.right <= item.left) return;
    KillTimer(nullptr, timer);
    gMenuToClick = nullptr;
    click(centre(item));
}

// An action that leaves the window in a loop of its own (a menu that stays open, say)
// is ended after a while and counts as a divergence, rather than hanging the run.
bool gStuck = false;

void CALLBACK endStuckAction(HWND, UINT, UINT_PTR, DWORD) {
    gStuck = true;
    EndMenu();
    sendInput({keyInput(VK_ESCAPE, false), keyInput(VK_ESCAPE, true)});
}

class Win32WindowModel : public ::testing::Test {
public:
    std::unique_ptr<Win32Form> form;
    model::State expected;
    bool quit = false;
    int quitCode = -1;

    void TearDown() override { close(); }

    void close() {
        form.reset();
        setMainFormCreator(nullptr);
        settle();
    }

    void open() {
        close();
        designateMainForm(nullptr);
        openMainWindow(form, GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        // Keys go to the foreground window, as they do for a person at the screen.
        SetForegroundWindow(form->window());
        settle();
        quit = false;
        expected = model::initial(GetSysColor(COLOR_WINDOW));
    }

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
                quit = true;
                quitCode = static_cast<int>(m.wParam);
            } else {
                dispatchMessage(form ? form->window() : nullptr, m);
            }
        }
    }

    void send(std::vector<INPUT> inputs) {
        sendInput(std::move(inputs));
        settle();
    }
    void tap(WORD vk) { send({keyInput(vk, false), keyInput(vk, true)}); }
    void press(POINT at) {
        click(at);
        settle();
    }

    HWND at(std::string_view name) const { return form->control(name); }
    HWND combo(int band) const { return at("Cr" + std::to_string(band + 1)); }
    COMBOBOXINFO parts(int band) const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(combo(band), &info);
        return info;
    }
    bool dropped(int band) const { return SendMessageW(combo(band), CB_GETDROPPEDSTATE, 0, 0) != FALSE; }

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

    void type(int band, const std::string& text) {
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

    model::State shown(bool readPixels) {
        model::State s;
        if (form->window() == nullptr) {
            s.result = "(the window gone)";
            return s;
        }
        for (int band = 0; band < 4; ++band) {
            const auto i = static_cast<std::size_t>(band);
            s.texts[i] = textOf(combo(band));
            s.selected[i] = static_cast<int>(SendMessageW(combo(band), CB_GETCURSEL, 0, 0));
            HWND swatch = at("pr" + std::to_string(band + 1));
            s.swatches[i] = pictureBoxFill(swatch);
            if (readPixels) {
                // Now and then, what the screen shows in the swatch's middle.
                UpdateWindow(form->window());
                RECT r;
                GetClientRect(swatch, &r);
                HDC dc = GetDC(swatch);
                s.swatches[i] = GetPixel(dc, r.right / 2, r.bottom / 2);
                ReleaseDC(swatch, dc);
            }
        }
        s.first = form->mainForm().digits().FirstDigit;
        s.second = form->mainForm().digits().SecondDigit;
        HWND result = at("Ls1");
        s.result = textOf(result);
        LOGFONTW font{};
        GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(result, WM_GETFONT, 0, 0)), sizeof(font), &font);
        const auto dpi = static_cast<float>(form->dpi());
        s.points = static_cast<float>(-font.lfHeight) * 72.0f / dpi;
        RECT place;
        GetWindowRect(result, &place);
        MapWindowPoints(nullptr, form->window(), reinterpret_cast<POINT*>(&place), 2);
        s.top = static_cast<float>(place.top) * 1440.0f / dpi;
        s.tolerance = textOf(at("Les2"));
        return s;
    }

    // Performs the action on the window and the model alike; false if it had to be
    // ended from outside.
    bool perform(const Action& a) {
        gStuck = false;
        const UINT_PTR guard = SetTimer(nullptr, 0, 10000, endStuckAction);
        act(a);
        KillTimer(nullptr, guard);
        return !gStuck;
    }

    void act(const Action& a) {
        const auto band = static_cast<std::size_t>(a.band);
        std::vector<model::Write> writes;
        switch (a.kind) {
            case Kind::KeyDown:
            case Kind::KeyUp: {
                focusField(a.band);
                // With no entry selected, either key picks the entry at the list's caret:
                // the first one after start or a reset, and after typing whichever the
                // list found for the text, which is the list's own business. At either
                // end the key picks the selected entry again.
                int from = expected.selected[band];
                std::optional<int> row;
                if (from == model::kToolkitRow) from = static_cast<int>(SendMessageW(combo(a.band), CB_GETCURSEL, 0, 0));
                if (from >= 0) {
                    row = model::arrowRow(a.band, from, a.kind == Kind::KeyDown).value_or(from);
                } else if (expected.selected[band] == model::kNoRow) {
                    row = 0;
                } else {
                    row = static_cast<int>(SendMessageW(parts(a.band).hwndList, LB_GETCARETINDEX, 0, 0));
                }
                tap(a.kind == Kind::KeyDown ? VK_DOWN : VK_UP);
                if (row) writes = model::pickRow(expected, a.band, *row);
                break;
            }
            case Kind::MousePick: {
                COMBOBOXINFO info = parts(a.band);
                press(centre(screenRect(combo(a.band), info.rcButton)));
                if (dropped(a.band)) {
                    RECT item{};
                    SendMessageW(info.hwndList, LB_GETITEMRECT, static_cast<WPARAM>(a.row), reinterpret_cast<LPARAM>(&item));
                    press(centre(screenRect(info.hwndList, item)));
                }
                writes = model::pickRow(expected, a.band, a.row);
                break;
            }
            case Kind::KeyPick: {
                focusField(a.band);
                if (a.row % 2 == 0) {
                    send({keyInput(VK_MENU, false), keyInput(VK_DOWN, false), keyInput(VK_DOWN, true), keyInput(VK_MENU, true)});
                } else {
                    tap(VK_F4);
                }
                // Up to the top of the open list, down to the entry, and Enter.
                std::vector<INPUT> keys;
                const auto hit = [&keys](WORD vk) {
                    keys.push_back(keyInput(vk, false));
                    keys.push_back(keyInput(vk, true));
                };
                for (std::size_t i = 0; i < model::entries(a.band).size(); ++i) hit(VK_UP);
                for (int i = 0; i < a.row; ++i) hit(VK_DOWN);
                hit(VK_RETURN);
                send(keys);
                writes = model::pickRow(expected, a.band, a.row);
                break;
            }
            case Kind::Type:
                type(a.band, a.text);
                expected.texts[band] = a.text;
                expected.selected[band] = model::kToolkitRow;
                break;
            case Kind::Enter:
                focusField(a.band);
                tap(VK_RETURN);
                break;
            case Kind::Leave:
                focusField(a.band);
                tap(VK_TAB);
                break;
            case Kind::Calculate:
                pressControl("CommDH");
                writes = model::calculate(expected);
                break;
            case Kind::ResetButton:
                pressControl("DYeni");
                writes = model::reset();
                break;
            case Kind::ResetMenu:
                menu(1, a.row == 1);
                writes = model::reset();
                break;
            case Kind::About:
                menu(2, a.row == 1);
                writes = model::about();
                break;
            case Kind::Exit:
                menu(0, a.row == 1);
                // The window goes and the program's loop ends; the next action finds a
                // new window, as after a new start.
                if (form->window() == nullptr && quit && quitCode == 0) {
                    open();
                } else {
                    expected.result = "(the window gone)";
                }
                break;
            case Kind::ClickElsewhere:
                pressControl(model::kClickTargets[static_cast<std::size_t>(a.row)]);
                break;
        }
        model::applyAll(expected, writes);
    }

    // Replays the actions on a new window; the index of the first action after which
    // window and model differ, or -1.
    int firstDivergence(const std::vector<Action>& actions) {
        open();
        for (std::size_t i = 0; i < actions.size(); ++i) {
            if (!perform(actions[i]) || !model::matches(shown(i % 64 == 63), expected)) return static_cast<int>(i);
        }
        return -1;
    }
};

TEST_F(Win32WindowModel, RandomUserInputMatchesTheModel) {
    const std::uint32_t seed = model::seedFromEnvironment(20261207);
    const int count = model::actionsFromEnvironment(gActions);
    model::ActionSource source(seed);
    std::vector<Action> actions;
    open();
    ASSERT_EQ(GetForegroundWindow(), form->window()) << "the window must be in front to receive the keys";
    for (int i = 0; i < count; ++i) {
        actions.push_back(source.next());
        // A run that hangs says where, with VASKELO_MODEL_TRACE set.
        if (std::getenv("VASKELO_MODEL_TRACE") != nullptr) std::fprintf(stderr, "%d %s\n", i, model::actionText(actions.back()).c_str());
        const bool finished = perform(actions.back());
        const model::State now = shown(i % 64 == 63);
        if (finished && model::matches(now, expected)) continue;

        std::ostringstream report;
        report << "seed " << seed << " diverged after action " << i << " (" << model::actionText(actions.back())
               << (finished ? "" : ", which did not finish and was ended with Escape") << "):\n  window "
               << model::describe(now) << "\n  model  " << model::describe(expected);
        // Replays are bounded by the actions they make, about five minutes' worth.
        const std::vector<Action> shortest =
            model::shrink(actions, [&](const std::vector<Action>& replay) { return firstDivergence(replay); }, 30'000);
        report << "\nshortest sequence found (" << shortest.size() << " actions):";
        for (const Action& a : shortest) report << "\n  " << model::actionText(a);
        FAIL() << report.str();
    }
    std::printf("seed %u: %d actions matched the model\n", seed, count);
}

}  // namespace
}  // namespace vaskelo::win32

int main(int argc, char* argv[]) {
    vaskelo::win32::enableDpiAwareness();
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--actions=", 0) == 0) vaskelo::win32::gActions = std::atoi(arg.c_str() + 10);
    }
    return RUN_ALL_TESTS();
}
