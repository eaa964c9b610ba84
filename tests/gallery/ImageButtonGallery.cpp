// image-button-gallery: one window of image buttons, to look at what the
// button class can do: the four image alignments with and without a caption,
// grey and darker out images made from the in image, a check box, a tooltip,
// a hover cursor, a drop-down menu, a transparent face over a patterned
// window, and a disabled button.
//
//   image-button-gallery                    shows the window
//   image-button-gallery --screenshots DIR  writes gallery.png, hovered.png
//                                           and pressed.png into DIR and ends

#include <QApplication>
#include <QDir>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QTimer>

#include "widgets/qt/AppFonts.h"
#include "widgets/DialogBase.h"
#include "gallery/GalleryTemplate.h"
#include "widgets/ImageButton.h"

namespace {

using namespace gallery;

// A round icon with an alpha edge.
QIcon RoundIcon(QColor colour) {
    QImage image(20, 20, QImage::Format_ARGB32);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(colour);
    painter.setPen(Qt::black);
    painter.drawEllipse(1, 1, 18, 18);
    return QIcon(QPixmap::fromImage(image));
}

// A bitmap on magenta, its transparent colour.
QImage Arrow(QColor colour) {
    QImage image(20, 20, QImage::Format_RGB32);
    image.fill(QColor(255, 0, 255));
    QPainter painter(&image);
    painter.setBrush(colour);
    painter.setPen(Qt::NoPen);
    painter.drawPolygon(QPolygon({{2, 4}, {18, 10}, {2, 16}}));
    return image;
}

class CGalleryDlg : public CDialogBase {
public:
    CGalleryDlg() : CDialogBase(kTemplate) {}
    std::array<CImageButton, kCount> m_buttons;

protected:
    bool OnInitDialog() override {
        for (int i = 0; i < kCount; ++i) m_buttons[i].SubclassDlgItem(kLeft + i, *this);
        SetUpButtons(m_buttons, [](ColorRef c) { return RoundIcon(ToQColor(c)); },
                     [](ColorRef c) { return Arrow(ToQColor(c)); });
        At(kTip).SetTipText(QString::fromUtf8(kTipText));
        At(kCursor).SetHoverCursor(9, false);
        auto menu = std::make_unique<QMenu>();
        menu->addAction(QStringLiteral("Configure"))->setData(201);
        menu->addAction(QStringLiteral("Clear"))->setData(202);
        At(kMenu).SetDropMenu(std::move(menu), this, false);
        At(kDisabled).setEnabled(false);
        return true;
    }
    // The stripes that the transparent button shows through.
    void paintEvent(QPaintEvent* event) override {
        CDialogBase::paintEvent(event);
        QPainter painter(this);
        const QRect stripes = GetDlgItem(kTransparent)->geometry().adjusted(-10, -6, 10, 6);
        painter.setClipRect(stripes);
        painter.setPen(QPen(QColor(120, 160, 230), 4));
        for (int x = stripes.left() - stripes.height(); x < stripes.right(); x += 10)
            painter.drawLine(x, stripes.bottom(), x + stripes.height(), stripes.top());
    }

private:
    CImageButton& At(int id) { return m_buttons[static_cast<std::size_t>(id - kLeft)]; }
};

void Hover(QWidget* button) {
    const QPoint at = button->rect().center();
    QMouseEvent move(QEvent::MouseMove, at, button->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    InstallDialogFontSubstitutions();
    CGalleryDlg gallery;
    const QStringList arguments = QApplication::arguments();
    const qsizetype shots = arguments.indexOf(QStringLiteral("--screenshots"));
    if (shots < 0 || shots + 1 >= arguments.size()) return gallery.DoModal() >= 0 ? 0 : 1;

    const QDir folder(arguments.at(shots + 1));
    gallery.Create();
    gallery.show();
    QApplication::processEvents();
    bool saved = gallery.grab().save(folder.filePath(QStringLiteral("gallery.png")));
    Hover(gallery.GetDlgItem(kLeft));
    Hover(gallery.GetDlgItem(kGrey));
    saved = gallery.grab().save(folder.filePath(QStringLiteral("hovered.png"))) && saved;
    for (int id : {kLeft, kGrey}) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(gallery.GetDlgItem(id), &leave);
    }
    static_cast<QAbstractButton*>(gallery.GetDlgItem(kAbove))->setDown(true);
    static_cast<QAbstractButton*>(gallery.GetDlgItem(kDarker))->setDown(true);
    saved = gallery.grab().save(folder.filePath(QStringLiteral("pressed.png"))) && saved;
    return saved ? 0 : 1;
}
