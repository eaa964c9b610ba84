// The widgets of the template's controls, and where they sit.

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStyle>
#include <QProgressBar>
#include <QTreeWidget>

#include "CanvasQt.h"
#include "ComboStyle.h"
#include "DialogBaseQt.h"
#include "res/Resources.h"

namespace {

// Two lines of a dialog font, in dialog units (a line is 8).
constexpr int kTwoLines = 16;

int LogicalDpi(const QWidget* window) {
    return qRound(window->screen() ? window->screen()->logicalDotsPerInchY() : 96.0);
}

// The system icon size (32 pixels at 96 DPI): a static icon control takes it
// whatever its template rectangle says.
int SystemIconSize(const QWidget* window) {
    return window->style()->pixelMetric(QStyle::PM_LargeIconSize, nullptr, window);
}

// The drop-down button of a combo box, 13 pixels wide at 96 DPI: room for
// "COM30" in the port list.
int ComboArrowWidth(const QWidget* window) { return MulDiv(13, LogicalDpi(window), 96); }

QLabel* MakeStatic(const DlgItem& item, QWidget* parent) {
    auto* label = new QLabel(QString::fromUtf8(item.text), parent);
    label->setTextFormat(Qt::PlainText);
    Qt::Alignment horizontal = Qt::AlignLeft;
    if (item.kind == DlgItemKind::RText) horizontal = Qt::AlignRight;
    if (item.kind == DlgItemKind::CText) horizontal = Qt::AlignHCenter;
    // Static texts start at the top of their rectangle.
    label->setAlignment(horizontal | Qt::AlignTop);
    // A static text of two lines or more breaks its words as a Windows one
    // does; a one-line text keeps its line.
    label->setWordWrap(item.cy >= kTwoLines);
    if (item.style & DlgStyle::LargeText) label->setFont(LargeFont(parent->font()));
    return label;
}

// A static icon control draws its icon at the system icon size from its
// top-left corner, stretching an icon image that is smaller (the grid
// legend's 16-pixel squares), as the Windows dialog manager does.
QLabel* MakeStaticIcon(const DlgItem& item, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    const int size = SystemIconSize(parent);
    const qreal ratio = parent->devicePixelRatio();
    const int pixels = qRound(size * ratio);
    QPixmap pixmap = LoadAppIcon(item.resource).pixmap(QSize(size, size), ratio);
    if (pixmap.isNull()) return label;
    if (pixmap.size() != QSize(pixels, pixels))
        pixmap = pixmap.scaled(pixels, pixels, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    pixmap.setDevicePixelRatio(ratio);
    label->setPixmap(pixmap);
    return label;
}

// A list view in report mode: rows of cells under a header, whole rows
// selected, nothing edited in place, no tree branches.
QTreeWidget* MakeReportList(QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(0);
    list->setRootIsDecorated(false);
    list->setItemsExpandable(false);
    list->setUniformRowHeights(true);
    list->setAllColumnsShowFocus(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->header()->setStretchLastSection(true);
    list->header()->setSectionsMovable(false);
    return list;
}

QComboBox* MakeCombo(const DlgItem& item, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    // One style per box, owned by it.
    auto* style = new CComboArrowStyle(ComboArrowWidth(parent));
    style->setParent(combo);
    combo->setStyle(style);
    const bool editable = item.kind == DlgItemKind::ComboDropDown;
    combo->setEditable(editable);
    if (editable) {
        // The edit part of the box neither completes the typed text nor adds
        // it to the list on Enter.
        combo->setCompleter(nullptr);
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setDuplicatesEnabled(true);
    }
    for (const char* entry : item.items) combo->addItem(QString::fromUtf8(entry));
    // The box starts with nothing selected.
    combo->setCurrentIndex(-1);
    if (QLineEdit* edit = combo->lineEdit()) {
        // An entry wider than the box shows its start, selected while the box
        // has the focus, as the Windows edit of a combo box does.
        QObject::connect(combo, &QComboBox::currentIndexChanged, edit, [edit] {
            const int length = static_cast<int>(edit->text().size());
            if (edit->hasFocus())
                edit->setSelection(length, -length);
            else
                edit->setCursorPosition(0);
        });
    }
    return combo;
}

}  // namespace

QWidget* CDialogBase::CreateControl(const DlgItem& item) {
    switch (item.kind) {
        case DlgItemKind::LText:
        case DlgItemKind::RText:
        case DlgItemKind::CText: return MakeStatic(item, this);
        case DlgItemKind::Icon: return MakeStaticIcon(item, this);
        case DlgItemKind::Edit: {
            auto* edit = new QLineEdit(this);
            edit->setReadOnly(item.style & DlgStyle::ReadOnly);
            return edit;
        }
        case DlgItemKind::PushButton:
        case DlgItemKind::DefPushButton: {
            auto* button = new QPushButton(QString::fromUtf8(item.text), this);
            // Enter belongs to the dialog, which clicks the focused button.
            button->setAutoDefault(false);
            button->setDefault(item.kind == DlgItemKind::DefPushButton);
            return button;
        }
        case DlgItemKind::ComboDropDown:
        case DlgItemKind::ComboDropList: return MakeCombo(item, this);
        case DlgItemKind::AutoCheckBox: return new QCheckBox(QString::fromUtf8(item.text), this);
        case DlgItemKind::GroupBox: return new QGroupBox(QString::fromUtf8(item.text), this);
        case DlgItemKind::ListView: return MakeReportList(this);
        case DlgItemKind::Canvas: return MakeCanvas(item);
        case DlgItemKind::Progress: {
            // A bar alone, as the Windows control draws it: the window says
            // in words how far it has come.
            auto* bar = new QProgressBar(this);
            bar->setTextVisible(false);
            bar->setRange(0, 100);
            bar->setValue(0);
            return bar;
        }
    }
    return nullptr;
}

namespace {

// The template's cy of a combo box is the height of the box with its list
// dropped. The closed box is as high as an edit field; the rest is the list.
void PlaceCombo(QComboBox* combo, const DlgItem& item, const CDialogUnits& units) {
    const int closed = qBound(units.Y(12), combo->sizeHint().height(), units.Y(14));
    combo->setGeometry(units.X(item.x), units.Y(item.y), units.X(item.cx), closed);
    const int itemHeight = qMax(1, QFontMetrics(combo->font()).height());
    combo->setMaxVisibleItems(qMax(1, (units.Y(item.cy) - closed) / itemHeight));
}

bool IsStaticText(DlgItemKind kind) {
    return kind == DlgItemKind::LText || kind == DlgItemKind::RText || kind == DlgItemKind::CText;
}

// A static text keeps its template rectangle but grows, about its middle, to
// the font's line height, so that no glyph is cut.
QRect StaticTextRect(const DlgItem& item, const CDialogUnits& units, int lineHeight) {
    QRect rect = units.Rect(item.x, item.y, item.cx, item.cy);
    if (rect.height() < lineHeight) {
        const int grow = lineHeight - rect.height();
        rect.adjust(0, -grow / 2, 0, grow - grow / 2);
    }
    return rect;
}

}  // namespace

void CDialogBase::BuildControls() {
    DetachReplacements();
    qDeleteAll(m_controls);
    m_controls.clear();
    m_items.clear();
    m_defaultButtonId = 0;
    m_systemMenu.clear();

    const qreal dpi = screen() ? screen()->logicalDotsPerInchY() : 96.0;
    setFont(DialogFont(*m_template, dpi));
    m_units = MeasureDialogUnits(font());
    setWindowTitle(QString::fromUtf8(m_template->caption));
    setWindowIcon(LoadAppIcon(IDR_MAINFRAME));
    setFixedSize(m_units.X(m_template->cx), m_units.Y(m_template->cy));

    for (const DlgItem& item : m_template->items) {
        QWidget* widget = CreateControl(item);
        if (!widget) continue;
        m_controls.push_back(widget);
        if (item.id != -1) {
            m_items[item.id] = widget;
            widget->setObjectName(QStringLiteral("ctl%1").arg(item.id));
        }

        if (auto* combo = qobject_cast<QComboBox*>(widget)) {
            PlaceCombo(combo, item, m_units);
        } else if (item.kind == DlgItemKind::Icon) {
            const int size = SystemIconSize(this);
            widget->setGeometry(m_units.X(item.x), m_units.Y(item.y), size, size);
        } else if (IsStaticText(item.kind)) {
            widget->setGeometry(StaticTextRect(item, m_units, QFontMetrics(font()).height()));
        } else {
            widget->setGeometry(m_units.Rect(item.x, item.y, item.cx, item.cy));
        }

        if (widget->focusPolicy() != Qt::NoFocus)
            widget->setFocusPolicy((item.style & DlgStyle::TabStop) ? Qt::StrongFocus : Qt::ClickFocus);
        widget->setEnabled(!(item.style & DlgStyle::Disabled));
        widget->setHidden(!(item.style & DlgStyle::Visible));
        if (item.kind == DlgItemKind::DefPushButton) m_defaultButtonId = item.id;
        ConnectControl(item, widget);
    }
}
