#pragma once
// A dialog built from a template of src/res, with the verbs of a dialog
// framework addressed by control id. Handlers take no arguments and read the
// window through control ids.

#include <functional>
#include <map>

#include <QDialog>
#include <QString>

#include "MessageBox.h"

struct DlgTemplate;
class QComboBox;

class CDialogBase : public QDialog {
    Q_OBJECT
public:
    explicit CDialogBase(int templateId, QWidget* parent = nullptr);
    ~CDialogBase() override;

    // Builds the window afresh from its template (so nothing of an earlier
    // opening survives), calls OnInitDialog and runs the window modally.
    int DoModal();
    // Builds the controls and calls OnInitDialog without running a loop
    // (what DoModal does first; tests call it to drive a window directly).
    void Create();

    int TemplateId() const { return m_templateId; }
    const DlgTemplate& Template() const { return *m_template; }

    // --- verbs by control id -------------------------------------------
    QWidget* GetDlgItem(int id) const;  // nullptr for an unknown id
    QString GetDlgItemText(int id) const;
    void SetDlgItemText(int id, const QString& text);
    // The dialog manager's integer reading: optional blanks, optional '-'
    // (when isSigned), digits, and nothing else; *translated is false (and the
    // result 0) for any other text or a number outside int.
    int GetDlgItemInt(int id, bool* translated = nullptr, bool isSigned = true) const;
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void ShowDlgItem(int id, bool show);
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;

    // Combo boxes: an index outside the list selects nothing (as CB_SETCURSEL);
    // GetCurSel gives -1 when nothing is selected.
    int ComboGetCurSel(int id) const;
    void ComboSetCurSel(int id, int index);
    int ComboGetCount(int id) const;
    void ComboAddString(int id, const QString& text);
    void ComboResetContent(int id);

    // Window timers by id; a second SetTimer with the same id restarts it.
    void SetTimer(int timerId, int milliseconds);
    void KillTimer(int timerId);

    int MessageBox(const QString& text, const QString& caption = {},
                   MsgIcon icon = MsgIcon::None);

    // Message map: the handler runs when the button is clicked (or the combo
    // box's selection is changed by the operator).
    void OnCommand(int id, std::function<void()> handler);
    void OnSelChange(int id, std::function<void()> handler);

    // Clicks the control as the operator would (a test and keyboard helper).
    void ClickDlgItem(int id);

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnTimer(int /*timerId*/) {}
    // Enter outside a push button and Esc close the window as IDOK / IDCANCEL.
    virtual void OnOK() { accept(); }
    virtual void OnCancel() { reject(); }

    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void reject() override;

private:
    void BuildControls();
    void Dispatch(const std::function<void()>& handler);

    int m_templateId;
    const DlgTemplate* m_template;
    std::map<int, QWidget*> m_items;
    std::map<int, std::function<void()>> m_commands;
    std::map<int, std::function<void()>> m_selChanges;
    std::map<int, int> m_timers;  // our id -> QObject timer id
};
