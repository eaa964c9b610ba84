#pragma once
// An owner-drawn push button for dialog windows. It paints its face in one of
// three colour states (at rest, focused, hot = hovered or pressed), has a flat
// look in which an edge shows only while the mouse is over it, and keeps the
// template's control in everything else: a window attaches it to one of its
// controls with SubclassDlgItem, which puts it in the control's place.
//
// Colour state precedence: hot first, then focused, then at rest. The fields,
// setters, slot choice and placement are the platform-neutral model's
// (ImageButtonModel.h); this class adds Qt's drawing and desktop.
//
// Window thread only.

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include <QCursor>
#include <QEvent>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QPoint>
#include <QPointer>
#include <QPushButton>
#include <QRect>

#include "ColorRefQt.h"
#include "widgets/ImageButtonModel.h"

class CDialogBase;
class QMenu;
class QPainter;
class QTemporaryFile;

// The dialog-code answer of a button, besides its push-button part.
inline constexpr std::uint32_t kDlgcButton = 0x2000;

// What the owner of a drop-down menu is told just before the menu opens.
class CMenuNotifyEvent : public QEvent {
public:
    static QEvent::Type EventType();
    CMenuNotifyEvent(int message, QMenu* submenu, std::intptr_t value)
        : QEvent(EventType()), m_message(message), m_submenu(submenu), m_value(value) {}
    int m_message;
    QMenu* m_submenu;
    std::intptr_t m_value;
};

class CImageButton : public QPushButton, protected CImageButtonModel {
    Q_OBJECT
public:
    // Creates no window: the object comes alive when attached to a control.
    CImageButton();
    ~CImageButton() override;
    CImageButton(const CImageButton&) = delete;
    CImageButton& operator=(const CImageButton&) = delete;

    // Attaches the button to control `id` of `parent`: the pre-subclass hook
    // reads the control's button type, then the button takes the control's
    // place. False when the window has no such control.
    bool SubclassDlgItem(int id, CDialogBase& parent);

    // --- colours (the model's setters draw the button again) ------------------
    using CImageButtonModel::SetStateColor;
    using CImageButtonModel::GetStateColor;
    using CImageButtonModel::ShiftStateColor;
    // The faces to the palette's button colour, the texts to its button-text
    // colour, as they are now.
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
    using CImageButtonModel::IsDefaultButton;
    // The button-style message: type 1 makes the button the default one, 0 a
    // plain one; other types leave it. The button stays owner-drawn.
    void SetButtonStyle(std::uint32_t style, bool redraw = true);
    // The check messages: 1 and 2 check, anything else unchecks; returns 0.
    int SetCheck(int state);
    int GetCheck() const { return m_checkState ? 1 : 0; }
    // What the button answers the dialog manager's dialog-code query with.
    std::uint32_t GetDlgCode() const;

    using CImageButtonModel::IsCheckBox;
    using CImageButtonModel::IsFlat;
    using CImageButtonModel::IsHot;

    // --- images ------------------------------------------------------------
    // An in image (drawn while hot or pressed) and an out image (drawn
    // otherwise): none, another image, or IB_MAKE_GREY / IB_MAKE_DARKER for
    // one made from the in image. A button carries icons or bitmaps, never
    // both: each call first frees every image, and a failed call leaves none.
    std::uint32_t SetIconPair(const QIcon& in, const QIcon& out = {});
    std::uint32_t SetIconPair(const QIcon& in, int outSpecial);
    // From numbered resources, at the given sizes (0: the resource's own).
    std::uint32_t SetIconPair(int inId, int inWidth, int inHeight, int outIdOrSpecial, int outWidth, int outHeight);
    std::uint32_t SetIconPair(int inId, int outIdOrSpecial);
    // Bitmaps are drawn through a mask of their transparent colour.
    std::uint32_t SetBitmapPair(const QImage& in, ColorRef inTransparent, const QImage& out = {},
                                ColorRef outTransparent = 0);
    std::uint32_t SetBitmapPair(const QImage& in, ColorRef inTransparent, int outSpecial);
    std::uint32_t SetBitmapPair(int inId, ColorRef inTransparent, int outIdOrSpecial, ColorRef outTransparent);
    void FreeImages();
    // Sizes the button to its in image (icon first, else bitmap); false
    // without an image.
    bool FitToImage();
    // Where the image of w x h goes in `item`, and how the caption rectangle
    // makes room for it.
    QRect PlaceImage(bool hasText, const QRect& item, QRect& caption, bool pressed, int w, int h) const;

    // --- tooltip, cursor, link, sounds -------------------------------------
    // A null text does nothing; an empty string-table entry does nothing.
    void SetTipText(const QString& text, bool activate = true);
    void SetTipText(int stringId, bool activate = true);
    // Only once the tooltip has its text.
    void ActivateTip(bool activate);
    using CImageButtonModel::UseBalloonTip;
    void EnsureTip();
    QString TipText() const { return m_tip.hasTool && m_tip.active ? m_tip.text : QString(); }
    using CImageButtonModel::TipStyle;

    // The cursor over the button, from the numbered cursors; 0 removes it.
    std::uint32_t SetHoverCursor(int cursorId, bool repaint = true);
    bool HasHoverCursor() const { return m_cursor.has_value(); }

    // Opened with the desktop's default handler on a click. nullptr clears it.
    using CImageButtonModel::LinkUrl;
    using CImageButtonModel::SetLinkUrl;

    // Slot 0 plays when hovering begins, slot 1 on a click. A null name
    // empties the slot. A sound from a file is named by its path; one from the
    // resources by its name there (written once to a file the button owns).
    enum class SoundSource { File, Resource };
    std::uint32_t SetSoundFor(const char* sound, SoundSource source, bool onClick, bool async);

    // --- drop-down menu ----------------------------------------------------
    // The menu a click opens under the button; the chosen command goes to
    // `owner` as a command of its id. From the numbered menus (0: none), with
    // the images of a numbered toolbar (0: none) of `imageSize` squares on
    // `background`; or a menu of the caller's.
    std::uint32_t SetDropMenu(int menuId, CDialogBase* owner, bool flatLook, int toolbarId, QSize imageSize,
                              ColorRef background, bool repaint = true);
    std::uint32_t SetDropMenu(std::unique_ptr<QMenu> menu, CDialogBase* owner, bool repaint = true);
    // `target` is told (a CMenuNotifyEvent) just before the menu opens.
    std::uint32_t SetMenuNotify(QObject* target, int message, std::intptr_t value);
    using CImageButtonModel::IsMenuShown;

    // --- transparent face --------------------------------------------------
    // The face shows the parent under the button, from a snapshot taken once.
    void SetTransparent(bool repaint = true);
    // Takes the snapshot from `parentClient` (the parent's client area as an
    // image); IB_BAD_ARGUMENT outside transparent mode or without an image.
    std::uint32_t CaptureBackground(const QPixmap* parentClient);
    bool HasBackgroundSnapshot() const { return m_background.has_value(); }

protected:
    // The state of one paint, as the owner-draw record gives it.
    struct DrawItemState {
        bool selected = false;  // pressed
        bool focus = false;
        bool disabled = false;
    };

    // The pre-subclass hook: check-box mode for button types with bit 2 set,
    // the default-button state for type 1.
    virtual void PreSubclassWindow(int buttonType);
    // The owner-draw entry: face, edge, images, caption, focus rectangle.
    virtual void DrawItem(QPainter& dc, const DrawItemState& state, const QRect& item);

    // The paint steps, in this order. PaintFace may shrink the face
    // rectangle; the image steps may narrow or move the caption rectangle.
    virtual void PaintFace(QPainter& dc, QRect& face);
    virtual void PaintEdge(QPainter& dc, const QRect& face);
    virtual void PaintIcon(QPainter& dc, bool hasText, const QRect& item, QRect& caption, bool pressed,
                           bool disabled);
    virtual void PaintBitmap(QPainter& dc, bool hasText, const QRect& item, QRect& caption, bool pressed,
                             bool disabled);
    virtual void PaintCaption(QPainter& dc, const QString& text, const QRect& item, QRect& caption,
                              bool pressed, bool disabled);
    // The transparent face: the snapshot of the parent, taken at first use.
    virtual void PaintSavedBackground(QPainter& dc);

    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void changeEvent(QEvent* event) override;
    void checkStateSet() override;
    bool event(QEvent* event) override;

    // The fields that are Qt's, in the order of the button's record (the
    // rest are the model's).
    QPointer<CDialogBase> m_menuOwner;
    std::unique_ptr<QMenu> m_menu;
    std::optional<QCursor> m_cursor;
    struct TipState {
        bool created = false;
        bool hasTool = false;
        bool active = false;
        QString text;
    } m_tip;
    std::optional<QPixmap> m_background;  // the parent under the button
    // The images as drawn: bitmaps already combined with their masks, and
    // the disabled look made beside them.
    struct ImageSlot {
        QImage image;
        QImage disabled;
        QImage mask;  // bitmaps: 1 where the transparent colour was
        ColorRef transparent = 0;
        QSize size;
        bool Set() const { return !image.isNull(); }
    };
    std::array<ImageSlot, 2> m_icons;
    std::array<ImageSlot, 2> m_bitmaps;
    struct MenuNotify {
        QPointer<QObject> target;
        int message = 0;
        std::intptr_t value = 0;
    } m_menuNotify;
    struct SoundSlot {
        std::string fileName;  // what the caller named
        std::uint32_t flags = 0;
        std::shared_ptr<QTemporaryFile> resourceFile;  // a resource sound, written out once
        std::string path;      // what is played
        bool Set() const { return !path.empty(); }
    };
    std::array<SoundSlot, 2> m_sounds;

private:
    // Hover tracking: a move over the button makes it hot, unless the left
    // button is held (a drag that began elsewhere); anything else ends it.
    void TrackHover(const QPointF& position, Qt::MouseButtons buttons);
    void CancelHover();
    // The button's side of a click, before the owner's command.
    void OnClicked();
    // Disabling moves the focus on to the next tab stop of the window.
    void MoveFocusToNextTabStop();
    void Repaint(bool repaint) override;
    bool HasIcon() const { return m_icons[0].Set(); }
    bool HasBitmap() const { return m_bitmaps[0].Set(); }
    void PaintImage(QPainter& dc, const ImageSlot& slot, bool hasText, const QRect& item, QRect& caption,
                    bool pressed, bool disabled, bool showDisabled);
    std::uint32_t TakeIcons(QImage in, QImage out, int outSpecial);
    std::uint32_t TakeBitmaps(QImage in, ColorRef inTransparent, QImage out, ColorRef outTransparent,
                              int outSpecial);
    void PlaySlot(std::size_t slot);
    void ShowDropMenu();
    void ApplyTip();
};
