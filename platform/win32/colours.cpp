#include "platform/win32/colours.h"

#include "core/readable_text.h"
#include "platform/win32/picture_box.h"
#include "platform/win32/win32_form.h"

namespace vaskelo::win32 {

COLORREF toColorRef(ColourValue colour) {
    if (isSystemColour(colour)) return GetSysColor(static_cast<int>(systemColourIndex(colour)));
    return colour & 0x00FFFFFFu;
}

LRESULT Win32Form::colourControl(UINT message, HDC dc, HWND child) {
    const Control* owner = nullptr;
    for (const Control& c : controls_) {
        // A band list's field and open list ask for their colours through the list.
        COMBOBOXINFO info{};
        info.cbSize = sizeof(info);
        const bool partOf = c.described->kind == ControlKind::ComboBox && GetComboBoxInfo(c.hwnd, &info) != FALSE &&
                            (info.hwndItem == child || info.hwndList == child);
        if (c.hwnd == child || partOf) {
            owner = &c;
            break;
        }
    }
    if (owner == nullptr) return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
    const COLORREF background = toColorRef(owner->described->background);
    HBRUSH fill = brush(background);
    // Without its brush the control keeps Windows' colours.
    if (fill == nullptr) return DefWindowProcW(window_, message, reinterpret_cast<WPARAM>(dc), reinterpret_cast<LPARAM>(child));
    const ColourValue text = owner->described->foreground;
    SetTextColor(dc, readableTextColour(text, owner->described->background, toColorRef(text)));
    SetBkColor(dc, background);
    return reinterpret_cast<LRESULT>(fill);
}

void Win32Form::followScheme() {
    // A box that cannot take its colour keeps the one it has; it is no reason to stop.
    for (const Control& c : controls_) {
        if (c.described->kind == ControlKind::PictureBox) static_cast<void>(setPictureBoxFill(c.hwnd, toColorRef(c.fill)));
    }
    // Brushes are made again for the colours now in use.
    brushes_.clear();
    RedrawWindow(window_, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN);
}

// Null if Windows cannot make it; the next paint asks again.
HBRUSH Win32Form::brush(COLORREF colour) {
    auto it = brushes_.find(colour);
    if (it == brushes_.end()) {
        Brush made(CreateSolidBrush(colour));
        if (!made) return nullptr;
        it = brushes_.emplace(colour, std::move(made)).first;
    }
    return it->second.get();
}

}  // namespace vaskelo::win32
