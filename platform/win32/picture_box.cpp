#include "platform/win32/picture_box.h"

#include <cstdint>
#include <vector>

#include "core/colour.h"
#include "ui/resistor_picture.h"

namespace vaskelo::win32 {

namespace {

// Window extra bytes: the fill colour, then whether the picture is shown.
constexpr int kFillSlot = 0;
constexpr int kPictureSlot = static_cast<int>(sizeof(LONG_PTR));

// The resistor picture as 32-bit DIB pixels (blue in the low byte), made once.
const std::vector<std::uint32_t>& pictureBits() {
    static const std::vector<std::uint32_t> bits = [] {
        std::vector<std::uint32_t> out = drawResistorPicture();
        for (std::uint32_t& c : out) c = (redOf(c) << 16) | (greenOf(c) << 8) | blueOf(c);
        return out;
    }();
    return bits;
}

void paint(HWND box) {
    PAINTSTRUCT ps;
    HDC dc = BeginPaint(box, &ps);
    RECT client;
    GetClientRect(box, &client);
    HBRUSH fill = CreateSolidBrush(pictureBoxFill(box));
    FillRect(dc, &client, fill);
    DeleteObject(fill);
    if (GetWindowLongPtrW(box, kPictureSlot) != 0) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof(info.bmiHeader);
        info.bmiHeader.biWidth = kPictureWidth;
        info.bmiHeader.biHeight = -kPictureHeight;  // top row first
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        SetDIBitsToDevice(dc, 0, 0, kPictureWidth, kPictureHeight, 0, 0, 0, kPictureHeight,
                          pictureBits().data(), &info, DIB_RGB_COLORS);
    }
    EndPaint(box, &ps);
}

// The border is the window's non-client edge (WS_BORDER), so children are placed from
// its inside; it is drawn here in plain black rather than the scheme's frame colour.
void paintBorder(HWND box) {
    HDC dc = GetWindowDC(box);
    RECT outer;
    GetWindowRect(box, &outer);
    OffsetRect(&outer, -outer.left, -outer.top);
    FrameRect(dc, &outer, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    ReleaseDC(box, dc);
}

LRESULT CALLBACK pictureBoxProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            paint(box);
            return 0;
        case WM_ERASEBKGND:
            return 1;  // WM_PAINT fills the whole interior
        case WM_NCPAINT:
            paintBorder(box);
            return 0;
        case WM_LBUTTONDOWN:
            SetFocus(box);
            return 0;
        default:
            return DefWindowProcW(box, message, wParam, lParam);
    }
}

}  // namespace

bool registerPictureBoxClass(HINSTANCE instance) {
    WNDCLASSEXW existing{};
    existing.cbSize = sizeof(existing);
    if (GetClassInfoExW(instance, kPictureBoxClass, &existing) != FALSE) return true;
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof(wc);
    wc.lpfnWndProc = pictureBoxProc;
    wc.cbWndExtra = 2 * static_cast<int>(sizeof(LONG_PTR));
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = kPictureBoxClass;
    return RegisterClassExW(&wc) != 0;
}

HWND createPictureBox(HWND parent, UINT id, HINSTANCE instance, COLORREF fill, bool showsPicture) {
    HWND box = CreateWindowExW(WS_EX_CONTROLPARENT, kPictureBoxClass, L"",
                               WS_CHILD | WS_VISIBLE | WS_BORDER | WS_TABSTOP | WS_CLIPCHILDREN, 0, 0, 0, 0, parent,
                               reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, nullptr);
    if (box == nullptr) return nullptr;
    SetWindowLongPtrW(box, kFillSlot, static_cast<LONG_PTR>(fill));
    SetWindowLongPtrW(box, kPictureSlot, showsPicture ? 1 : 0);
    return box;
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
