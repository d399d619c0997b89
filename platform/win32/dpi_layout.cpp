#include "platform/win32/win32_form.h"

#include <algorithm>
#include <cmath>
#include <cwchar>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/texts.h"
#include "platform/win32/calls.h"
#include "platform/win32/picture_box.h"
#include "platform/win32/text.h"

namespace vaskelo::win32 {

namespace {

// A band list drops down far enough to show every entry without scrolling.
constexpr int kMaxVisibleEntries = 11;

}  // namespace

Win32Form::Font Win32Form::makeFont(const FontDescription& font) const {
    LOGFONTW lf{};
    lf.lfHeight = -static_cast<LONG>(std::lround(static_cast<double>(font.points) * dpi_ / 72.0));
    lf.lfWeight = font.bold ? FW_BOLD : FW_NORMAL;
    // Every text is Turkish: a font of the system's default character set may lack
    // 'ı' and 'ş' (Wine's MS Sans Serif does), and would show bars in their place.
    lf.lfCharSet = TURKISH_CHARSET;
    lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
    lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
    lf.lfQuality = DEFAULT_QUALITY;
    lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
    const std::wstring face = widen(font.family);
    wcsncpy(lf.lfFaceName, face.c_str(), LF_FACESIZE - 1);
    return Font(CreateFontIndirectW(&lf));
}

// Every font is made before any control gets one, so a failure leaves each control
// with the font it had, still alive.
void Win32Form::applyFonts() {
    Font windowFont = makeFont(description_.font);
    if (!windowFont) throw failure("CreateFontIndirectW", texts::kNoWindowFont);
    std::vector<Font> own;
    own.reserve(controls_.size());
    for (const Control& c : controls_) {
        own.push_back(c.font ? makeFont(*c.font) : Font());
        if (c.font && !own.back()) {
            throw failure("CreateFontIndirectW", quoted(c.described->name) + std::string(texts::kNoControlFont));
        }
    }
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(windowFont.get()), FALSE);
    for (std::size_t i = 0; i < controls_.size(); ++i) {
        Control& c = controls_[i];
        HFONT font = own[i] ? own[i].get() : windowFont.get();
        SendMessageW(c.hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        c.ownFont = std::move(own[i]);
    }
    windowFont_ = std::move(windowFont);
}

int Win32Form::pixels(double twips) const { return twipsToPixels(twips * dpi_ / kDefaultDpi); }

void Win32Form::layout() {
    for (Control& c : controls_) {
        const TwipRect& r = c.described->rect;
        const std::string name = quoted(c.described->name);
        if (c.described->kind == ControlKind::PictureBox) {
            // A box inside another is placed from the inside of the outer box's border.
            int left = twipsToPixels(r.left);
            int top = twipsToPixels(r.top);
            if (const Control* outer = find(c.described->container)) {
                left += twipsToPixels(outer->described->rect.left) + 1;
                top += twipsToPixels(outer->described->rect.top) + 1;
            }
            const RECT onGrid{left, top, left + twipsToPixels(r.width), top + twipsToPixels(r.height)};
            if (const CallResult failed = placePictureBox(c.hwnd, onGrid, dpi_)) {
                throw failure(failed->call, name + std::string(texts::kNoPictureBoxPlace));
            }
            continue;
        }
        int height = pixels(r.height);
        if (c.described->kind == ControlKind::ComboBox) {
            // A drop-down's height includes its open list; the closed field follows the font.
            const auto itemHeight = static_cast<int>(SendMessageW(c.hwnd, CB_GETITEMHEIGHT, 0, 0));
            if (itemHeight == CB_ERR) throw failure("CB_GETITEMHEIGHT", name + std::string(texts::kNoListRowHeight));
            const int entries = std::min(static_cast<int>(c.described->entries.size()), kMaxVisibleEntries);
            height += std::max(itemHeight, 0) * entries + 2;
        }
        if (SetWindowPos(c.hwnd, nullptr, pixels(r.left), pixels(c.top), pixels(r.width), height,
                         SWP_NOZORDER | SWP_NOACTIVATE) == FALSE) {
            throw failure("SetWindowPos", name + std::string(texts::kNoControlPlace));
        }
        if (c.described->kind == ControlKind::Label && c.described->autoSize) {
            if (const CallResult failed = fitToText(c.hwnd)) {
                throw failure(failed->call, name + std::string(texts::kNoLabelFit));
            }
        }
    }
    fitFrame();
}

// Sizes the frame so the client area has the description's size at this DPI; a second
// pass catches a menu bar that wraps differently at the new width.
void Win32Form::fitFrame() {
    const int width = pixels(description_.clientWidth);
    const int height = pixels(description_.clientHeight);
    constexpr std::string_view kWhat = texts::kNoWindowSize;
    for (int pass = 0; pass < 2; ++pass) {
        RECT outer;
        RECT client;
        if (GetWindowRect(window_, &outer) == FALSE) throw failure("GetWindowRect", kWhat);
        if (GetClientRect(window_, &client) == FALSE) throw failure("GetClientRect", kWhat);
        if (client.right == width && client.bottom == height) return;
        const int frameWidth = (outer.right - outer.left) - client.right;
        const int frameHeight = (outer.bottom - outer.top) - client.bottom;
        if (SetWindowPos(window_, nullptr, 0, 0, width + frameWidth, height + frameHeight,
                         SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) == FALSE) {
            throw failure("SetWindowPos", kWhat);
        }
    }
}

// After the window has moved to a screen of another DPI: its fonts and layout made
// anew at the new scale. Unlike at start-up there is no one to tell of a failure; the
// window stays as far as it got, still usable, and the next change of DPI tries again.
void Win32Form::rescale() {
    try {
        applyFonts();
        layout();
    } catch (const std::runtime_error&) {
    }
}

// An auto-size label always has exactly the size of its caption in its font, growing
// right and down from where it stands.
CallResult Win32Form::fitToText(HWND label) {
    const std::optional<std::wstring> text = windowText(label);
    if (!text) return failedCall("GetWindowTextW");
    const WindowDc dc = windowDc(label);
    if (!dc) return failedCall("GetDC");
    // A label without a font of its own writes in the system font, which a fresh DC has.
    const auto font = reinterpret_cast<HGDIOBJ>(SendMessageW(label, WM_GETFONT, 0, 0));
    HGDIOBJ previous = nullptr;
    if (font != nullptr) {
        previous = SelectObject(dc.get(), font);
        if (previous == nullptr) return failedCall("SelectObject");
    }
    SIZE extent{};
    TEXTMETRICW metrics{};
    CallResult measured;
    if (GetTextExtentPoint32W(dc.get(), text->c_str(), static_cast<int>(text->size()), &extent) == FALSE) {
        measured = failedCall("GetTextExtentPoint32W");
    } else if (GetTextMetricsW(dc.get(), &metrics) == FALSE) {
        measured = failedCall("GetTextMetricsW");
    }
    // The DC goes back to the window cache as it came.
    if (previous != nullptr) SelectObject(dc.get(), previous);
    if (measured) return measured;
    if (SetWindowPos(label, nullptr, 0, 0, extent.cx, metrics.tmHeight, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE) == FALSE) {
        return failedCall("SetWindowPos");
    }
    if (InvalidateRect(label, nullptr, TRUE) == FALSE) return failedCall("InvalidateRect");
    return std::nullopt;
}

}  // namespace vaskelo::win32
