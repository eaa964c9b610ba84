#pragma once
// Every message box of the program goes through ShowMessageBox, so that tests
// can replace the box with a recorder and see text, caption and icon without a
// modal loop.

#include <functional>

#include <QString>

class QWidget;

enum class MsgIcon { None, Question, Stop, Warning, Information };

struct MessageBoxCall {
    QWidget* owner = nullptr;
    QString text;
    QString caption;  // already resolved: the application's name when none was given
    MsgIcon icon = MsgIcon::None;
};

// An empty caption means the application's name. Returns the button pressed
// (always OK: 1).
int ShowMessageBox(QWidget* owner, const QString& text, const QString& caption = {},
                   MsgIcon icon = MsgIcon::None);

// Replaces the real box; an empty function puts the real box back.
using MessageBoxHook = std::function<int(const MessageBoxCall&)>;
void SetMessageBoxHook(MessageBoxHook hook);

// The text a box puts on the clipboard for Ctrl+C, as the Windows boxes do:
// dashed line, caption, dashed line, text, dashed line, buttons (each caption
// followed by three blanks: "OK   "), dashed line; every line ends in "\n".
QString MessageBoxClipboardText(const MessageBoxCall& call);
