#include "MessageBox.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QDialogButtonBox>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMessageBox>

#include "BoxIconStyle.h"

namespace {

constexpr int kIdOk = 1;

MessageBoxHook& Hook() {
    static MessageBoxHook hook;
    return hook;
}

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
    explicit CSystemMessageBox(const MessageBoxCall& call) : QMessageBox(call.owner), m_call(call) {
        // The icons come through the style, so it is in place before them,
        // on the box and on the row of buttons that makes the OK button.
        auto* style = new CBoxIconStyle;
        style->setParent(this);
        setStyle(style);
        if (auto* buttons = findChild<QDialogButtonBox*>()) buttons->setStyle(style);
        setWindowTitle(call.caption);
        setTextFormat(Qt::PlainText);
        setText(call.text);
        setIcon(QtIcon(call.icon));
        setStandardButtons(QMessageBox::Ok);
    }

protected:
    void keyPressEvent(QKeyEvent* event) override {
        if (event->matches(QKeySequence::Copy)) {
            QGuiApplication::clipboard()->setText(MessageBoxClipboardText(m_call));
            event->accept();
            return;
        }
        QMessageBox::keyPressEvent(event);
    }

private:
    MessageBoxCall m_call;
};

}  // namespace

int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption, MsgIcon icon) {
    const MessageBoxCall call{owner, text,
                              caption.isEmpty() ? QCoreApplication::applicationName() : caption, icon};
    // A copy: the hook may replace itself while it runs.
    if (const MessageBoxHook hook = Hook()) return hook(call);
    CSystemMessageBox box(call);
    // Like the windows: it blocks the window it belongs to and those beneath,
    // not the frame log.
    if (call.owner) box.setWindowModality(Qt::WindowModal);
    box.exec();
    return kIdOk;
}

void SetMessageBoxHook(MessageBoxHook hook) { Hook() = std::move(hook); }

// Lines end in "\n", the line end of the Linux clipboard (Windows puts
// "\r\n"). Windows follows each button's caption with three blanks.
QString MessageBoxClipboardText(const MessageBoxCall& call) {
    const QString rule = QStringLiteral("---------------------------\n");
    return rule + call.caption + u'\n' + rule + call.text + u'\n' + rule + QStringLiteral("OK   \n") + rule;
}
