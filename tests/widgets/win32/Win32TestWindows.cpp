#include "Win32TestWindows.h"

#include <algorithm>

namespace {

constexpr wchar_t kParentClass[] = L"SentrabusTestParent";
constexpr std::uint32_t kUnpainted = 0x00FF00FF;

SIZE ClientSize(HWND window) {
    RECT r{};
    GetClientRect(window, &r);
    return {r.right - r.left, r.bottom - r.top};
}

}  // namespace

PictureDc::PictureDc(int width, int height) : m_width(width), m_height(height) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;  // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    m_dc = CreateCompatibleDC(nullptr);
    m_bitmap = CreateDIBSection(m_dc, &info, DIB_RGB_COLORS, &m_bits, nullptr, 0);
    m_previous = SelectObject(m_dc, m_bitmap);
    std::fill_n(static_cast<std::uint32_t*>(m_bits), static_cast<std::size_t>(width * height), kUnpainted);
}

PictureDc::~PictureDc() {
    SelectObject(m_dc, m_previous);
    DeleteObject(m_bitmap);
    DeleteDC(m_dc);
}

Picture PictureDc::Take() const {
    GdiFlush();
    const auto* bits = static_cast<const std::uint32_t*>(m_bits);
    return {m_width, m_height, std::vector<std::uint32_t>(bits, bits + m_width * m_height)};
}

TestParent::TestParent() {
    WNDCLASSEXW windowClass{};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.lpfnWndProc = Proc;
    windowClass.hInstance = GetModuleHandleW(nullptr);
    windowClass.lpszClassName = kParentClass;
    RegisterClassExW(&windowClass);  // fails harmlessly when registered already
    m_hwnd = CreateWindowExW(0, kParentClass, L"test", WS_OVERLAPPEDWINDOW, 0, 0, 400, 300, nullptr, nullptr,
                             GetModuleHandleW(nullptr), this);
}

TestParent::~TestParent() {
    if (m_hwnd) DestroyWindow(m_hwnd);
}

LRESULT CALLBACK TestParent::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        SetWindowLongPtrW(hwnd, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams));
    }
    auto* self = reinterpret_cast<TestParent*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
    if (self && message == WM_COMMAND && HIWORD(wParam) == BN_CLICKED) self->m_clicks.push_back(LOWORD(wParam));
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

MessageBoxRecorder::MessageBoxRecorder() {
    SetMessageBoxHook([this](const MessageBoxCall& call) {
        boxes.push_back(call);
        return IDOK;
    });
}

MessageBoxRecorder::~MessageBoxRecorder() { SetMessageBoxHook({}); }

void PumpMessages(std::chrono::milliseconds duration) {
    const auto end = std::chrono::steady_clock::now() + duration;
    while (std::chrono::steady_clock::now() < end) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

HWND AddButton(HWND parent, int id, const wchar_t* text, DWORD style, int x, int y, int w, int h) {
    return CreateWindowExW(0, L"BUTTON", text, WS_CHILD | WS_VISIBLE | WS_TABSTOP | style, x, y, w, h, parent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
}

int TestParent::ClicksFrom(int id) const { return static_cast<int>(std::count(m_clicks.begin(), m_clicks.end(), id)); }

Picture TestParent::Print(HWND control) {
    const SIZE size = ClientSize(control);
    PictureDc picture(size.cx, size.cy);
    SendMessageW(control, WM_PRINTCLIENT, reinterpret_cast<WPARAM>(picture.Dc()), PRF_CLIENT);
    return picture.Take();
}

Picture TestParent::DrawRecord(HWND control, UINT itemState) const {
    const SIZE size = ClientSize(control);
    PictureDc picture(size.cx, size.cy);
    DRAWITEMSTRUCT record{};
    record.CtlType = ODT_BUTTON;
    record.CtlID = static_cast<UINT>(GetDlgCtrlID(control));
    record.itemAction = ODA_DRAWENTIRE;
    record.itemState = itemState;
    record.hwndItem = control;
    record.hDC = picture.Dc();
    record.rcItem = {0, 0, size.cx, size.cy};
    SendMessageW(m_hwnd, WM_DRAWITEM, record.CtlID, reinterpret_cast<LPARAM>(&record));
    return picture.Take();
}
