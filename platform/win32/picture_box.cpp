#include "platform/win32/picture_box.h"

#include "platform/win32/application.h"

#include <memory>
#include <new>
#include <optional>
#include <utility>
#include <vector>

#include "core/colour.h"
#include "ui/scaled_box.h"

namespace vaskelo::win32 {

namespace {

// What a box composed last, for the box and the boxes standing in it; the image is
// composed again only when one of these has changed.
struct Composed {
    PlacedBox place{};
    bool showsPicture = false;
    std::vector<PlacedBox> inner;
    double scale = 0;
    bool operator==(const Composed&) const = default;
};

// Everything a box keeps, owned by its window from WM_NCCREATE to WM_NCDESTROY: its
// colour, whether it shows the picture, its place in 96-dpi pixels of the client area
// (border included), the DPI it is shown at, and the image last composed for it.
struct BoxState {
    COLORREF fill = 0;
    bool showsPicture = false;
    RECT onGrid{};
    UINT dpi = 0;
    std::optional<Composed> composed;
    BoxImage image{};
};

// The window's one extra slot points to its state.
constexpr int kStateSlot = 0;

// What createPictureBox hands to the box's WM_NCCREATE.
struct BoxStart {
    COLORREF fill;
    bool showsPicture;
};

bool isPictureBox(HWND hwnd) {
    wchar_t name[32] = {};
    return hwnd != nullptr && GetClassNameW(hwnd, name, 32) > 0 && lstrcmpW(name, kPictureBoxClass) == 0;
}

// For a window known to be a picture box; null outside its state's lifetime.
BoxState* stateOf(HWND box) { return reinterpret_cast<BoxState*>(GetWindowLongPtrW(box, kStateSlot)); }

// For any window: null unless it is a picture box with its state.
BoxState* checkedStateOf(HWND hwnd) { return isPictureBox(hwnd) ? stateOf(hwnd) : nullptr; }

PlacedBox placeOf(const BoxState& state) {
    const RECT& r = state.onGrid;
    // The fill is 0x00BBGGRR, as the image wants it.
    return {r.left, r.top, r.right - r.left, r.bottom - r.top, state.fill};
}

double scaleOf(const BoxState& state) { return state.dpi > 0 ? state.dpi / 96.0 : 1.0; }

// The box with the boxes standing in it, as 32-bit DIB pixels (blue in the low byte),
// kept in the box's state from one paint to the next. The outer box and each swatch
// paint from it in turn, so it is composed again only when something in it has changed.
const BoxImage& boxImage(HWND box, BoxState& state) {
    Composed wanted{placeOf(state), state.showsPicture, {}, scaleOf(state)};
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (!isPictureBox(child) || IsWindowVisible(child) == FALSE) continue;
        if (const BoxState* inner = stateOf(child)) wanted.inner.push_back(placeOf(*inner));
    }
    if (wanted == state.composed) return state.image;
    drawScaledBox(wanted.place, wanted.showsPicture, wanted.inner, wanted.scale, state.image);
    for (ColourValue& c : state.image.pixels) c = (redOf(c) << 16) | (greenOf(c) << 8) | blueOf(c);
    state.composed = std::move(wanted);
    return state.image;
}

// A box standing in another shows its share of the outer box's image; the outer box
// leaves it out of its own painting (WS_CLIPCHILDREN).
void paint(HWND box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    // No DC, nothing to draw on: this paint is skipped.
    if (dc == nullptr) return;
    HWND outer = GetParent(box);
    BoxState* state = stateOf(box);
    BoxState* outerState = isPictureBox(outer) ? stateOf(outer) : nullptr;
    POINT corner{0, 0};
    if (outerState != nullptr && state != nullptr) {
        const PlacedBox place = placeOf(*state);
        const PlacedBox outerPlace = placeOf(*outerState);
        const double scale = scaleOf(*outerState);
        corner = {scaledEdge(outerPlace.left, scale) - scaledEdge(place.left, scale),
                  scaledEdge(outerPlace.top, scale) - scaledEdge(place.top, scale)};
    } else {
        outer = box;
        outerState = state;
    }
    if (outerState != nullptr) {
        const BoxImage& image = boxImage(outer, *outerState);
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = image.width;
        info.bmiHeader.biHeight = -image.height;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, corner.x, corner.y, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height), 0, 0,
                          0, static_cast<UINT>(image.height), image.pixels.data(), &info, DIB_RGB_COLORS);
    }
    EndPaint(box, &ps);
}

// A window that cannot keep its state is not made: CreateWindowExW then returns null.
LRESULT onCreate(HWND box, const CREATESTRUCTW& creation) {
    const auto* start = static_cast<const BoxStart*>(creation.lpCreateParams);
    if (start == nullptr) return FALSE;
    std::unique_ptr<BoxState> state(new (std::nothrow) BoxState{});
    if (!state) return FALSE;
    state->fill = start->fill;
    state->showsPicture = start->showsPicture;
    SetLastError(ERROR_SUCCESS);
    if (SetWindowLongPtrW(box, kStateSlot, reinterpret_cast<LONG_PTR>(state.get())) == 0 && GetLastError() != ERROR_SUCCESS) {
        return FALSE;
    }
    static_cast<void>(state.release());  // the window's now, until WM_NCDESTROY
    return TRUE;
}

LRESULT handlePictureBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_NCCREATE:
            if (onCreate(box, *reinterpret_cast<const CREATESTRUCTW*>(lParam)) == FALSE) return FALSE;
            return DefWindowProcW(box, message, wParam, lParam);
        case WM_NCDESTROY: {
            const std::unique_ptr<BoxState> state(stateOf(box));
            SetWindowLongPtrW(box, kStateSlot, 0);
            return DefWindowProcW(box, message, wParam, lParam);
        }
        case WM_PAINT:
            paint(box);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the whole interior
        case WM_LBUTTONDOWN:
            SetFocus(box);
            return 0;
        default:
            return DefWindowProcW(box, message, wParam, lParam);
    }
}

LRESULT CALLBACK pictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    return guardedProcedure([&] { return handlePictureBox(box, message, wParam, lParam); },
                            [&] { return DefWindowProcW(box, message, wParam, lParam); });
}

}  // namespace

CallResult registerPictureBoxClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kPictureBoxClass, &existing) != FALSE) return std::nullopt;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = pictureBoxProc;
    wc.cbWndExtra = static_cast<int>(sizeof(LONG_PTR));
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    if (wc.hCursor == nullptr) return failedCall("LoadCursorW");
    wc.lpszClassName = kPictureBoxClass;
    if (RegisterClassExW(&wc) == 0) return failedCall("RegisterClassExW");
    return std::nullopt;
}

HWND createPictureBox(HWND parent, UINT id, HINSTANCE instance, COLORREF fill, bool showsPicture) {
    BoxStart start{fill, showsPicture};
    return CreateWindowExW(WS_EX_CONTROLPARENT, kPictureBoxClass, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN,
                           0, 0, 0, 0, parent, reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, &start);
}

CallResult placePictureBox(HWND box, const RECT& onGrid, UINT dpi) {
    BoxState* state = checkedStateOf(box);
    if (state == nullptr) return FailedCall{"GetWindowLongPtrW", ERROR_INVALID_WINDOW_HANDLE};
    state->onGrid = onGrid;
    state->dpi = dpi;
    const double scale = dpi / 96.0;
    // A box standing in a box is placed from the outer box's first device pixel.
    POINT origin{0, 0};
    if (const BoxState* outer = checkedStateOf(GetParent(box))) {
        const PlacedBox place = placeOf(*outer);
        origin = {scaledEdge(place.left, scale), scaledEdge(place.top, scale)};
    }
    const int left = scaledEdge(onGrid.left, scale);
    const int top = scaledEdge(onGrid.top, scale);
    if (SetWindowPos(box, nullptr, left - origin.x, top - origin.y, scaledEdge(onGrid.right, scale) - left,
                     scaledEdge(onGrid.bottom, scale) - top, SWP_NOZORDER | SWP_NOACTIVATE) == FALSE) {
        return failedCall("SetWindowPos");
    }
    if (InvalidateRect(box, nullptr, FALSE) == FALSE) return failedCall("InvalidateRect");
    return std::nullopt;
}

CallResult setPictureBoxFill(HWND box, COLORREF colour) {
    BoxState* state = checkedStateOf(box);
    if (state == nullptr) return FailedCall{"GetWindowLongPtrW", ERROR_INVALID_WINDOW_HANDLE};
    state->fill = colour;
    if (InvalidateRect(box, nullptr, FALSE) == FALSE) return failedCall("InvalidateRect");
    return std::nullopt;
}

COLORREF pictureBoxFill(HWND box) {
    const BoxState* state = checkedStateOf(box);
    return state != nullptr ? state->fill : 0;
}

}  // namespace vaskelo::win32
