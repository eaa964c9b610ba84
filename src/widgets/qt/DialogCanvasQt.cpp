// Windows of their own and canvas controls on the Qt dialogs.

#include <QImageWriter>

#include "CanvasQt.h"
#include "DialogBaseQt.h"

void CDialogBase::ShowModeless() {
    if (!isVisible() || m_controls.empty()) Create();
    show();
    raise();
    activateWindow();
}

QWidget* CDialogBase::MakeCanvas(const DlgItem& item) {
    const int id = item.id;
    // The handler is looked up at each paint: it may be set after the window is built.
    return new CCanvasQt(
        [this, id](CCanvasPainter& painter, int width, int height) {
            const auto paint = m_canvasPaints.find(id);
            if (paint != m_canvasPaints.end() && paint->second) paint->second(painter, width, height);
        },
        this);
}

void CDialogBase::SetCanvasPaint(int id, CanvasPaint paint) {
    m_canvasPaints[id] = std::move(paint);
    RefreshCanvas(id);
}

void CDialogBase::RefreshCanvas(int id) {
    if (QWidget* canvas = GetDlgItem(id)) canvas->update();
}

bool CDialogBase::SaveCanvasPicture(int id, std::string_view path) {
    const auto* canvas = dynamic_cast<const CCanvasQt*>(GetDlgItem(id));
    if (canvas == nullptr) return false;
    QImageWriter writer(QString::fromUtf8(path.data(), static_cast<qsizetype>(path.size())), "png");
    return writer.write(canvas->Render());
}
