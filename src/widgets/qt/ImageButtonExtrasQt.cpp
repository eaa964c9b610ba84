// The image button's extras: tooltip, hover cursor, link, sounds, drop-down
// menu and transparent face.

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QMenu>
#include <QPainter>
#include <QTemporaryFile>
#include <QToolTip>

#include "widgets/DesktopSeams.h"
#include "DialogBaseQt.h"
#include "ImageButtonQt.h"
#include "res/Resources.h"

namespace {

// Plain text broken into lines no wider than the tooltip's maximum width.
QString WrapForTip(const QString& text) {
    const QFontMetrics metrics(QToolTip::font());
    QStringList lines;
    for (const QString& paragraph : text.split(QLatin1Char('\n'))) {
        QString line;
        for (const QString& word : paragraph.split(QLatin1Char(' '), Qt::KeepEmptyParts)) {
            const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
            if (!line.isEmpty() && metrics.horizontalAdvance(longer) > kTipMaxWidth) {
                lines << line;
                line = word;
            } else {
                line = longer;
            }
        }
        lines << line;
    }
    return lines.join(QLatin1Char('\n'));
}

}  // namespace

QEvent::Type CMenuNotifyEvent::EventType() {
    static const auto type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool CImageButton::event(QEvent* event) {
    // The tooltip comes to life with the first input that reaches the button.
    if (event->type() == QEvent::MouseMove || event->type() == QEvent::Enter) EnsureTip();
    return QPushButton::event(event);
}

// --- tooltip -------------------------------------------------------------------

void CImageButton::EnsureTip() {
    if (m_tip.created) return;
    m_tip.created = true;
    m_tip.active = false;
}

void CImageButton::SetTipText(const QString& text, bool activate) {
    if (text.isNull()) return;
    EnsureTip();
    m_tip.hasTool = true;
    m_tip.text = text;
    ActivateTip(activate);
}

void CImageButton::SetTipText(int stringId, bool activate) {
    const QString text = LoadResString(stringId);
    if (text.isEmpty()) return;
    SetTipText(text, activate);
}

void CImageButton::ActivateTip(bool activate) {
    if (!m_tip.hasTool) return;
    m_tip.active = activate;
    ApplyTip();
}

void CImageButton::ApplyTip() { setToolTip(m_tip.active ? WrapForTip(m_tip.text) : QString()); }

// --- cursor and link -------------------------------------------------------------

std::uint32_t CImageButton::SetHoverCursor(int cursorId, bool repaint) {
    m_cursor.reset();
    unsetCursor();
    if (cursorId == 0) return IB_OK;
    Repaint(repaint);
    const QImage image = LoadCursorResource(cursorId);
    if (image.isNull()) return IB_NO_RESOURCE;
    m_cursor = QCursor(QPixmap::fromImage(image));
    setCursor(*m_cursor);
    return IB_OK;
}

// --- sounds --------------------------------------------------------------------

std::uint32_t CImageButton::SetSoundFor(const char* sound, SoundSource source, bool onClick, bool async) {
    SoundSlot& slot = m_sounds[onClick ? 1 : 0];
    if (!sound) {
        slot = {};
        return IB_OK;
    }
    if (!FitsPathBuffer(sound)) return IB_BAD_ARGUMENT;
    const std::string name(sound);
    SoundSlot next;
    next.fileName = name;
    next.flags = SoundFlags(source == SoundSource::Resource, async);
    if (source == SoundSource::File) {
        if (!QFileInfo(QString::fromStdString(name)).isReadable()) return IB_NO_RESOURCE;
        next.path = name;
    } else {
        // The sound library plays files: the resource is written out once.
        const QByteArray bytes = LoadSoundResource(QString::fromStdString(name));
        if (bytes.isEmpty()) return IB_NO_RESOURCE;
        auto file = std::make_shared<QTemporaryFile>(QDir::tempPath() + QStringLiteral("/sentrabus-sound-XXXXXX.wav"));
        if (!file->open() || file->write(bytes) != bytes.size() || !file->flush()) return IB_NO_RESOURCE;
        next.resourceFile = std::move(file);
        next.path = next.resourceFile->fileName().toStdString();
    }
    slot = std::move(next);
    return IB_OK;
}

void CImageButton::PlaySlot(std::size_t index) {
    const SoundSlot& slot = m_sounds[index];
    if (slot.Set()) PlaySoundRequest({slot.path, slot.fileName, slot.flags});
}

// --- drop-down menu --------------------------------------------------------------

std::uint32_t CImageButton::SetDropMenu(int menuId, CDialogBase* owner, bool /*flatLook*/, int toolbarId,
                                        QSize imageSize, ColorRef background, bool repaint) {
    // A plain menu stands in for the owner-drawn one: its look follows the
    // desktop whatever the style switch says.
    m_menu.reset();
    m_menuOwner = nullptr;
    m_menuShown = false;
    if (menuId != 0) {
        const auto items = LoadMenuResource(menuId);
        if (!items) return IB_NO_RESOURCE;
        auto menu = std::make_unique<QMenu>();
        for (const MenuResourceItem& item : *items) {
            if (item.command == 0) {
                menu->addSeparator();
            } else {
                menu->addAction(item.text)->setData(item.command);
            }
        }
        if (toolbarId != 0) {
            // One square image per command, left to right, on the background colour.
            const QImage strip = LoadToolbarResource(toolbarId);
            if (strip.isNull() || imageSize.isEmpty()) return IB_NO_RESOURCE;
            int at = 0;
            for (QAction* action : menu->actions()) {
                if (action->isSeparator()) continue;
                if ((at + 1) * imageSize.width() > strip.width()) break;
                QImage image = strip.copy(at++ * imageSize.width(), 0, imageSize.width(), imageSize.height())
                                   .convertToFormat(QImage::Format_ARGB32);
                for (int y = 0; y < image.height(); ++y)
                    for (int x = 0; x < image.width(); ++x)
                        if (ToColorRef(QColor(image.pixel(x, y))) == background) image.setPixel(x, y, 0);
                action->setIcon(QIcon(QPixmap::fromImage(image)));
            }
        }
        m_menu = std::move(menu);
        m_menuOwner = owner;
    }
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetDropMenu(std::unique_ptr<QMenu> menu, CDialogBase* owner, bool repaint) {
    m_menu = std::move(menu);
    m_menuOwner = m_menu ? owner : nullptr;
    m_menuShown = false;
    Repaint(repaint);
    return IB_OK;
}

std::uint32_t CImageButton::SetMenuNotify(QObject* target, int message, std::intptr_t value) {
    m_menuNotify = {target, message, value};
    return IB_OK;
}

void CImageButton::ShowDropMenu() {
    m_menuShown = true;
    repaint();
    if (m_menuNotify.target) {
        CMenuNotifyEvent notify(m_menuNotify.message, m_menu.get(), m_menuNotify.value);
        QCoreApplication::sendEvent(m_menuNotify.target, &notify);
    }
    const QPointer<CImageButton> alive(this);
    QAction* chosen = m_menu ? m_menu->exec(mapToGlobal(QPoint(0, height()))) : nullptr;
    if (!alive) return;
    m_menuShown = false;
    repaint();
    const int command = chosen ? chosen->data().toInt() : 0;
    if (command != 0 && m_menuOwner) m_menuOwner->PostCommand(command & 0xFFFF);
}

// --- transparent face --------------------------------------------------------------

void CImageButton::SetTransparent(bool repaint) {
    m_transparent = true;
    m_background.reset();
    Repaint(repaint);
}

std::uint32_t CImageButton::CaptureBackground(const QPixmap* parentClient) {
    if (!m_transparent || !parentClient) return IB_BAD_ARGUMENT;
    m_background.reset();
    m_background = parentClient->copy(geometry());
    return IB_OK;
}

void CImageButton::PaintSavedBackground(QPainter& dc) {
    if (!m_background) {
        // The parent's own painting under the button, without its children.
        QPixmap snapshot(size());
        snapshot.fill(Qt::transparent);
        if (QWidget* parent = parentWidget())
            parent->render(&snapshot, QPoint(), QRegion(geometry()), QWidget::DrawWindowBackground);
        m_background = snapshot;
    }
    dc.drawPixmap(0, 0, *m_background);
}
