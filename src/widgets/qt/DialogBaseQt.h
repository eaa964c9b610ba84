#pragma once
// A dialog built from a template of src/res, with the verbs of a dialog
// framework addressed by control id: the Linux side of DialogVerbs.h, a Qt
// dialog. Handlers take no arguments and read the window through control ids
// with UTF-8 texts; the Qt-only code (the tests, the image button) may also
// reach the widgets themselves (GetDlgItem, ReplaceDlgItem, CreateControl).

#include <functional>
#include <map>
#include <set>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include <QDialog>

#include "DialogUnits.h"
#include "widgets/DialogVerbs.h"
#include "MessageBoxQt.h"
#include "widgets/MessageMap.h"
#include "res/DialogTemplate.h"
#include "res/ResourceIds.h"

class QComboBox;
class QTreeWidget;

class CDialogBase : public QDialog {
    Q_OBJECT
public:
    // The window stays above `owner` (as a Windows dialog above its owner).
    explicit CDialogBase(int templateId, CDialogBase* owner = nullptr);
    // A window from a template that is not in the resource table; the
    // template must outlive the window.
    explicit CDialogBase(const DlgTemplate& tmpl, CDialogBase* owner = nullptr);
    ~CDialogBase() override;

    // Builds the window afresh from its template (so nothing of an earlier
    // opening survives), calls OnInitDialog and runs the window modally.
    // Returns the code given to EndDialog (IDOK, IDCANCEL, ...).
    int DoModal();
    // Builds the controls and calls OnInitDialog without running a loop
    // (what DoModal does first; tests call it to drive a window directly).
    void Create();
    // Ends the window's modal loop with `result` and hides it.
    void EndDialog(int result);
    // Every way of closing the window ends here; OnDestroy runs first.
    void done(int result) override;
    // True while EndDialog (or done) is closing the window.
    bool IsEnding() const { return m_ending; }

    int TemplateId() const { return m_templateId; }
    const DlgTemplate& Template() const { return *m_template; }
    // The base units of the window's font, and a template rectangle in pixels.
    const CDialogUnits& Units() const { return m_units; }
    QRect MapDialogRect(int x, int y, int cx, int cy) const { return m_units.Rect(x, y, cx, cy); }

    // --- verbs by control id -------------------------------------------
    QWidget* GetDlgItem(int id) const;  // nullptr for an unknown id
    std::string GetDlgItemText(int id) const;
    void SetDlgItemText(int id, std::string_view text);
    // The dialog manager's integer reading: optional blanks, optional '-'
    // (when isSigned), digits, and nothing else; *translated is false (and the
    // result 0) for any other text or a number outside int (unsigned: outside
    // 0..4294967295, returned as its 32-bit pattern).
    int GetDlgItemInt(int id, bool* translated = nullptr, bool isSigned = true) const;
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void ShowDlgItem(int id, bool show);
    // The control's own visible state (its template style or ShowDlgItem),
    // whether or not the window is shown.
    bool IsDlgItemVisible(int id) const;
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;

    // Combo boxes: an index outside the list selects nothing (as CB_SETCURSEL),
    // and an editable box then shows no text; GetCurSel gives -1 when nothing
    // is selected. None of these runs the OnSelChange handler.
    int ComboGetCurSel(int id) const;
    void ComboSetCurSel(int id, int index);
    int ComboGetCount(int id) const;
    void ComboAddString(int id, std::string_view text);
    void ComboResetContent(int id);
    // The tooltip of entry `index`; nothing for an index outside the list.
    void ComboSetItemTip(int id, int index, std::string_view tip);

    // Report lists (a QTreeWidget without branches, DialogListQt.cpp): see
    // DialogVerbs.h.
    void ListAddColumn(int id, std::string_view heading, int width);
    int ListInsertItem(int id, int row, std::string_view text);
    void ListSetItemText(int id, int row, int column, std::string_view text);
    std::string ListGetItemText(int id, int row, int column) const;
    int ListGetItemCount(int id) const;
    void ListDeleteAllItems(int id);
    void ListFitColumn(int id, int column);
    int ListGetSelectedRow(int id) const;
    void ListSelectRow(int id, int row);
    void OnListDblClk(int id, std::function<void(int)> handler);

    // Progress bars (a QProgressBar without its text, DialogItemsQt.cpp).
    void ProgressSetRange(int id, int low, int high);
    void ProgressSetPos(int id, int position);
    int ProgressGetPos(int id) const;

    // The window's title until the next opening rebuilds it from the template.
    void SetWindowCaption(std::string_view text);
    std::string GetWindowCaption() const;

    // Window timers by id; a second SetTimer with the same id restarts it.
    // They stop when the window's modal loop ends.
    void SetTimer(int timerId, int milliseconds);
    void KillTimer(int timerId);

    // The window's icon, from the program's icons (res/Resources.h).
    void SetIcon(int iconId);
    // An entry of the window's menu: Linux desktops give a dialog no system
    // menu, so its entries make the context menu, after a separator as they
    // follow one on Windows. Choosing one runs OnSysCommand(command). Each
    // opening starts with no entries; OnInitDialog adds them.
    void AddSystemMenuItem(int command, std::string_view text);

    int MessageBox(std::string_view text, std::string_view caption = {}, MsgIcon icon = MsgIcon::None);
    // Through the hook of FileDialogCall.h when one is set, else a Qt file
    // dialog owned by this window.
    std::optional<std::string> AskFileName(const FileDialogCall& call);

    // Message map: the handler runs when the button is clicked (or the combo
    // box's selection is changed by the operator). Without an entry, IDOK and
    // IDCANCEL run OnOK and OnCancel.
    void OnCommand(int id, std::function<void()> handler);
    void OnSelChange(int id, std::function<void()> handler);
    // One handler for the commands of the controls first..last, given the id.
    // An entry of OnCommand for the same id comes first.
    void OnCommandRange(int first, int last, std::function<void(int)> handler);

    // The template's entry of control `id`; nullptr for an id it lacks.
    const DlgItem* FindTemplateItem(int id) const;
    // Puts `replacement` in place of the window's control `id`, as attaching
    // a window class to a dialog control does: the control's id, rectangle,
    // caption (for buttons), tab position and enable and visible states pass
    // to it and the template's widget goes. The replacement stays its
    // owner's: rebuilding the window detaches it (hidden) instead of deleting
    // it, and so does destroying the window. False for an unknown id or a
    // widget that is already one of this window's controls.
    bool ReplaceDlgItem(int id, QWidget& replacement);

    // Runs the command `id` once the current handler has returned, as a
    // posted command message would.
    void PostCommand(int id);

    // A window of its own (no owner, no modal loop): built when it is not
    // shown, then shown and raised (DialogCanvasQt.cpp).
    void ShowModeless();
    // Canvas controls (DialogCanvasQt.cpp).
    void SetCanvasPaint(int id, CanvasPaint paint);
    void RefreshCanvas(int id);
    bool SaveCanvasPicture(int id, std::string_view path);

    // Clicks the control as the operator would (a test and keyboard helper).
    void ClickDlgItem(int id);

protected:
    // Returns true to give the focus to the first tab stop.
    virtual bool OnInitDialog() { return true; }
    virtual void OnTimer(int /*timerId*/) {}
    // Enter outside a push button (with no default button) and Esc close the
    // window as IDOK / IDCANCEL.
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // An entry added with AddSystemMenuItem was chosen.
    virtual void OnSysCommand(int /*command*/) {}
    // The window is closing (EndDialog, or the window system closing it).
    virtual void OnDestroy() {}

    // Makes the widget of one template control; a window overrides it to put
    // its own widget class in place of some controls and calls the base for
    // the rest. The widget's parent must be this window.
    virtual QWidget* CreateControl(const DlgItem& item);

    // Runs a handler the way the message map does: inside a dispatch scope, so
    // that input held back during its device exchanges follows it in order.
    // Windows use it for handlers connected to signals of their own widgets.
    void Dispatch(const std::function<void()>& handler);
    // The WM_COMMAND path: the message map's entry, else OnOK / OnCancel.
    void RunCommand(int id);

    void timerEvent(QTimerEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;
    void reject() override;

private:
    // Runs a tick that CInputHold kept back (InputHoldQt.cpp).
    friend void RunHeldDialogTimer(CDialogBase& dialog, int timerId);

    void BuildControls();
    void ConnectControl(const DlgItem& item, QWidget* widget);
    // Takes back the replacements of ReplaceDlgItem before the controls go.
    void DetachReplacements();
    void PlaceInTabOrder(QWidget& widget);
    void RestoreTabOrder();
    void FocusFirstTabStop();
    void PressEnter();
    void RunTimer(int timerId);
    void KillAllTimers();
    QComboBox* Combo(int id) const;
    QTreeWidget* List(int id) const;
    QWidget* MakeCanvas(const DlgItem& item);

    int m_templateId;
    const DlgTemplate* m_template;
    CDialogUnits m_units;
    std::vector<QWidget*> m_controls;  // template order
    std::map<int, QWidget*> m_items;   // by id
    int m_defaultButtonId = 0;
    bool m_ending = false;
    CMessageMap m_messageMap;
    std::set<QWidget*> m_replacements;  // controls owned elsewhere
    std::map<int, int> m_timers;  // our id -> QObject timer id
    std::vector<std::pair<int, std::string>> m_systemMenu;  // command, text
    std::map<int, CanvasPaint> m_canvasPaints;  // by control id, kept across rebuilds
};

static_assert(DialogVerbs<CDialogBase>);
