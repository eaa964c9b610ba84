#pragma once
// The frame log as a table: one row per entry, columns time, direction, bytes,
// meaning, outcome. The model follows the log a little behind it: a change of
// the log (from any thread) schedules one catch-up on the window thread, so
// that a burst of exchanges costs the window one update, not one per frame.

#include <atomic>
#include <cstdint>
#include <deque>

#include <QAbstractTableModel>
#include <QFont>
#include <QTimer>

#include "protocol/FrameLog.h"

class CFrameLogModel final : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { kTime, kDirection, kBytes, kMeaning, kOutcome, kColumns };
    // Longest a change of the log waits before the rows show it.
    static constexpr int kCatchUpMs = 50;

    explicit CFrameLogModel(CFrameLog& log, QObject* parent = nullptr);
    ~CFrameLogModel() override;

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    const FrameLogEntry& Entry(int row) const { return m_rows[static_cast<std::size_t>(row)]; }
    // Brings the rows up to the log now (what the scheduled catch-up does).
    void CatchUp();

private:
    void ScheduleCatchUp();  // any thread

    CFrameLog& m_log;
    std::deque<FrameLogEntry> m_rows;
    std::uint64_t m_next = 0;  // the first entry not yet shown
    std::atomic<bool> m_scheduled{false};
    QTimer m_catchUp;
    QFont m_bytesFont;
};
