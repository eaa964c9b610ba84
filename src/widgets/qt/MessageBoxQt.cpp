#include "MessageBoxQt.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>

#include "BoxIconStyle.h"

namespace {

constexpr int kIdOk = 1;

QMessageBox::Icon QtIcon(MsgIcon icon) {
    switch (icon) {
        case MsgIcon::Question: return QMessageBox::Question;
        case MsgIcon::Stop: return QMessageBox::Critical;
        case MsgIcon::Warning: return QMessageBox::Warning;
        case MsgIcon::Information: return QMessageBox::Information;
        case MsgIcon::None: break;
    }
    return QMessageBox::NoIcon;
}

// The box with one OK button. Ctrl+C copies it in the Windows layout.
class CSystemMessageBox final : public QMessageBox {
public:
    CSystemMessageBox(QWidget* owner, const MessageBoxCall& call) : QMessageBox(owner), m_call(call) {
        // The icons come through the style, so it is in place before them,
        // on the box and on the row of buttons that makes the OK button.
        auto* style = new CBoxIconStyle;
        style->setParent(this);
        setStyle(style);
        if (auto* buttons = findChild<QDialogButtonBox*>()) buttons->setStyle(style);
        setWindowTitle(QString::fromStdString(call.caption));
        setTextFormat(Qt::PlainText);
        setText(QString::fromStdString(call.text));
        setIcon(QtIcon(call.icon));
        setStandardButtons(QMessageBox::Ok);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy)) {
            // Lines end in "\n", the line end of the Linux clipboard.
            QGuiApplication::clipboard()->setText(QString::fromStdString(MessageBoxClipboardText(m_call, "\n")));
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

private:
    MessageBoxCall m_call;
};

}  // namespace

int ShowMessageBox(QWidget* owner, std::string_view text, std::string_view caption, MsgIcon icon) {
    const MessageBoxCall call{std::string(text),
                              caption.empty() ? QCoreApplication::applicationName().toStdString()
                                              : std::string(caption),
                              icon};
    // A copy: the hook may replace itself while it runs.
    if (const MessageBoxHook hook = CurrentMessageBoxHook()) return hook(call);
    CSystemMessageBox box(owner, call);
    // Like the windows: it blocks the window it belongs to and those beneath,
    // not the frame log.
    if (owner) box.setWindowModality(Qt::WindowModal);
    box.exec();
    return kIdOk;
}
