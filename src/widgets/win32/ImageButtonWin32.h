#pragma once
// The image button on Windows: an owner-drawn push button that paints its face
// in one of three colour states (at rest, focused, hot = hovered or pressed),
// with a flat look in which an edge shows only while the mouse is over it. A
// window attaches it to one of its template's buttons with SubclassDlgItem;
// the control stays the dialog manager's button (focus, Tab, clicks, the
// command to the window), and the button draws it and follows the mouse.
//
// Colour state precedence: hot first, then focused, then at rest.
//
// The parent's draw-item message reaches the button without the dialog's
// help: attaching also subclasses the parent, which hands every owner-draw
// record of an attached image button to it (DrawIfOurs) and passes anything
// else on.
//
// The fields, setters, slot choice and placement are the platform-neutral
// model's (ImageButtonModel.h); this class adds GDI's drawing, the images
// (icons and bitmaps with their masks and grey or darker copies, made once
// when set), the tooltip control, sounds, the drop-down menu, the link, the
// hover cursor and the transparent face.
//
// Window thread only. No <windows.h> here: its macros collide with the
// dialog verbs.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "widgets/ImageButtonModel.h"

struct HWND__;
struct HDC__;
struct HICON__;
struct HBITMAP__;
struct HMENU__;
struct HINSTANCE__;
struct tagRECT;
struct tagDRAWITEMSTRUCT;

class CImageButton : protected CImageButtonModel {
public:
    using WindowHandle = HWND__*;
    using DcHandle = HDC__*;
    using IconHandle = HICON__*;  // icons and cursors
    using BitmapHandle = HBITMAP__*;
    using MenuHandle = HMENU__*;
    using ModuleHandle = HINSTANCE__*;

    // GDI objects the button owns, each freed with its own call.
    struct IconDeleter {
        void operator()(HICON__* icon) const;
    };
    struct CursorDeleter {
        void operator()(HICON__* cursor) const;
    };
    struct GdiObjectDeleter {
        void operator()(void* object) const;
    };
    struct MenuDeleter {
        void operator()(HMENU__* menu) const;
    };
    struct WindowDeleter {
        void operator()(HWND__* window) const;
    };
    using OwnedIcon = std::unique_ptr<HICON__, IconDeleter>;
    using OwnedCursor = std::unique_ptr<HICON__, CursorDeleter>;
    using OwnedBitmap = std::unique_ptr<HBITMAP__, GdiObjectDeleter>;
    using OwnedMenu = std::unique_ptr<HMENU__, MenuDeleter>;
    using OwnedWindow = std::unique_ptr<HWND__, WindowDeleter>;

    // Creates no window: the object comes alive when attached to a control.
    CImageButton();
    virtual ~CImageButton();
    CImageButton(const CImageButton&) = delete;
    CImageButton& operator=(const CImageButton&) = delete;

    // Attaches the button to control `id` of `parent` (the Win32 dialog, which
    // hands out its controls' windows by id). False when there is no such
    // control or the button is attached already.
    template <class Dialog>
    bool SubclassDlgItem(int id, Dialog& parent) {
        return Attach(parent.ItemHandle(id));
    }
    // The same for a button window: reads its button type (the pre-subclass
    // step), makes it owner-drawn and follows its messages.
    bool Attach(WindowHandle control);
    // Gives the control back as it is (still owner-drawn); also done by the
    // destructor and when the control's window goes.
    void Detach();
    WindowHandle Handle() const { return m_hwnd; }

    // --- colours (the model's setters draw the button again) ------------------
    using CImageButtonModel::SetStateColor;
    using CImageButtonModel::GetStateColor;
    using CImageButtonModel::ShiftStateColor;
    // The faces to the system's button-face colour, the texts to its
    // button-text colour, as they are now.
    std::uint32_t ResetColors(bool repaint = true);

    // --- look ---------------------------------------------------------------
    using CImageButtonModel::SetFlatLook;
    using CImageButtonModel::SetFlatBorder;
    using CImageButtonModel::SetFlatFocus;
    using CImageButtonModel::SetHoverAlways;
    using CImageButtonModel::SetImageAlign;
    using CImageButtonModel::SetPressShift;

    // --- check state and default button --------------------------------------
    // Only in check-box mode: checked when `state` is non-zero.
    std::uint32_t SetCheckState(int state, bool repaint = true);
    using CImageButtonModel::GetCheckState;
    using CImageButtonModel::IsCheckBox;
    using CImageButtonModel::IsDefaultButton;
    using CImageButtonModel::IsFlat;
    using CImageButtonModel::IsHot;

    // --- images ------------------------------------------------------------
    // An in image (drawn while hot or pressed) and an out image (drawn
    // otherwise): none, another image, or IB_MAKE_GREY / IB_MAKE_DARKER for
    // one made from the in image. The button owns every image handed to it.
    // A button carries icons or bitmaps, never both: each call first frees
    // every image, and a failed call leaves none.
    std::uint32_t SetIconPair(IconHandle in, IconHandle out = nullptr);
    std::uint32_t SetIconPair(IconHandle in, int outSpecial);
    // From the program's icon resources, at the given sizes (0: the
    // resource's own).
    std::uint32_t SetIconPair(int inId, int inWidth, int inHeight, int outIdOrSpecial, int outWidth, int outHeight);
    std::uint32_t SetIconPair(int inId, int outIdOrSpecial);
    // Bitmaps are drawn through a mask of their transparent colour.
    std::uint32_t SetBitmapPair(BitmapHandle in, ColorRef inTransparent, BitmapHandle out = nullptr,
                                ColorRef outTransparent = 0);
    std::uint32_t SetBitmapPair(BitmapHandle in, ColorRef inTransparent, int outSpecial);
    std::uint32_t SetBitmapPair(int inId, ColorRef inTransparent, int outIdOrSpecial, ColorRef outTransparent);
    void FreeImages();
    // Sizes the button to its in image (icon first, else bitmap); false
    // without an image.
    bool FitToImage();
    // Where the image of w x h goes in `item`, and how the caption rectangle
    // makes room for it.
    PixelRect PlaceImage(bool hasText, const PixelRect& item, PixelRect& caption, bool pressed, int w, int h) const;

    // --- tooltip, cursor, link, sounds -------------------------------------
    // A null text does nothing; an empty string-table entry does nothing.
    // The first text adds the tooltip's one tool (id 1, the button's client
    // area); later ones change its text. A text set before the button is
    // attached (or while it is detached) is kept for the next attachment.
    void SetTipText(const char* utf8, bool activate = true);
    void SetTipText(int stringId, bool activate = true);
    // Only once the tooltip has its tool.
    void ActivateTip(bool activate);
    using CImageButtonModel::TipStyle;
    using CImageButtonModel::UseBalloonTip;
    // Makes the tooltip control once the button is attached: deactivated,
    // tips at most 400 pixels wide.
    void EnsureTip();
    WindowHandle TipHandle() const;

    // The cursor over the button, from the program's cursor resources; 0
    // removes it.
    std::uint32_t SetHoverCursor(int cursorId, bool repaint = true);
    bool HasHoverCursor() const { return m_cursor != nullptr; }

    // Opened with the shell's "open" on a click. nullptr clears it.
    using CImageButtonModel::LinkUrl;
    using CImageButtonModel::SetLinkUrl;

    // Slot 0 plays when hovering begins, slot 1 on a click. A null name
    // empties the slot. Without a module the name is a file's (IB_NO_RESOURCE
    // when there is none); with one, a WAVE resource's of that module (a
    // number made with MAKEINTRESOURCE is taken too).
    std::uint32_t SetSoundFor(const char* sound, ModuleHandle module, bool onClick, bool async);

    // --- drop-down menu ----------------------------------------------------
    // The menu a click opens under the button (the first submenu of a menu
    // resource); the chosen command goes to `owner` as a WM_COMMAND of its
    // id. From the program's menu resources (0: none), with the images of
    // the toolbar bitmap `toolbarId` (0: none) of `imageSize` squares on
    // `background`; or a menu of the caller's, which the button then owns. A
    // plain menu stands in for an owner-drawn one: `flatLook` changes nothing.
    std::uint32_t SetDropMenu(int menuId, WindowHandle owner, bool flatLook, int toolbarId, int imageSize,
                              ColorRef background, bool repaint = true);
    std::uint32_t SetDropMenu(MenuHandle menu, WindowHandle owner, bool repaint = true);
    // `target` is sent `message` with the submenu and `value` just before the
    // menu opens.
    std::uint32_t SetMenuNotify(WindowHandle target, unsigned message, std::intptr_t value);
    using CImageButtonModel::IsMenuShown;

    // --- transparent face --------------------------------------------------
    // The face shows the parent under the button, from a snapshot taken once.
    void SetTransparent(bool repaint = true);
    // Takes the snapshot from `parentDc` (a context of the parent's client
    // area); IB_BAD_ARGUMENT outside transparent mode or without a context.
    std::uint32_t CaptureBackground(DcHandle parentDc);
    bool HasBackgroundSnapshot() const;

    // --- drawing --------------------------------------------------------------
    // The owner-draw entry: face (or the parent's snapshot), edge, image,
    // caption and focus rectangle into the record's context, by the record's
    // state and the button's own.
    void DrawItem(const tagDRAWITEMSTRUCT& record);
    // Draws `record` when it is for an attached image button; false
    // otherwise. For a window that catches its draw-item messages itself.
    static bool DrawIfOurs(const tagDRAWITEMSTRUCT& record);

protected:
    // The pre-subclass step, given the control's style: check-box mode for
    // button types with bit 2 set, the default-button state for type 1.
    virtual void PreSubclassWindow(std::uint32_t style);

    // The paint steps, in this order. PaintFace may shrink the face
    // rectangle; the image steps may narrow or move the caption rectangle.
    virtual void PaintFace(DcHandle dc, tagRECT& face);
    virtual void PaintEdge(DcHandle dc, const tagRECT& face);
    virtual void PaintIcon(DcHandle dc, bool hasText, const tagRECT& item, tagRECT& caption, bool pressed,
                           bool disabled);
    virtual void PaintBitmap(DcHandle dc, bool hasText, const tagRECT& item, tagRECT& caption, bool pressed,
                             bool disabled);
    virtual void PaintCaption(DcHandle dc, const std::wstring& text, const tagRECT& item, tagRECT& caption,
                              bool pressed, bool disabled);
    // The transparent face: the snapshot of the parent, taken at first use.
    virtual void PaintSavedBackground(DcHandle dc);

    // The parent's pixels under the button: a memory context with the
    // snapshot's bitmap selected, the context's own bitmap put back first
    // when it goes.
    struct Snapshot;
    struct SnapshotDeleter {
        void operator()(Snapshot* snapshot) const;
    };

    // The fields that are GDI's, in the order of the button's record (the
    // rest are the model's).
    WindowHandle m_menuOwner = nullptr;
    OwnedMenu m_menu;
    OwnedCursor m_cursor;
    OwnedWindow m_tip;
    std::unique_ptr<Snapshot, SnapshotDeleter> m_background;
    struct IconSlot {
        OwnedIcon icon;
        int width = 0;  // twice the hot spot
        int height = 0;
        bool Set() const { return icon != nullptr; }
    };
    std::array<IconSlot, 2> m_icons;
    struct BitmapSlot {
        OwnedBitmap bitmap;  // pixels of the transparent colour made black
        int width = 0;
        int height = 0;
        OwnedBitmap mask;  // 1 where the transparent colour was
        ColorRef transparent = 0;
        bool Set() const { return bitmap != nullptr; }
    };
    std::array<BitmapSlot, 2> m_bitmaps;
    struct MenuNotify {
        WindowHandle target = nullptr;
        unsigned message = 0;
        std::intptr_t value = 0;
    } m_menuNotify;
    struct SoundSlot {
        std::string name;  // a file, or a resource's name ("#n" for a number)
        ModuleHandle module = nullptr;  // the resource's; none for a file
        std::uint32_t flags = 0;
        bool Set() const { return flags != 0; }
    };
    std::array<SoundSlot, 2> m_sounds;
    // Bitmaps of the menu's items, cut from the toolbar.
    std::vector<OwnedBitmap> m_menuImages;
    // The tooltip's last text and state, which a new attachment takes up.
    std::optional<std::string> m_tipText;
    bool m_tipActive = false;

private:
    // The control's and the parent's messages that the button takes a part
    // in (ImageButtonInputWin32.cpp).
    friend struct ImageButtonMessages;

    // Hover tracking: a move over the button makes it hot, unless the left
    // button is held (a drag that began elsewhere); anything else ends it.
    void TrackHover(int x, int y, bool leftButtonDown);
    void CancelHover();
    // The button's side of a click, before the parent's command.
    void OnClicked();
    // Disabling moves the focus on to the next tab stop of the window.
    void MoveFocusToNextTabStop();
    void Repaint(bool repaint) override;
    bool HasIcon() const { return m_icons[0].Set(); }
    bool HasBitmap() const { return m_bitmaps[0].Set(); }
    std::uint32_t TakeIcons(OwnedIcon in, OwnedIcon out, int outSpecial);
    std::uint32_t TakeBitmaps(OwnedBitmap in, ColorRef inTransparent, OwnedBitmap out, ColorRef outTransparent,
                              int outSpecial);
    void PlaySlot(std::size_t slot) const;
    // A click's drop-down menu: tracked at the button's bottom-left, the
    // chosen command posted to the owner.
    void DropMenu();
    // PlaceImage on the paint's GDI rectangles.
    PixelRect PlaceImage(bool hasText, const tagRECT& item, tagRECT& caption, bool pressed, int w, int h) const;
    // The tooltip's relay of a mouse message over the button.
    void RelayToTip(unsigned message, std::uintptr_t wParam, std::intptr_t lParam);
    // The tool keeps covering the button when the button is resized.
    void FitTipToButton();
    // Takes the snapshot of the button's place from `source`, a context of
    // the parent's client area.
    bool TakeSnapshot(DcHandle source);

    WindowHandle m_hwnd = nullptr;
};
