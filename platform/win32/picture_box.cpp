#include "platform/win32/picture_box.h"

#include "platform/win32/application.h"

#include <cstdint>
#include <utility>
#include <vector>

#include "core/colour.h"
#include "ui/scaled_box.h"

namespace vaskelo::win32 {

namespace {

// Window extra bytes: the fill colour, whether the picture is shown, the box's place
// in 96-dpi pixels of the client area (left and top, then width and height) and the
// DPI it is shown at.
constexpr int kFillSlot = 0;
constexpr int kPictureSlot = static_cast<int>(sizeof(LONG_PTR));
constexpr int kCornerSlot = 2 * static_cast<int>(sizeof(LONG_PTR));
constexpr int kSizeSlot = 3 * static_cast<int>(sizeof(LONG_PTR));
constexpr int kDpiSlot = 4 * static_cast<int>(sizeof(LONG_PTR));
constexpr int kSlots = 5;

LONG_PTR pack(LONG low, LONG high) {
    return static_cast<LONG_PTR>(static_cast<std::uint32_t>(low & 0xFFFF) | (static_cast<std::uint32_t>(high & 0xFFFF) << 16));
}
int lowOf(LONG_PTR packed) { return static_cast<int>(static_cast<std::int16_t>(packed & 0xFFFF)); }
int highOf(LONG_PTR packed) { return static_cast<int>(static_cast<std::int16_t>((packed >> 16) & 0xFFFF)); }

bool isPictureBox(HWND hwnd) {
    wchar_t name[32] = {};
    return hwnd != nullptr && GetClassNameW(hwnd, name, 32) > 0 && lstrcmpW(name, kPictureBoxClass) == 0;
}

PlacedBox placeOf(HWND box) {
    const LONG_PTR corner = GetWindowLongPtrW(box, kCornerSlot);
    const LONG_PTR size = GetWindowLongPtrW(box, kSizeSlot);
    const COLORREF fill = pictureBoxFill(box);  // 0x00BBGGRR, as the image wants it
    return {lowOf(corner), highOf(corner), lowOf(size), highOf(size), fill};
}

double scaleOf(HWND box) {
    const auto dpi = static_cast<double>(GetWindowLongPtrW(box, kDpiSlot));
    return dpi > 0 ? dpi / 96.0 : 1.0;
}

// The box with the boxes standing in it, as 32-bit DIB pixels (blue in the low byte),
// in a buffer kept from one paint to the next. The outer box and each swatch paint
// from it in turn, so it is composed again only when something in it has changed.
const BoxImage& boxImage(HWND box) {
    struct Composed {
        HWND box = nullptr;
        PlacedBox place{};
        bool showsPicture = false;
        std::vector<PlacedBox> inner;
        double scale = 0;
        bool operator==(const Composed&) const = default;
    };
    Composed wanted{box, placeOf(box), GetWindowLongPtrW(box, kPictureSlot) != 0, {}, scaleOf(box)};
    for (HWND child = GetWindow(box, GW_CHILD); child != nullptr; child = GetWindow(child, GW_HWNDNEXT)) {
        if (isPictureBox(child) && IsWindowVisible(child) != FALSE) wanted.inner.push_back(placeOf(child));
    }
    static BoxImage image;
    static Composed composed;
    if (wanted == composed) return image;
    drawScaledBox(wanted.place, wanted.showsPicture, wanted.inner, wanted.scale, image);
    for (ColourValue& c : image.pixels) c = (redOf(c) << 16) | (greenOf(c) << 8) | blueOf(c);
    composed = std::move(wanted);
    return image;
}

// A box standing in another shows its share of the outer box's image; the outer box
// leaves it out of its own painting (WS_CLIPCHILDREN).
void paint(HWND box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    HWND outer = GetParent(box);
    POINT corner{0, 0};
    if (isPictureBox(outer)) {
        const PlacedBox place = placeOf(box);
        const PlacedBox outerPlace = placeOf(outer);
        const double scale = scaleOf(outer);
        corner = {scaledEdge(outerPlace.left, scale) - scaledEdge(place.left, scale),
                  scaledEdge(outerPlace.top, scale) - scaledEdge(place.top, scale)};
    } else {
        outer = box;
    }
    const BoxImage& image = boxImage(outer);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = image.width;
    info.bmiHeader.biHeight = -image.height;  // top row first
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    SetDIBitsToDevice(dc, corner.x, corner.y, static_cast<DWORD>(image.width), static_cast<DWORD>(image.height), 0, 0, 0,
                      static_cast<UINT>(image.height), image.pixels.data(), &info, DIB_RGB_COLORS);
    EndPaint(box, &ps);
}

LRESULT handlePictureBox(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
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

bool registerPictureBoxClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kPictureBoxClass, &existing) != FALSE) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = pictureBoxProc;
    wc.cbWndExtra = kSlots * static_cast<int>(sizeof(LONG_PTR));
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPictureBoxClass;
    return RegisterClassExW(&wc) != 0;
}

HWND createPictureBox(HWND parent, UINT id, HINSTANCE instance, COLORREF fill, bool showsPicture) {
    HWND box = CreateWindowExW(WS_EX_CONTROLPARENT, kPictureBoxClass, L"",
                               WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
    if (box == nullptr) return nullptr;
    SetWindowLongPtrW(box, kFillSlot, static_cast<LONG_PTR>(fill));
    SetWindowLongPtrW(box, kPictureSlot, showsPicture ? 1 : 0);
    return box;
}

void placePictureBox(HWND box, const RECT& onGrid, UINT dpi) {
    SetWindowLongPtrW(box, kCornerSlot, pack(onGrid.left, onGrid.top));
    SetWindowLongPtrW(box, kSizeSlot, pack(onGrid.right - onGrid.left, onGrid.bottom - onGrid.top));
    SetWindowLongPtrW(box, kDpiSlot, static_cast<LONG_PTR>(dpi));
    const double scale = dpi / 96.0;
    // A box standing in a box is placed from the outer box's first device pixel.
    POINT origin{0, 0};
    if (HWND outer = GetParent(box); isPictureBox(outer)) {
        const PlacedBox place = placeOf(outer);
        origin = {scaledEdge(place.left, scale), scaledEdge(place.top, scale)};
    }
    const int left = scaledEdge(onGrid.left, scale);
    const int top = scaledEdge(onGrid.top, scale);
    SetWindowPos(box, nullptr, left - origin.x, top - origin.y, scaledEdge(onGrid.right, scale) - left,
                 scaledEdge(onGrid.bottom, scale) - top, SWP_NOZORDER | SWP_NOACTIVATE);
    InvalidateRect(box, nullptr, FALSE);
}

DWORD setPictureBoxFill(HWND box, COLORREF colour) {
    SetLastError(ERROR_SUCCESS);
    if (SetWindowLongPtrW(box, kFillSlot, static_cast<LONG_PTR>(colour)) == 0 && GetLastError() != ERROR_SUCCESS) {
        return GetLastError();
    }
    InvalidateRect(box, nullptr, FALSE);
    return ERROR_SUCCESS;
}

COLORREF pictureBoxFill(HWND box) { return static_cast<COLORREF>(GetWindowLongPtrW(box, kFillSlot)); }

}  // namespace vaskelo::win32
