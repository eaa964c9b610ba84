#include "CanvasWin32.h"

#include <gdiplus.h>

#include <memory>
#include <vector>

#include "TextWin32.h"

namespace {

// A memory context with a bitmap selected, given back and deleted in order.
class CMemoryDc {
public:
    CMemoryDc(HDC like, HBITMAP bitmap) : m_dc(CreateCompatibleDC(like)), m_bitmap(bitmap) {
        if (m_dc != nullptr && m_bitmap != nullptr) m_old = SelectObject(m_dc, m_bitmap);
    }
    ~CMemoryDc() {
        if (m_old != nullptr) SelectObject(m_dc, m_old);
        if (m_bitmap != nullptr) DeleteObject(m_bitmap);
        if (m_dc != nullptr) DeleteDC(m_dc);
    }
    CMemoryDc(const CMemoryDc&) = delete;
    CMemoryDc& operator=(const CMemoryDc&) = delete;
    bool Valid() const { return m_old != nullptr; }
    HDC Dc() const { return m_dc; }

private:
    HDC m_dc;
    HBITMAP m_bitmap;
    HGDIOBJ m_old = nullptr;
};

// Asks the canvas's dialog to draw it into `dc`.
void PaintInto(HWND canvas, HDC dc, int width, int height) {
    HWND dialog = GetParent(canvas);
    auto font = reinterpret_cast<HFONT>(SendMessageW(dialog, WM_GETFONT, 0, 0));
    if (font == nullptr) font = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    CCanvasPainterWin32 painter(dc, font);
    CanvasPaintRequest request{&painter, width, height};
    SendMessageW(dialog, kCanvasPaintMessage, static_cast<WPARAM>(GetDlgCtrlID(canvas)),
                 reinterpret_cast<LPARAM>(&request));
}

// Drawn whole into a bitmap first and copied at once, so that it never flickers.
void Paint(HWND canvas) {
    PAINTSTRUCT paint{};
    HDC dc = BeginPaint(canvas, &paint);
    RECT client{};
    GetClientRect(canvas, &client);
    if (client.right > 0 && client.bottom > 0) {
        CMemoryDc memory(dc, CreateCompatibleBitmap(dc, client.right, client.bottom));
        if (memory.Valid()) {
            PaintInto(canvas, memory.Dc(), client.right, client.bottom);
            BitBlt(dc, 0, 0, client.right, client.bottom, memory.Dc(), 0, 0, SRCCOPY);
        }
    }
    EndPaint(canvas, &paint);
}

LRESULT CALLBACK CanvasProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_ERASEBKGND: return 1;  // every pixel is painted
        case WM_PAINT: Paint(hwnd); return 0;
        default: return DefWindowProcW(hwnd, message, wParam, lParam);
    }
}

// GDI+ for the life of one save.
class CGdiPlus {
public:
    CGdiPlus() {
        Gdiplus::GdiplusStartupInput input;
        m_ok = Gdiplus::GdiplusStartup(&m_token, &input, nullptr) == Gdiplus::Ok;
    }
    ~CGdiPlus() {
        if (m_ok) Gdiplus::GdiplusShutdown(m_token);
    }
    CGdiPlus(const CGdiPlus&) = delete;
    CGdiPlus& operator=(const CGdiPlus&) = delete;
    bool Ok() const { return m_ok; }

private:
    ULONG_PTR m_token = 0;
    bool m_ok = false;
};

// GDI+'s built-in PNG encoder.
constexpr CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};

}  // namespace

const wchar_t* CanvasClassName() {
    static const wchar_t* const name = [] {
        WNDCLASSEXW wc{};
        wc.cbSize = sizeof wc;
        wc.lpfnWndProc = &CanvasProc;
        wc.hInstance = GetModuleHandleW(nullptr);
        wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
        wc.lpszClassName = L"SentrabusCanvas";
        RegisterClassExW(&wc);
        return wc.lpszClassName;
    }();
    return name;
}

CCanvasPainterWin32::CCanvasPainterWin32(HDC dc, HFONT font) : m_dc(dc), m_font(font) {
    LOGFONTW bold{};
    if (GetObjectW(font, sizeof bold, &bold) == sizeof bold) {
        bold.lfWeight = FW_BOLD;
        m_bold = CreateFontIndirectW(&bold);
    }
    m_oldFont = SelectObject(m_dc, m_font);
    m_oldPen = SelectObject(m_dc, GetStockObject(BLACK_PEN));
    SetBkMode(m_dc, TRANSPARENT);
}

CCanvasPainterWin32::~CCanvasPainterWin32() {
    SelectObject(m_dc, m_oldFont);
    SelectObject(m_dc, m_oldPen);
    if (m_bold != nullptr) DeleteObject(m_bold);
    if (m_pen != nullptr) DeleteObject(m_pen);
}

// ExtTextOut's opaque rectangle: the quickest fill GDI has.
void CCanvasPainterWin32::FillRect(const PixelRect& rect, ColorRef color) {
    if (rect.Width() <= 0 || rect.Height() <= 0) return;
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    SetBkColor(m_dc, color);
    ExtTextOutW(m_dc, 0, 0, ETO_OPAQUE, &r, nullptr, 0, nullptr);
}

void CCanvasPainterWin32::Polyline(std::span<const CanvasPoint> points, ColorRef color, int width) {
    if (points.empty()) return;
    if (m_pen == nullptr || m_penColor != color || m_penWidth != width) {
        HPEN pen = CreatePen(PS_SOLID, width, color);
        if (pen == nullptr) return;
        SelectObject(m_dc, pen);
        if (m_pen != nullptr) DeleteObject(m_pen);
        m_pen = pen;
        m_penColor = color;
        m_penWidth = width;
    }
    m_points.resize(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) m_points[i] = {points[i].x, points[i].y};
    ::Polyline(m_dc, m_points.data(), static_cast<int>(m_points.size()));
    // GDI leaves out a line's last pixel; the painter draws every point.
    if (width <= 1) SetPixelV(m_dc, points.back().x, points.back().y, color);
}

void CCanvasPainterWin32::Text(const PixelRect& rect, std::string_view utf8, ColorRef color, CanvasAlign align,
                               bool bold) {
    SelectObject(m_dc, bold && m_bold != nullptr ? m_bold : m_font);
    SetTextColor(m_dc, color);
    RECT r{rect.left, rect.top, rect.right, rect.bottom};
    UINT format = DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX;
    format |= align == CanvasAlign::Left ? DT_LEFT : align == CanvasAlign::Right ? DT_RIGHT : DT_CENTER;
    const std::wstring text = Utf16(utf8);
    DrawTextW(m_dc, text.c_str(), static_cast<int>(text.size()), &r, format);
}

bool SaveCanvasPng(HWND canvas, const std::wstring& path) {
    RECT client{};
    if (canvas == nullptr || !GetClientRect(canvas, &client) || client.right <= 0 || client.bottom <= 0) return false;
    const int width = client.right, height = client.bottom;
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down, as GDI+ reads rows
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    CMemoryDc memory(nullptr, CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!memory.Valid() || bits == nullptr) return false;
    PaintInto(canvas, memory.Dc(), width, height);
    GdiFlush();

    CGdiPlus gdiPlus;
    if (!gdiPlus.Ok()) return false;
    Gdiplus::GpBitmap* bitmap = nullptr;
    if (Gdiplus::DllExports::GdipCreateBitmapFromScan0(width, height, width * 4, PixelFormat32bppRGB,
                                                       static_cast<BYTE*>(bits), &bitmap) != Gdiplus::Ok)
        return false;
    const bool saved = Gdiplus::DllExports::GdipSaveImageToFile(bitmap, path.c_str(), &kPngEncoder, nullptr) ==
                       Gdiplus::Ok;
    Gdiplus::DllExports::GdipDisposeImage(bitmap);
    return saved;
}
