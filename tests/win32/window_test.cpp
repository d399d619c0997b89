// The Win32 window built in this process and driven with real window messages: keys
// to the band lists' fields, the drop-down lists, button clicks and menu commands, all
// through the program's own message dispatch.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <functional>
#include <iterator>
#include <memory>
#include <new>
#include <string>
#include <tuple>
#include <vector>

#include "core/band_colours.h"
#include "core/main_form.h"
#include "core/runtime_error.h"
#include "platform/win32/application.h"
#include "platform/win32/text.h"
#include "platform/win32/win32_form.h"
#include "ui/event_wiring.h"
#include "ui/resistor_picture.h"
#include "ui/scaled_box.h"
#include "tests/common/scaled_window_checks.h"
#include "tests/common/scheme_checks.h"
#include "ui/window_description.h"

namespace vaskelo::win32 {
namespace {

std::string textOf(HWND hwnd) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(hwnd)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(GetWindowTextW(hwnd, text.data(), static_cast<int>(text.size()))));
    return narrow(text);
}

LOGFONTW fontOf(HWND hwnd) {
    LOGFONTW lf{};
    GetObjectW(reinterpret_cast<HGDIOBJ>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof(lf), &lf);
    return lf;
}

// A control's rectangle in its parent's client area, as left, top, right, bottom.
std::vector<LONG> placeOf(HWND hwnd) {
    RECT r;
    GetWindowRect(hwnd, &r);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&r), 2);
    return {r.left, r.top, r.right, r.bottom};
}

// What a message box said: read while it is up, then closed with its button. The
// timer fires inside the message box's own loop.
struct Report {
    std::string title;
    std::string text;
};
Report* gReport = nullptr;

BOOL CALLBACK readStatic(HWND child, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(child, cls, 16);
    if (lstrcmpiW(cls, L"Static") == 0) gReport->text += textOf(child);
    return TRUE;
}

BOOL CALLBACK closeMessageBox(HWND hwnd, LPARAM) {
    wchar_t cls[16] = {};
    GetClassNameW(hwnd, cls, 16);
    if (lstrcmpW(cls, L"#32770") != 0 || IsWindowVisible(hwnd) == FALSE) return TRUE;
    gReport->title = textOf(hwnd);
    EnumChildWindows(hwnd, readStatic, 0);
    PostMessageW(hwnd, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
    return FALSE;
}

void CALLBACK watchForMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    if (gReport != nullptr && gReport->title.empty()) EnumThreadWindows(GetCurrentThreadId(), closeMessageBox, 0);
}

// The name, or the description, Active Accessibility gives a screen reader for a control.
std::string spoken(HWND hwnd, bool description = false) {
    IAccessible* accessible = nullptr;
    if (FAILED(AccessibleObjectFromWindow(hwnd, static_cast<DWORD>(OBJID_CLIENT), __uuidof(IAccessible),
                                          reinterpret_cast<void**>(&accessible)))) {
        return "(no accessible object)";
    }
    VARIANT self;
    VariantInit(&self);
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    const HRESULT result = description ? accessible->get_accDescription(self, &name) : accessible->get_accName(self, &name);
    std::string spoken = SUCCEEDED(result) && name != nullptr ? narrow(std::wstring(name, SysStringLen(name))) : "";
    SysFreeString(name);
    accessible->Release();
    return spoken;
}

// The windows whose name changed, as Windows announces them to screen readers.
std::vector<HWND>* gRenamed = nullptr;
void CALLBACK noteRename(HWINEVENTHOOK, DWORD, HWND hwnd, LONG, LONG, DWORD, DWORD) {
    if (gRenamed != nullptr) gRenamed->push_back(hwnd);
}

// The client area as device pixels, 0x00BBGGRR, read once from the window's surface.
struct Grab {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
    std::uint32_t operator()(int x, int y) const {
        if (x < 0 || y < 0 || x >= width || y >= height) return 0xFF000000u;  // matches no colour
        const std::uint32_t c = pixels[static_cast<std::size_t>(y * width + x)];
        return ((c >> 16) & 0xFF) | (c & 0xFF00) | ((c & 0xFF) << 16);
    }
};

Grab grabClient(HWND window) {
    RECT client;
    GetClientRect(window, &client);
    Grab grab{client.right, client.bottom, {}};
    BITMAPINFO info{};
    info.bmiHeader = {sizeof(BITMAPINFOHEADER), grab.width, -grab.height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    void* bits = nullptr;
    HDC screen = GetDC(window);
    HDC memory = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    HGDIOBJ old = SelectObject(memory, bitmap);
    BitBlt(memory, 0, 0, grab.width, grab.height, screen, 0, 0, SRCCOPY);
    GdiFlush();
    const auto* first = static_cast<const std::uint32_t*>(bits);
    grab.pixels.assign(first, first + static_cast<std::size_t>(grab.width) * static_cast<std::size_t>(grab.height));
    SelectObject(memory, old);
    DeleteObject(bitmap);
    DeleteDC(memory);
    ReleaseDC(window, screen);
    return grab;
}

// Ends the program's message loop should the window fail to.
void CALLBACK giveUp(HWND, UINT, UINT_PTR, DWORD) { PostQuitMessage(99); }

// The helpers are public so table rows can name them.
class Win32Window : public ::testing::Test {
public:
    std::unique_ptr<Win32Form> form;

    void SetUp() override { open(); }
    void TearDown() override { close(); }

    void open() {
        designateMainForm(nullptr);
        openMainWindow(form, GetModuleHandleW(nullptr), SW_SHOWNORMAL);
        pump();
    }

    void close() {
        form.reset();
        setMainFormCreator(nullptr);
        pump();
    }

    // Runs what is queued for this thread, as the program's message loop does.
    void pump() {
        MSG m;
        while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE) != FALSE) {
            if (m.message != WM_QUIT) dispatchMessage(form ? form->window() : nullptr, m);
        }
    }

    HWND at(std::string_view name) const { return form->control(name); }
    HWND combo(int band) const { return at("Cr" + std::to_string(band)); }
    COMBOBOXINFO parts(int band) const {
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        GetComboBoxInfo(combo(band), &info);
        return info;
    }
    HWND field(int band) const { return parts(band).hwndItem; }
    int selected(int band) const { return static_cast<int>(SendMessageW(combo(band), CB_GETCURSEL, 0, 0)); }
    const DigitTexts& digits() { return form->mainForm().digits(); }

    // The swatch's colour as drawn, in the middle of its interior.
    COLORREF shown(int band) {
        UpdateWindow(form->window());
        HWND box = at("pr" + std::to_string(band));
        RECT r;
        GetClientRect(box, &r);
        HDC dc = GetDC(box);
        const COLORREF c = GetPixel(dc, r.right / 2, r.bottom / 2);
        ReleaseDC(box, dc);
        return c;
    }

    // Everything the commands can change, as the window shows it.
    auto snapshot() {
        std::vector<std::string> texts;
        std::vector<int> picked;
        std::vector<COLORREF> swatches;
        for (int band = 1; band <= 4; ++band) {
            texts.push_back(textOf(combo(band)));
            picked.push_back(selected(band));
            swatches.push_back(shown(band));
        }
        return std::tuple(texts, picked, swatches, textOf(at("Ls1")), fontOf(at("Ls1")).lfHeight, placeOf(at("Ls1")),
                          textOf(at("Les2")), digits().FirstDigit, digits().SecondDigit);
    }

    // A key as the keyboard sends it, through the message loop.
    void key(HWND target, UINT vk) {
        const auto scan = static_cast<LPARAM>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC)) << 16;
        constexpr auto released = static_cast<LPARAM>(static_cast<ULONG_PTR>(0xC0000000u));  // was down, is up
        PostMessageW(target, WM_KEYDOWN, vk, scan | 1);
        PostMessageW(target, WM_KEYUP, vk, scan | 1 | released);
        pump();
    }

    void focus(int band) {
        SetFocus(field(band));
        pump();
    }

    std::ptrdiff_t row(int band, std::string_view entry) const {
        const auto entries = bandEntries(kAllBandLists[static_cast<std::size_t>(band - 1)]);
        return std::find(entries.begin(), entries.end(), entry) - entries.begin();
    }

    // A pick with the arrow keys, the list closed, from wherever the list stands.
    void pickWithKeys(int band, std::string_view entry) {
        focus(band);
        for (int tries = 0; tries < 12 && textOf(combo(band)) != entry; ++tries) {
            key(field(band), selected(band) > row(band, entry) ? VK_UP : VK_DOWN);
        }
        ASSERT_EQ(textOf(combo(band)), entry);
    }

    // A pick from the open list: moving to the entry, then Enter or a click on it.
    void pickFromList(int band, std::string_view entry, bool byMouse) {
        focus(band);
        SendMessageW(combo(band), CB_SHOWDROPDOWN, TRUE, 0);
        pump();
        const auto index = row(band, entry);
        if (byMouse) {
            RECT item;
            SendMessageW(parts(band).hwndList, LB_GETITEMRECT, static_cast<WPARAM>(index), reinterpret_cast<LPARAM>(&item));
            const LPARAM point = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
            PostMessageW(parts(band).hwndList, WM_LBUTTONDOWN, MK_LBUTTON, point);
            PostMessageW(parts(band).hwndList, WM_LBUTTONUP, 0, point);
            pump();
        } else {
            while (selected(band) != index) key(field(band), selected(band) > index ? VK_UP : VK_DOWN);
            key(field(band), VK_RETURN);
        }
        ASSERT_EQ(SendMessageW(combo(band), CB_GETDROPPEDSTATE, 0, 0), FALSE);
    }

    // Typing replaces the field's text, one character message per UTF-16 unit.
    void typeInto(int band, std::string_view text) {
        focus(band);
        SendMessageW(field(band), EM_SETSEL, 0, -1);
        for (const wchar_t unit : widen(text)) PostMessageW(field(band), WM_CHAR, unit, 1);
        pump();
    }

    void click(std::string_view button) {
        SendMessageW(at(button), BM_CLICK, 0, 0);
        pump();
    }

    void menu(std::string_view item) {
        PostMessageW(form->window(), WM_COMMAND, MAKEWPARAM(form->menuCommand(item), 0), 0);
        pump();
    }

    // Whatever message box the action shows, read and closed; empty if none came up.
    Report reportDuring(const std::function<void()>& action) {
        Report report;
        gReport = &report;
        const UINT_PTR timer = SetTimer(nullptr, 0, 50, watchForMessageBox);
        action();
        KillTimer(nullptr, timer);
        gReport = nullptr;
        return report;
    }

    // The program's own message loop, ended by the window or, failing that, a timer.
    int runLoop() {
        const UINT_PTR guard = SetTimer(nullptr, 0, 5000, giveUp);
        const int code = runMessageLoop(form->window());
        KillTimer(nullptr, guard);
        return code;
    }
};

TEST_F(Win32Window, StartsInItsInitialState) {
    EXPECT_EQ(designatedMainForm(), &form->mainForm());
    EXPECT_EQ(textOf(form->window()), "Vaskelo");
    RECT client;
    GetClientRect(form->window(), &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(375L, 285L));
    for (int band = 1; band <= 4; ++band) {
        EXPECT_EQ(textOf(combo(band)), "?");
        EXPECT_EQ(selected(band), -1);
        EXPECT_EQ(shown(band), band == 1 ? RGB(255, 255, 255) : GetSysColor(COLOR_WINDOW));
    }
    EXPECT_EQ(textOf(at("Ls1")), "-");
    const LOGFONTW result = fontOf(at("Ls1"));
    EXPECT_EQ(result.lfHeight, -64);  // 48 points at 96 dpi
    EXPECT_EQ(result.lfWeight, FW_BOLD);
    EXPECT_EQ(result.lfCharSet, TURKISH_CHARSET);
    EXPECT_EQ(narrow(result.lfFaceName), "Arial");
    EXPECT_EQ(textOf(at("CommDH")), "D e ğ e r i   H e s a p l a");
    EXPECT_EQ(GetFocus(), at("pd1"));
}

TEST_F(Win32Window, ControlsStandWhereTheDescriptionPutsThem) {
    struct Row {
        const char* what;
        const char* name;
        std::vector<LONG> place;  // a band list's bottom is left out: its font decides it
    };
    const Row rows[] = {
        {"picture, its border included", "pd1", {8, 8, 365, 105}},
        {"band 1 swatch, inside the picture's border", "pr1", {49, 9, 91, 87}},
        {"band 4 swatch", "pr4", {241, 9, 283, 87}},
        {"band 1 list", "Cr1", {8, 136, 89}},
        {"band 4 list, one pixel over band 3", "Cr4", {248, 136, 329}},
        {"calculate", "CommDH", {8, 160, 329, 185}},
        {"reset, at 333 1/3 pixels", "DYeni", {333, 136, 366, 185}},
    };
    for (const Row& row : rows) {
        std::vector<LONG> place = placeOf(at(row.name));
        place.resize(row.place.size());
        EXPECT_EQ(place, row.place) << row.what;
    }
}

TEST_F(Win32Window, MenusCarryTheirItemNumbersWithoutAccessKeysOrShortcuts) {
    struct Row {
        const char* title;
        const char* item;
        UINT number;
    };
    const Row rows[] = {{"Dosya", "Çıkış", 11}, {"Düzenleme", "Yeni", 31}, {"Yardım", "Hakkında", 21}};
    HMENU bar = GetMenu(form->window());
    ASSERT_EQ(GetMenuItemCount(bar), 3);
    for (UINT i = 0; i < 3; ++i) {
        wchar_t text[64] = {};
        GetMenuStringW(bar, i, text, 64, MF_BYPOSITION);
        EXPECT_EQ(narrow(text), rows[i].title);
        HMENU popup = GetSubMenu(bar, static_cast<int>(i));
        ASSERT_EQ(GetMenuItemCount(popup), 1);
        GetMenuStringW(popup, 0, text, 64, MF_BYPOSITION);
        EXPECT_EQ(narrow(text), rows[i].item);  // no '&', and no tab before a shortcut
        EXPECT_EQ(GetMenuItemID(popup, 0), kMenuCommandBase + rows[i].number);
    }
}

TEST_F(Win32Window, ArrowKeysOnTheClosedListPickFromTheFirstEntry) {
    focus(1);
    key(field(1), VK_DOWN);
    EXPECT_EQ(textOf(combo(1)), "Kahverengi");
    EXPECT_EQ(shown(1), RGB(192, 64, 0));
    EXPECT_EQ(digits().FirstDigit, "1");
    pickWithKeys(1, "Mor");
    EXPECT_EQ(shown(1), RGB(128, 0, 128));
    EXPECT_EQ(digits().FirstDigit, "7");
}

TEST_F(Win32Window, OnlyAConfirmedChoiceFromTheOpenListIsAPick) {
    for (const bool byMouse : {false, true}) {
        SCOPED_TRACE(byMouse ? "clicked" : "Enter");
        pickFromList(2, "Siyah", byMouse);
        EXPECT_EQ(shown(2), RGB(0, 0, 0));
        EXPECT_EQ(digits().SecondDigit, "0");
        pickFromList(2, "Mavi", byMouse);
        EXPECT_EQ(shown(2), RGB(0, 0, 255));
        EXPECT_EQ(digits().SecondDigit, "6");
    }
    // Moving through the open list only highlights, and Escape takes nothing.
    SendMessageW(combo(2), CB_SHOWDROPDOWN, TRUE, 0);
    for (const UINT vk : {VK_DOWN, VK_DOWN, VK_ESCAPE}) {
        key(field(2), vk);
        EXPECT_EQ(shown(2), RGB(0, 0, 255));
        EXPECT_EQ(digits().SecondDigit, "6");
    }
}

TEST_F(Win32Window, TypingEnterAndLeavingRunNothing) {
    for (const char* typed : {"Sarı", "Ka", "Kirmizi", "مرحبا 🙂"}) {
        SCOPED_TRACE(typed);
        pickWithKeys(1, "Mor");
        auto expected = snapshot();
        std::get<0>(expected)[0] = typed;
        typeInto(1, typed);
        key(field(1), VK_RETURN);
        key(field(1), VK_TAB);  // leaves the field
        EXPECT_NE(GetFocus(), field(1));
        std::get<1>(expected)[0] = selected(1);  // whatever the list highlights for the text
        EXPECT_EQ(snapshot(), expected);
    }
}

TEST_F(Win32Window, CalculationShowsValueAndToleranceInLabelsFittingTheirText) {
    pickWithKeys(1, "Sarı");
    pickWithKeys(2, "Mor");
    pickFromList(3, "Kırmızı", true);
    pickWithKeys(4, "Altın");
    click("CommDH");
    EXPECT_EQ(textOf(at("Ls1")), "4,7K");
    EXPECT_EQ(textOf(at("Les2")), "%5");
    HDC dc = GetDC(at("Ls1"));
    SelectObject(dc, reinterpret_cast<HGDIOBJ>(SendMessageW(at("Ls1"), WM_GETFONT, 0, 0)));
    SIZE size;
    GetTextExtentPoint32W(dc, L"4,7K", 4, &size);
    ReleaseDC(at("Ls1"), dc);
    EXPECT_EQ(placeOf(at("Ls1")), (std::vector<LONG>{8, 200, 8 + size.cx, 200 + size.cy}));
    // Typed text over a pick makes the result a prompt.
    typeInto(1, "Mor");
    click("CommDH");
    EXPECT_EQ(textOf(at("Ls1")), "Renk Girin");
    EXPECT_EQ(shown(1), RGB(255, 255, 0));
}

TEST_F(Win32Window, AboutThenCalculateRestoresTheResultsSizeAndPlace) {
    menu("Hakkında");
    EXPECT_EQ(textOf(at("Ls1")), "     Hazırlayan: Tolvend, Versiyon:1.1");
    EXPECT_EQ(fontOf(at("Ls1")).lfHeight, -16);
    EXPECT_EQ(placeOf(at("Ls1"))[1], 220);
    click("CommDH");
    EXPECT_EQ(textOf(at("Ls1")), "Renk Girin");
    EXPECT_EQ(fontOf(at("Ls1")).lfHeight, -64);
    EXPECT_EQ(placeOf(at("Ls1"))[1], 200);
}

TEST_F(Win32Window, ButtonAndMenuResetLeaveIdenticalWindows) {
    const auto session = [this](bool byMenu) {
        pickWithKeys(1, "Turuncu");
        pickWithKeys(2, "Beyaz");
        pickWithKeys(4, "Gümüş");
        click("CommDH");
        menu("Hakkında");
        byMenu ? menu("Yeni") : click("DYeni");
        return snapshot();
    };
    const auto byButton = session(false);
    close();
    open();
    const auto byMenu = session(true);
    EXPECT_EQ(byMenu, byButton);
    EXPECT_EQ(std::get<0>(byMenu), std::vector<std::string>(4, "?"));
    EXPECT_EQ(std::get<1>(byMenu), std::vector<int>(4, -1));
    EXPECT_EQ(std::get<2>(byMenu), std::vector<COLORREF>(4, RGB(255, 255, 255)));
    EXPECT_EQ(std::get<3>(byMenu), "-");
    EXPECT_EQ(std::get<7>(byMenu), "3");
    // After a reset the arrow keys start again from the first entry.
    focus(2);
    key(field(2), VK_DOWN);
    EXPECT_EQ(textOf(combo(2)), "Siyah");
}

TEST_F(Win32Window, ClicksElsewhereAndDialogKeysRunNothing) {
    pickWithKeys(1, "Sarı");
    const auto before = snapshot();
    for (const char* name : {"pd1", "pr1", "pr3", "Ls1", "Les2", "Lr1", "LTolerans"}) {
        PostMessageW(at(name), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageW(at(name), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    }
    // Enter and Escape outside a field send OK and Cancel; no menu item has the bare base id.
    for (const WPARAM id : {WPARAM{IDOK}, WPARAM{IDCANCEL}, WPARAM{kMenuCommandBase}}) {
        PostMessageW(form->window(), WM_COMMAND, id, 0);
    }
    pump();
    EXPECT_EQ(snapshot(), before);
}

TEST_F(Win32Window, FailedOperationIsReportedAndTheWindowGoesOn) {
    struct Row {
        const char* destroyed;  // null: the first operation throws something else instead
        std::function<void(Win32Window&)> action;
        Operation failing;
        const char* procedure;  // named when something else is thrown
    };
    const Row rows[] = {
        {"Cr3", [](Win32Window& t) { t.click("CommDH"); }, Operation::ReadText, nullptr},
        {"Ls1", [](Win32Window& t) { t.menu("Hakkında"); }, Operation::SetTop, nullptr},
        {"Les2", [](Win32Window& t) { t.menu("Yeni"); }, Operation::SetCaption, nullptr},
        {nullptr, [](Win32Window& t) { t.click("CommDH"); }, Operation::ReadText, "CommDH_Click"},
        {"pr2", [](Win32Window& t) { t.click("DYeni"); }, Operation::SetBackColour, nullptr},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.destroyed != nullptr ? row.destroyed : row.procedure);
        close();
        open();
        pickWithKeys(1, "Sarı");
        pickWithKeys(2, "Mor");
        if (row.destroyed != nullptr) {
            DestroyWindow(at(row.destroyed));  // the next operation on it fails
        } else {
            form->setOperationGate([](std::string_view, Operation) -> Status { throw std::bad_alloc(); });
        }
        const Report report = reportDuring([&] { row.action(*this); });
        form->setOperationGate(nullptr);
        EXPECT_EQ(report.title, kRuntimeErrorTitle);
        EXPECT_EQ(report.text, row.destroyed != nullptr ? runtimeErrorMessage(row.destroyed, row.failing, kControlUnavailable.code)
                                                        : unexpectedErrorMessage(row.procedure, true));
    }
    // The reset stopped at pr2, after band 1 and band 2's text; the window goes on.
    EXPECT_EQ(textOf(combo(1)), "?");
    EXPECT_EQ(shown(1), RGB(255, 255, 255));
    EXPECT_EQ(textOf(combo(2)), "?");
    EXPECT_EQ(textOf(at("Ls1")), "-");
    pickWithKeys(1, "Mor");
    click("CommDH");
    EXPECT_EQ(textOf(at("Ls1")), "Renk Girin");
    EXPECT_EQ(shown(1), RGB(128, 0, 128));
}

TEST_F(Win32Window, ExitAndClosingEndTheProgramWithoutAQuestion) {
    for (const bool byMenu : {true, false}) {
        SCOPED_TRACE(byMenu ? "Çıkış" : "close");
        close();
        open();
        HWND window = form->window();
        HWND reset = at("DYeni");
        const Report report = reportDuring([&] {
            if (byMenu) {
                PostMessageW(window, WM_COMMAND, MAKEWPARAM(form->menuCommand("Çıkış"), 0), 0);
            } else {
                PostMessageW(window, WM_CLOSE, 0, 0);
            }
            EXPECT_EQ(runLoop(), 0);
        });
        EXPECT_EQ(IsWindow(window), FALSE);
        EXPECT_EQ(IsWindow(reset), FALSE);
        EXPECT_EQ(report.title, "");
    }
}

// What the window shows: the picture pixel for pixel, with the swatches over it.
TEST_F(Win32Window, ScreenShowsThePictureAndSwatches) {
    pickWithKeys(1, "Kırmızı");
    pickWithKeys(4, "Gümüş");
    UpdateWindow(form->window());
    HDC dc = GetDC(form->window());
    const auto at = [dc](int x, int y) { return GetPixel(dc, 8 + x, 8 + y); };  // pd1's corner
    const auto picture = drawResistorPicture();
    const COLORREF fill[4] = {RGB(255, 0, 0), GetSysColor(COLOR_WINDOW), GetSysColor(COLOR_WINDOW), RGB(224, 224, 224)};
    int mismatches = 0;
    for (int y = 0; y < 97; ++y) {
        for (int x = 0; x < 357; ++x) {
            const int px = x - 1;
            const int py = y - 1;
            const int band = (px >= 48 && px < 282 && (px - 48) % 64 < 42 && py >= 8 && py <= 85) ? (px - 48) / 64 : -1;
            const bool swatchBorder = (px - 48) % 64 == 0 || (px - 48) % 64 == 41 || py == 8 || py == 85;
            COLORREF expected = 0;  // black: the picture box's border, and each swatch's
            if (x > 0 && y > 0 && x < 356 && y < 96) {
                if (band < 0) {
                    expected = picture[static_cast<std::size_t>(py * kPictureWidth + px)];  // 0x00BBGGRR, a COLORREF
                } else if (!swatchBorder) {
                    expected = fill[band];
                }
            }
            if (at(x, y) != expected && ++mismatches <= 5) ADD_FAILURE() << "pixel " << x << "," << y << ": " << std::hex << at(x, y);
        }
    }
    EXPECT_EQ(mismatches, 0);
    // Independently of the drawing code: leads, body and ground where the picture has them.
    EXPECT_EQ(at(1 + 0, 1 + 43), RGB(0, 0, 0));
    EXPECT_EQ(at(1 + 354, 1 + 44), RGB(0, 0, 0));
    EXPECT_EQ(at(1 + 164, 1 + 46), RGB(196, 237, 177));
    EXPECT_EQ(at(1 + 5, 1 + 5), RGB(255, 255, 255));
    ReleaseDC(form->window(), dc);
}

TEST_F(Win32Window, MovingToAScreenOfAnotherDpiScalesEverything) {
    RECT suggested;
    GetWindowRect(form->window(), &suggested);
    SendMessageW(form->window(), WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    pump();
    RECT client;
    GetClientRect(form->window(), &client);
    EXPECT_EQ(std::pair(client.right, client.bottom), std::pair(563L, 428L));  // 562.5 by 427.5 pixels
    EXPECT_EQ(placeOf(combo(1))[0], 12);
    EXPECT_EQ(placeOf(combo(1))[1], 204);
    EXPECT_EQ(fontOf(at("Ls1")).lfHeight, -96);
    EXPECT_EQ(fontOf(at("Lr1")).lfHeight, -16);  // the window's 8 points
    std::array<std::uint32_t, 4> fills{};
    for (int band = 1; band <= 4; ++band) fills[static_cast<std::size_t>(band - 1)] = shown(band);
    const Grab grab = grabClient(form->window());
    for (const std::string& fault : scaling::pictureBoxFaults([&](int x, int y) { return grab(12 + x, 12 + y); }, 1.5, 8, 8, fills)) {
        ADD_FAILURE() << fault;
    }
    menu("Hakkında");
    EXPECT_EQ(placeOf(at("Ls1"))[1], 330);
}

// What Active Accessibility gives a screen reader for each control as the user goes,
// and which controls announced a new name.
TEST_F(Win32Window, ScreenReadersHearNamesAndValues) {
    struct Row {
        const char* step;
        const char* control;
        const char* name;
    };
    const Row rows[] = {
        {"start", "pd1", "Direnç resmi"},
        {"start", "pr1", "1. bandın rengi: seçilmedi"},
        {"start", "pr2", "2. bandın rengi: seçilmedi"},
        {"start", "Cr1", "1.Renk"},
        {"start", "Cr4", "4.Renk"},
        {"start", "CommDH", "Değeri Hesapla"},
        {"start", "DYeni", "Yeni"},
        {"start", "LTolerans", "Tolerans:"},
        {"start", "Ls1", "-"},
        {"calculated", "pr1", "1. bandın rengi: Sarı"},
        {"calculated", "pr4", "4. bandın rengi: Altın"},
        {"calculated", "Cr1", "1.Renk"},
        {"calculated", "Ls1", "4,7K"},
        {"calculated", "Les2", "%5"},
        {"reset", "pr1", "1. bandın rengi: seçilmedi"},
        {"reset", "Ls1", "-"},
    };
    std::vector<HWND> renamed;
    gRenamed = &renamed;
    HWINEVENTHOOK hook = SetWinEventHook(EVENT_OBJECT_NAMECHANGE, EVENT_OBJECT_NAMECHANGE, nullptr, noteRename,
                                         GetCurrentProcessId(), 0, WINEVENT_OUTOFCONTEXT);
    const auto announced = [&](const char* name) { return std::count(renamed.begin(), renamed.end(), at(name)) > 0; };
    std::string step = "start";
    for (const Row& row : rows) {
        if (step != row.step) {
            step = row.step;
            if (step == "calculated") {
                pickWithKeys(1, "Sarı");
                pickWithKeys(2, "Mor");
                pickFromList(3, "Kırmızı", true);
                pickWithKeys(4, "Altın");
                EXPECT_TRUE(announced("pr1") && announced("pr4"));
                click("CommDH");
                EXPECT_TRUE(announced("Ls1") && announced("Les2"));
            } else if (step == "reset") {
                click("DYeni");
            }
        }
        EXPECT_EQ(spoken(at(row.control)), row.name) << row.step << ", " << row.control;
    }
    UnhookWinEvent(hook);
    gRenamed = nullptr;
    // What the result labels are goes with them, not in place of their value.
    EXPECT_EQ(spoken(at("Ls1"), true), "Sonuç");
    EXPECT_EQ(spoken(at("Les2"), true), "Tolerans");
}

// At the screen's DPI (VASKELO_EXPECT_DPI names it when a scale run started this
// process): the picture box as drawn equals the 96-dpi one enlarged by nearest
// neighbour, the client area is the scaled one, and no label runs into a control.
TEST_F(Win32Window, WindowHoldsAtThisDisplayScale) {
    wchar_t expected[16] = {};
    if (GetEnvironmentVariableW(L"VASKELO_EXPECT_DPI", expected, 16) > 0) {
        EXPECT_EQ(form->dpi(), static_cast<UINT>(_wtoi(expected)));
    }
    const double scale = form->dpi() / 96.0;
    // The whole window on the screen, so that its surface holds every pixel.
    SetWindowPos(form->window(), nullptr, 0, 0, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
    const char* picks[4] = {"Beyaz", "Yeşil", "Sarı", "Altın"};
    for (int band = 1; band <= 4; ++band) pickWithKeys(band, picks[band - 1]);
    click("CommDH");
    pump();
    UpdateWindow(form->window());
    const Grab grab = grabClient(form->window());
    EXPECT_EQ(std::pair(grab.width, grab.height), std::pair(scaledEdge(375, scale), scaledEdge(285, scale)));

    std::array<std::uint32_t, 4> fills{};
    for (int band = 1; band <= 4; ++band) fills[static_cast<std::size_t>(band - 1)] = findBandColour(picks[band - 1])->swatch;
    const int corner = scaledEdge(8, scale);  // pd1 at 8, 8
    const auto faults = scaling::pictureBoxFaults([&](int x, int y) { return grab(corner + x, corner + y); }, scale, 8, 8, fills);
    for (const std::string& fault : faults) ADD_FAILURE() << fault;

    std::vector<scaling::NamedRect> rects;
    for (const ControlDescription& c : mainWindowDescription().controls) {
        if (!c.container.empty()) continue;
        const std::vector<LONG> r = placeOf(at(c.name));
        rects.push_back({std::string(c.name), r[0], r[1], r[2], r[3]});
    }
    for (const std::string& fault : scaling::overlappingControls(rects)) ADD_FAILURE() << fault;
    // "Tolerans:" as drawn ends before the tolerance text begins.
    const auto ink = [&](std::string_view name) {
        const std::vector<LONG> r = placeOf(at(name));
        return scaling::inkColumns(grab, {std::string(name), r[0], r[1], r[2], r[3]});
    };
    const auto [toleransFirst, toleransLast] = ink("LTolerans");
    const auto [valueFirst, valueLast] = ink("Les2");
    EXPECT_TRUE(toleransLast > toleransFirst && valueLast >= valueFirst);
    EXPECT_LT(toleransLast, valueFirst);
}

// Under light, dark and high-contrast schemes, and after a switch while the window is
// shown: every text in a list or label stands out from its background, band 4's list
// and swatch 1 stay white, and the rest take the scheme's window background.
TEST_F(Win32Window, ReadableInEveryScheme) {
    const std::array<int, 6> elements{COLOR_WINDOW, COLOR_WINDOWTEXT, COLOR_BTNFACE, COLOR_BTNTEXT, COLOR_HIGHLIGHT, COLOR_HIGHLIGHTTEXT};
    std::array<COLORREF, 6> original{};
    for (std::size_t i = 0; i < elements.size(); ++i) original[i] = GetSysColor(elements[i]);
    const auto setScheme = [&](const std::array<COLORREF, 6>& colours) {
        SetSysColors(static_cast<int>(elements.size()), elements.data(), colours.data());
        pump();
    };
    // The machine's own colours come back whatever happens in the test.
    struct Restore {
        std::function<void()> undo;
        ~Restore() { undo(); }
    } const restore{[&] { setScheme(original); }};
    const auto colours = [](const schemes::Scheme& s) {
        return std::array<COLORREF, 6>{s.window, s.windowText, s.buttonFace, s.buttonText, s.highlight, s.highlightText};
    };
    for (const schemes::Row& row : schemes::kRows) {
        SCOPED_TRACE(row.name);
        close();
        setScheme(colours(*row.opened));
        open();
        if (row.switchedTo != nullptr) {
            pickWithKeys(3, "Mor");
            SetFocus(form->control("pd1"));  // no caret or selection in a field
            setScheme(colours(*row.switchedTo));
        }
        UpdateWindow(form->window());
        const Grab grab = grabClient(form->window());
        auto areas = schemes::expectedAreas(row);
        for (auto& [name, area] : areas) {
            HWND hwnd = form->control(name);
            int inset = 0;
            if (name.starts_with("Cr")) {
                COMBOBOXINFO list{};
                list.cbSize = sizeof(list);
                GetComboBoxInfo(hwnd, &list);
                hwnd = list.hwndItem;  // the field
                inset = 1;
            } else if (name.starts_with("pr")) {
                inset = 2;  // inside the border
            }
            RECT r;
            GetClientRect(hwnd, &r);
            MapWindowPoints(hwnd, form->window(), reinterpret_cast<POINT*>(&r), 2);
            area.rect = {name, r.left + inset, r.top + inset, r.right - inset, r.bottom - inset};
        }
        for (const std::string& fault : schemes::schemeFaults(grab, areas)) ADD_FAILURE() << fault;
    }
}

// A window lacking a control the commands or the event table need is refused at
// start-up, and no half-built window stays behind.
TEST(Win32FormStartUp, RefusesAWindowThatLacksANamedControl) {
    const WindowDescription& full = mainWindowDescription();
    const std::vector<EventBinding> bindings(eventBindings().begin(), eventBindings().end());
    auto clickOnALabel = bindings;
    clickOnALabel.push_back({"Lr1", ControlEvent::Click, "Lr1_Click", [](MainForm&, int) {}});
    struct Row {
        const char* removed;  // from the description
        std::vector<EventBinding> bindings;
        const char* named;  // by the error
    };
    const Row rows[] = {
        {"pr2", bindings, "pr2"},       {"Cr4", bindings, "Cr4"}, {"Ls1", bindings, "Ls1"},
        {"CommDH", bindings, "CommDH"}, {"pd1", bindings, "pd1"}, {"", clickOnALabel, "Lr1"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.named);
        std::vector<ControlDescription> controls;
        std::copy_if(full.controls.begin(), full.controls.end(), std::back_inserter(controls),
                     [&](const ControlDescription& c) { return c.name != row.removed; });
        WindowDescription window = full;
        window.controls = controls;
        try {
            Win32Form form(window, row.bindings, GetModuleHandleW(nullptr));
            ADD_FAILURE() << "no error";
        } catch (const std::runtime_error& error) {
            EXPECT_NE(std::string(error.what()).find(std::string("'") + row.named + "'"), std::string::npos) << error.what();
        }
        EXPECT_EQ(FindWindowW(L"VaskeloMainWindow", nullptr), nullptr);
    }
}

}  // namespace
}  // namespace vaskelo::win32

int main(int argc, char* argv[]) {
    vaskelo::win32::enableDpiAwareness();
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
