#include "FrameLogModel.h"

#include <QBrush>
#include <QColor>
#include <QFontDatabase>

#include "protocol/FrameDecoder.h"

namespace {

QString Text(const std::string& text) { return QString::fromStdString(text); }

// Failures stand out; a good reply is quietly green.
QVariant OutcomeColour(const FrameLogEntry& entry) {
    if (entry.outcome.empty()) return {};
    if (entry.outcome == "good") return QBrush(QColor(0x1E, 0x7B, 0x34));
    return QBrush(QColor(0xB0, 0x20, 0x20));
}

}  // namespace

CFrameLogModel::CFrameLogModel(CFrameLog& log, QObject* parent)
    : QAbstractTableModel(parent), m_log(log), m_bytesFont(QFontDatabase::systemFont(QFontDatabase::FixedFont)) {
    m_catchUp.setSingleShot(true);
    m_catchUp.setInterval(kCatchUpMs);
    connect(&m_catchUp, &QTimer::timeout, this, &CFrameLogModel::CatchUp);
    m_log.SetOnChange([this] { ScheduleCatchUp(); });
    CatchUp();
}

CFrameLogModel::~CFrameLogModel() {
    // Returns only when no listener call is running.
    m_log.SetOnChange({});
}

void CFrameLogModel::ScheduleCatchUp() {
    if (m_scheduled.exchange(true)) return;
    // The timer belongs to the window thread; a queued call, dropped if the
    // model is gone by then, starts it there.
    QMetaObject::invokeMethod(this, [this] { m_catchUp.start(); }, Qt::QueuedConnection);
}

void CFrameLogModel::CatchUp() {
    m_scheduled = false;
    m_catchUp.stop();
    std::uint64_t firstHeld = 0;
    std::vector<FrameLogEntry> added = m_log.EntriesFrom(m_next, &firstHeld);

    // Entries the log no longer holds (dropped as the oldest, or cleared).
    std::size_t gone = 0;
    while (gone < m_rows.size() && m_rows[gone].sequence < firstHeld) ++gone;
    if (gone > 0) {
        beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(gone));
        endRemoveRows();
    }
    if (!added.empty()) {
        const int first = static_cast<int>(m_rows.size());
        beginInsertRows({}, first, first + static_cast<int>(added.size()) - 1);
        for (FrameLogEntry& entry : added) m_rows.push_back(std::move(entry));
        endInsertRows();
        m_next = m_rows.back().sequence + 1;
    }
    // The log may have dropped more while it was read: never hold more rows than it can.
    const std::size_t excess = m_rows.size() > m_log.Capacity() ? m_rows.size() - m_log.Capacity() : 0;
    if (excess > 0) {
        beginRemoveRows({}, 0, static_cast<int>(excess) - 1);
        m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(excess));
        endRemoveRows();
    }
}

int CFrameLogModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
}

int CFrameLogModel::columnCount(const QModelIndex& parent) const { return parent.isValid() ? 0 : kColumns; }

QVariant CFrameLogModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const FrameLogEntry& entry = Entry(index.row());
    switch (role) {
        case Qt::DisplayRole:
            switch (index.column()) {
                case kTime: return QString::number(entry.time.count());
                case kDirection: return QString::fromLatin1(DirectionText(entry.direction));
                case kBytes: return Text(HexText(entry.bytes));
                case kMeaning: return Text(entry.meaning);
                case kOutcome: return Text(entry.outcome);
                default: return {};
            }
        case Qt::ToolTipRole:
            if (index.column() == kBytes || index.column() == kMeaning) return data(index, Qt::DisplayRole);
            return {};
        case Qt::FontRole:
            if (index.column() == kBytes) return m_bytesFont;
            return {};
        case Qt::ForegroundRole:
            if (index.column() == kOutcome) return OutcomeColour(entry);
            return {};
        case Qt::TextAlignmentRole:
            if (index.column() == kTime) return QVariant(Qt::AlignRight | Qt::AlignVCenter);
            return {};
        default: return {};
    }
}

QVariant CFrameLogModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
    switch (section) {
        case kTime: return QStringLiteral("Time (ms)");
        case kDirection: return QStringLiteral("Dir");
        case kBytes: return QStringLiteral("Bytes");
        case kMeaning: return QStringLiteral("Meaning");
        case kOutcome: return QStringLiteral("Outcome");
        default: return {};
    }
}
