#pragma once
// The frame log window: every frame on the bus and every port event, one row
// each, as they happen. It is not modal and has no owner, so the program's
// modal windows (which block only the windows beneath them) leave it usable.
// Nothing in it runs a modal loop of its own: an exchange waiting meanwhile
// keeps its timing.
//
// New rows scroll into view unless the operator has scrolled up; Ctrl+C
// copies the selected rows as text; "Save..." writes the whole log to a file
// the operator picks; "Clear" empties the log.

#include <QString>
#include <QWidget>

class CFrameLog;
class CFrameLogModel;
class QPushButton;
class QTableView;

class CFrameLogWnd final : public QWidget {
    Q_OBJECT
public:
    explicit CFrameLogWnd(CFrameLog& log);
    ~CFrameLogWnd() override;

    // The selected rows, oldest first, one line each as the log writes them.
    QString SelectedText() const;
    void CopySelection();
    // Writes the whole log, a heading line first. False, with the reason in
    // `error`, when the file cannot be written.
    bool SaveTo(const QString& path, QString* error = nullptr);
    void OnSave();
    void OnClear();

    QTableView* View() const { return m_view; }
    CFrameLogModel* Model() const { return m_model; }
    QPushButton* SaveButton() const { return m_save; }
    QPushButton* ClearButton() const { return m_clear; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    bool AtBottom() const;

    CFrameLog& m_log;
    CFrameLogModel* m_model;
    QTableView* m_view;
    QPushButton* m_save;
    QPushButton* m_clear;
    bool m_follow = true;  // the newest row was in view before rows came
};
