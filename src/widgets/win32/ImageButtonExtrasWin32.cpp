// The image button's extras on Windows: the tooltip control, the hover
// cursor, sounds, the drop-down menu and the transparent face.

#include <algorithm>
#include <cstdio>

#include "CommonControlsWin32.h"
#include "GdiWin32.h"
#include "res/StringTable.h"
#include "widgets/DesktopSeams.h"
#include "widgets/win32/ImageButtonWin32.h"
#include "widgets/win32/TextWin32.h"

namespace {

// The tooltip's one tool.
constexpr UINT_PTR kTipToolId = 1;

// The tool record that every comctl32 since version 4.70 reads, with or
// without a manifest asking for version 6.
TTTOOLINFOW ToolInfo(HWND button) {
    TTTOOLINFOW tool{};
    tool.cbSize = TTTOOLINFOW_V2_SIZE;
    tool.hwnd = button;
    tool.uId = kTipToolId;
    return tool;
}

bool HasTool(HWND tip) { return tip && SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0) > 0; }

}  // namespace

struct CImageButton::Snapshot {
    MemoryDc dc;
    OwnedBitmap bitmap;
    HGDIOBJ oldBitmap = nullptr;  // what dc held before the snapshot
    explicit Snapshot(HDC like) : dc(like) {}
};

void CImageButton::IconDeleter::operator()(HICON__* icon) const { DestroyIcon(icon); }
void CImageButton::CursorDeleter::operator()(HICON__* cursor) const { DestroyCursor(cursor); }
void CImageButton::GdiObjectDeleter::operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
void CImageButton::MenuDeleter::operator()(HMENU__* menu) const { DestroyMenu(menu); }
void CImageButton::WindowDeleter::operator()(HWND__* window) const { DestroyWindow(window); }

// The snapshot's bitmap is put back out of its context before either goes.
void CImageButton::SnapshotDeleter::operator()(Snapshot* snapshot) const {
    if (snapshot->dc.Get() && snapshot->oldBitmap) SelectObject(snapshot->dc.Get(), snapshot->oldBitmap);
    delete snapshot;
}

// --- tooltip -------------------------------------------------------------------

void CImageButton::EnsureTip() {
    if (m_tip || !m_hwnd) return;
    INITCOMMONCONTROLSEX controls{sizeof(controls), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    m_tip.reset(CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr, WS_POPUP | TTS_ALWAYSTIP | m_tipStyle,
                                CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, m_hwnd, nullptr,
                                GetModuleHandleW(nullptr), nullptr));
    if (!m_tip) return;
    SendMessageW(m_tip.get(), TTM_ACTIVATE, FALSE, 0);
    SendMessageW(m_tip.get(), TTM_SETMAXTIPWIDTH, 0, kTipMaxWidth);
}

CImageButton::WindowHandle CImageButton::TipHandle() const { return m_tip.get(); }

void CImageButton::SetTipText(const char* utf8, bool activate) {
    if (!utf8) return;
    // Attach hands the kept text back in: it is not copied onto itself.
    if (!m_tipText || *m_tipText != utf8) m_tipText = utf8;
    m_tipActive = activate;
    EnsureTip();
    if (!m_tip) return;
    std::wstring text = Utf16(utf8);
    TTTOOLINFOW tool = ToolInfo(m_hwnd);
    tool.lpszText = text.data();
    if (!HasTool(m_tip.get())) {
        GetClientRect(m_hwnd, &tool.rect);
        SendMessageW(m_tip.get(), TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    }
    SendMessageW(m_tip.get(), TTM_UPDATETIPTEXTW, 0, reinterpret_cast<LPARAM>(&tool));
    ActivateTip(activate);
}

void CImageButton::SetTipText(int stringId, bool activate) {
    const std::string text = ResString(stringId);
    if (!text.empty()) SetTipText(text.c_str(), activate);
}

void CImageButton::ActivateTip(bool activate) {
    if (m_tipText) m_tipActive = activate;
    if (HasTool(m_tip.get())) SendMessageW(m_tip.get(), TTM_ACTIVATE, activate ? TRUE : FALSE, 0);
}

void CImageButton::RelayToTip(unsigned message, std::uintptr_t wParam, std::intptr_t lParam) {
    EnsureTip();
    if (!m_tip) return;
    MSG relayed{m_hwnd, message, wParam, lParam, static_cast<DWORD>(GetMessageTime()), {}};
    const DWORD where = GetMessagePos();
    relayed.pt = {GET_X_LPARAM(where), GET_Y_LPARAM(where)};
    SendMessageW(m_tip.get(), TTM_RELAYEVENT, 0, reinterpret_cast<LPARAM>(&relayed));
}

void CImageButton::FitTipToButton() {
    if (!HasTool(m_tip.get())) return;
    TTTOOLINFOW tool = ToolInfo(m_hwnd);
    GetClientRect(m_hwnd, &tool.rect);
    SendMessageW(m_tip.get(), TTM_NEWTOOLRECTW, 0, reinterpret_cast<LPARAM>(&tool));
}

// --- cursor ---------------------------------------------------------------------

std::uint32_t CImageButton::SetHoverCursor(int cursorId, bool repaint) {
    m_cursor.reset();
    if (cursorId == 0) return IB_OK;
    Repaint(repaint);
    m_cursor.reset(static_cast<HCURSOR>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(cursorId), IMAGE_CURSOR, 0, 0, LR_DEFAULTSIZE)));
    return m_cursor ? IB_OK : IB_NO_RESOURCE;
}

// --- sounds ---------------------------------------------------------------------

std::uint32_t CImageButton::SetSoundFor(const char* sound, ModuleHandle module, bool onClick, bool async) {
    SoundSlot& slot = m_sounds[onClick ? 1 : 0];
    if (!sound) {
        slot = {};
        return IB_OK;
    }
    SoundSlot next;
    next.module = module;
    next.flags = SoundFlags(module != nullptr, async);
    if (IS_INTRESOURCE(sound)) {
        // A resource number: the sound call finds "#n" as it finds the number.
        if (!module) return IB_BAD_ARGUMENT;
        char number[16];
        std::snprintf(number, sizeof(number), "#%u", static_cast<unsigned>(reinterpret_cast<std::uintptr_t>(sound)));
        next.name = number;
    } else {
        if (!FitsPathBuffer(sound)) return IB_BAD_ARGUMENT;
        next.name = sound;
    }
    // Refused here rather than silent at the first hover or click.
    const std::wstring name = Utf16(next.name);
    if (module ? !FindResourceW(module, name.c_str(), L"WAVE")
               : GetFileAttributesW(name.c_str()) == INVALID_FILE_ATTRIBUTES) {
        return IB_NO_RESOURCE;
    }
    slot = std::move(next);
    return IB_OK;
}

void CImageButton::PlaySlot(std::size_t index) const {
    const SoundSlot& slot = m_sounds[index];
    if (!slot.Set()) return;
    SoundRequest request{slot.module ? std::string() : slot.name, slot.name, slot.flags};
    request.module = slot.module;
    PlaySoundRequest(request);
}

// --- drop-down menu ----------------------------------------------------------------

std::uint32_t CImageButton::SetDropMenu(int menuId, WindowHandle owner, bool /*flatLook*/, int toolbarId,
                                        int imageSize, ColorRef background, bool repaint) {
    m_menu.reset();
    m_menuImages.clear();
    m_menuOwner = nullptr;
    m_menuShown = false;
    if (menuId != 0) {
        const HINSTANCE module = GetModuleHandleW(nullptr);
        OwnedMenu menu(LoadMenuW(module, MAKEINTRESOURCEW(menuId)));
        if (!menu || !GetSubMenu(menu.get(), 0)) return IB_NO_RESOURCE;
        if (toolbarId != 0) {
            // The toolbar's bitmap holds one square image per command, left
            // to right; each goes beside its item, on the menu's colour.
            const OwnedBitmap strip(static_cast<HBITMAP>(
                LoadImageW(module, MAKEINTRESOURCEW(toolbarId), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR)));
            BITMAP header{};
            if (!strip || imageSize <= 0 || !GetObjectW(strip.get(), sizeof(header), &header)) return IB_NO_RESOURCE;
            const HMENU popup = GetSubMenu(menu.get(), 0);
            const ScreenDc screen;
            const MemoryDc from, to;
            int at = 0;
            for (int item = 0; item < GetMenuItemCount(popup); ++item) {
                const UINT command = GetMenuItemID(popup, item);
                if (command == 0 || command == static_cast<UINT>(-1)) continue;  // separators and submenus
                if ((at + 1) * imageSize > header.bmWidth) break;
                OwnedBitmap image(CreateCompatibleBitmap(screen.Get(), imageSize, imageSize));
                if (!image) break;
                {
                    const Selected source(from.Get(), strip.get()), target(to.Get(), image.get());
                    BitBlt(to.Get(), 0, 0, imageSize, imageSize, from.Get(), at++ * imageSize, 0, SRCCOPY);
                    const COLORREF menuColour = GetSysColor(COLOR_MENU);
                    for (int y = 0; y < imageSize; ++y)
                        for (int x = 0; x < imageSize; ++x)
                            if ((GetPixel(to.Get(), x, y) & 0xFFFFFF) == COLORREF{background}) SetPixel(to.Get(), x, y, menuColour);
                }
                MENUITEMINFOW info{};
                info.cbSize = sizeof(info);
                info.fMask = MIIM_BITMAP;
                info.hbmpItem = image.get();
                SetMenuItemInfoW(popup, item, TRUE, &info);
                m_menuImages.push_back(std::move(image));
            }
        }
        m_menu = std::move(menu);
        m_menuOwner = owner;
    }
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetDropMenu(MenuHandle menu, WindowHandle owner, bool repaint) {
    m_menuImages.clear();
    m_menu.reset(menu);
    m_menuOwner = m_menu ? owner : nullptr;
    m_menuShown = false;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetMenuNotify(WindowHandle target, unsigned message, std::intptr_t value) {
    m_menuNotify = {target, message, value};
    return IB_OK;
}

void CImageButton::DropMenu() {
    const HMENU popup = m_menu ? GetSubMenu(m_menu.get(), 0) : nullptr;
    if (!popup || !m_hwnd) return;
    const HWND button = m_hwnd;
    RECT place{};
    GetWindowRect(button, &place);
    m_menuShown = true;
    Repaint(true);
    UpdateWindow(button);
    if (m_menuNotify.target)
        SendMessageW(m_menuNotify.target, m_menuNotify.message, reinterpret_cast<WPARAM>(popup), m_menuNotify.value);
    const auto command = static_cast<UINT>(TrackPopupMenu(
        popup, TPM_LEFTALIGN | TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, place.left, place.bottom, 0, button, nullptr));
    // The menu's loop ran the window's messages: the control may be gone.
    if (m_hwnd != button) return;
    m_menuShown = false;
    Repaint(true);
    if (command != 0 && m_menuOwner) PostMessageW(m_menuOwner, WM_COMMAND, MAKEWPARAM(command & 0xFFFF, 0), 0);
}

// --- transparent face --------------------------------------------------------------

void CImageButton::SetTransparent(bool repaint) {
    m_transparent = true;
    m_background.reset();
    Repaint(repaint);
}

bool CImageButton::HasBackgroundSnapshot() const { return m_background != nullptr; }

std::uint32_t CImageButton::CaptureBackground(DcHandle parentDc) {
    if (!m_transparent || !parentDc) return IB_BAD_ARGUMENT;
    m_background.reset();
    TakeSnapshot(parentDc);
    return IB_OK;
}

bool CImageButton::TakeSnapshot(DcHandle source) {
    const HWND parent = m_hwnd ? GetParent(m_hwnd) : nullptr;
    if (!parent) return false;
    RECT client{}, place{};
    GetClientRect(m_hwnd, &client);
    GetWindowRect(m_hwnd, &place);
    MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&place), 2);
    std::unique_ptr<Snapshot, SnapshotDeleter> snapshot(new Snapshot(source));
    snapshot->bitmap.reset(CreateCompatibleBitmap(source, client.right, client.bottom));
    if (!snapshot->dc.Get() || !snapshot->bitmap) return false;
    snapshot->oldBitmap = SelectObject(snapshot->dc.Get(), snapshot->bitmap.get());
    BitBlt(snapshot->dc.Get(), 0, 0, client.right, client.bottom, source, place.left, place.top, SRCCOPY);
    m_background = std::move(snapshot);
    return true;
}

void CImageButton::PaintSavedBackground(DcHandle dc) {
    if (!m_background) {
        // The parent's pixels as they are on the screen now, once.
        const HWND parent = m_hwnd ? GetParent(m_hwnd) : nullptr;
        if (const HDC parentDc = parent ? GetDC(parent) : nullptr) {
            TakeSnapshot(parentDc);
            ReleaseDC(parent, parentDc);
        }
    }
    if (!m_background) return;
    RECT client{};
    GetClientRect(m_hwnd, &client);
    BitBlt(dc, 0, 0, client.right, client.bottom, m_background->dc.Get(), 0, 0, SRCCOPY);
}
