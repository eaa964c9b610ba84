#pragma once
// The profile window of the main window's menu: a profile's settings against
// the connected device, one row each (parameter, on the device, in the
// profile), shown before anything is written; "Apply" writes what differs,
// reads it back and fills in each row's outcome.

#include <QDialog>
#include <QString>

#include "device/ProfileEngine.h"

class QLabel;
class QPushButton;
class QTableWidget;

class CProfileDlg final : public QDialog {
    Q_OBJECT
public:
    enum Column { kParameter, kOnDevice, kInProfile, kOutcome, kColumns };

    CProfileDlg(CDeviceSession& session, Profile profile, const QString& fileName, QWidget* parent = nullptr);

    // Reads the device's value of every setting into the table.
    void Compare();
    // Writes what differs and reads it back; each row's outcome as it comes.
    void Apply();

    QTableWidget* Table() const { return m_table; }
    QPushButton* ApplyButton() const { return m_apply; }
    QLabel* Summary() const { return m_summary; }

private:
    int RowOf(const std::string& name) const;

    CDeviceSession& m_session;
    const Profile m_profile;
    QTableWidget* m_table;
    QLabel* m_summary;
    QPushButton* m_apply;
};
