// The Open and Save boxes on Linux: Qt's file dialog, owned by the window.

#include <QFileDialog>
#include <QStringList>

#include "DialogBaseQt.h"

namespace {

QString QtFilter(const FileDialogCall& call) {
    QStringList choices;
    for (const auto& [name, pattern] : call.filters)
        choices << QString::fromStdString(name + " (" + pattern + ")");
    return choices.join(QStringLiteral(";;"));
}

}  // namespace

std::optional<std::string> CDialogBase::AskFileName(const FileDialogCall& call) {
    if (const FileDialogHook& hook = CurrentFileDialogHook()) return hook(call);
    const QString title = QString::fromStdString(call.title);
    const QString path = call.kind == FileDialogKind::Save
                             ? QFileDialog::getSaveFileName(this, title, QString::fromStdString(call.suggestedName),
                                                            QtFilter(call))
                             : QFileDialog::getOpenFileName(this, title, QString(), QtFilter(call));
    if (path.isEmpty()) return std::nullopt;
    return path.toStdString();
}
