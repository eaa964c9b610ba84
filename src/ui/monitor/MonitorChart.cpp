#include "MonitorChart.h"

#include <algorithm>
#include <cmath>

#include <QChart>
#include <QGraphicsRectItem>
#include <QLineSeries>
#include <QValueAxis>

namespace {

// Two points per column keep a spike visible at any width.
constexpr int kPixelsPerColumn = 2;
// Beyond this many runs between gaps, the rest are joined into the last.
constexpr std::size_t kMaxSegments = 64;

QPen LimitPen(const QColor& color) {
    QPen pen(color, 2);
    pen.setStyle(Qt::DashLine);
    return pen;
}

// The warning code of each state reading.
bool Warns(Reading reading, std::uint16_t word) {
    return reading == Reading::WaterLeak ? word == 2 : word == 1;
}

}  // namespace

CMonitorChart::CMonitorChart(const QString& title, std::vector<Reading> readings, bool stateBands, QWidget* parent)
    : QChartView(parent), m_readings(std::move(readings)), m_stateBands(stateBands) {
    auto* chart = new QChart();
    chart->setTitle(title);
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    m_time = new QValueAxis(chart);
    m_time->setTitleText(QStringLiteral("s"));
    m_time->setLabelFormat(QStringLiteral("%.0f"));
    m_values = new QValueAxis(chart);
    chart->addAxis(m_time, Qt::AlignBottom);
    chart->addAxis(m_values, Qt::AlignLeft);
    m_upper = new QLineSeries(chart);
    m_lower = new QLineSeries(chart);
    m_upper->setPen(LimitPen(UpperLimitColor()));
    m_lower->setPen(LimitPen(LowerLimitColor()));
    for (QLineSeries* limit : {m_upper, m_lower}) {
        chart->addSeries(limit);
        limit->attachAxis(m_time);
        limit->attachAxis(m_values);
    }
    if (m_stateBands) {
        m_values->setRange(0, static_cast<double>(m_readings.size()));
        m_values->setTickCount(static_cast<int>(m_readings.size()) + 1);
        m_values->setLabelFormat(QStringLiteral(" "));
    }
    setChart(chart);
    setRenderHint(QPainter::Antialiasing, false);
    // The shades are placed in pixels: they follow the plot area.
    connect(chart, &QChart::plotAreaChanged, this, [this] {
        if (m_lastMonitor != nullptr && !m_refreshing) Refresh(*m_lastMonitor, m_lastNowMs);
    });
    setMinimumHeight(m_stateBands ? 110 : 170);
}

QLineSeries* CMonitorChart::Segment(std::size_t index) {
    while (m_segments.size() <= index) {
        auto* series = new QLineSeries(chart());
        series->setPen(QPen(QColor(20, 120, 40), 1.5));
        chart()->addSeries(series);
        series->attachAxis(m_time);
        series->attachAxis(m_values);
        m_segments.push_back(series);
    }
    return m_segments[index];
}

void CMonitorChart::Shade(double fromX, double toX, double fromY, double toY, const QColor& color) {
    if (m_shadesUsed == m_shades.size()) {
        auto* item = new QGraphicsRectItem(chart());
        item->setPen(Qt::NoPen);
        item->setZValue(-1);  // under the lines
        m_shades.push_back(item);
    }
    QGraphicsRectItem* item = m_shades[m_shadesUsed++];
    const QPointF a = chart()->mapToPosition(QPointF(fromX, fromY));
    const QPointF b = chart()->mapToPosition(QPointF(toX, toY));
    item->setRect(QRectF(a, b).normalized());
    item->setBrush(color);
    item->show();
}

void CMonitorChart::Refresh(const CMonitor& monitor, std::uint32_t nowMs) {
    m_lastMonitor = &monitor;
    m_lastNowMs = nowMs;
    m_refreshing = true;
    const std::uint32_t toMs = std::max<std::uint32_t>(nowMs, 1000);
    const double toS = toMs / 1000.0;
    m_time->setRange(0, toS);
    const auto columns = static_cast<std::size_t>(std::max(16, static_cast<int>(chart()->plotArea().width()) / kPixelsPerColumn));
    const double columnS = toS / static_cast<double>(columns);
    m_shadesUsed = 0;

    if (m_stateBands) {
        // One lane per reading, shaded where it warns.
        for (std::size_t lane = 0; lane < m_readings.size(); ++lane) {
            const Reading reading = m_readings[lane];
            for (const Sample& s : monitor.Series(reading)) {
                if (!s.Ok() || !Warns(reading, s.word)) continue;
                const double x = s.timeMs / 1000.0;
                Shade(x, std::min(toS, x + monitor.Interval().count() / 1000.0), lane + 0.1, lane + 0.9,
                      QColor(220, 120, 0, 200));
            }
        }
    } else {
        const std::vector<ChartColumn> view = monitor.Decimated(m_readings.front(), 0, toMs, columns);
        std::size_t segment = 0;
        QList<QPointF> points;
        std::optional<double> low, high;
        const auto flush = [&] {
            if (points.isEmpty()) return;
            Segment(segment)->replace(points);
            points.clear();
            if (segment + 1 < kMaxSegments) ++segment;
        };
        for (std::size_t c = 0; c < view.size(); ++c) {
            const ChartColumn& column = view[c];
            // A failed poll breaks the line; a column no poll fell in does not.
            if (column.gap) flush();
            if (!column.low) continue;
            const double x = (c + 0.5) * columnS;
            points.append(QPointF(x, *column.low));
            if (*column.high != *column.low) points.append(QPointF(x, *column.high));
            low = low ? std::min(*low, *column.low) : *column.low;
            high = high ? std::max(*high, *column.high) : *column.high;
        }
        flush();
        for (std::size_t i = segment; i < m_segments.size(); ++i) m_segments[i]->clear();
        // The value axis holds the data and the limits, with a little room.
        for (const std::optional<double>& limit : {m_limits.upper, m_limits.lower}) {
            if (!limit) continue;
            low = low ? std::min(*low, *limit) : *limit;
            high = high ? std::max(*high, *limit) : *limit;
        }
        const double lo = low.value_or(0), hi = high.value_or(1);
        const double margin = std::max(1.0, (hi - lo) * 0.1);
        m_values->setRange(std::floor(lo - margin), std::ceil(hi + margin));
        // Outside the limits: the time from such a column to the next one
        // with a value is shaded, once the axis is set.
        const auto outside = [&](const ChartColumn& column) {
            return column.low && ((m_limits.upper && *column.high > *m_limits.upper) ||
                                  (m_limits.lower && *column.low < *m_limits.lower));
        };
        for (std::size_t c = 0; c < view.size(); ++c) {
            if (!outside(view[c])) continue;
            std::size_t next = c + 1;
            while (next < view.size() && !view[next].low && !view[next].gap) ++next;
            Shade(c * columnS, next * columnS, m_values->min(), m_values->max(), QColor(230, 60, 60, 60));
        }
    }
    const auto limitLine = [&](QLineSeries* series, const std::optional<double>& value) {
        if (value) {
            series->replace({QPointF(0, *value), QPointF(toS, *value)});
        } else {
            series->clear();
        }
    };
    limitLine(m_upper, m_limits.upper);
    limitLine(m_lower, m_limits.lower);
    for (std::size_t i = m_shadesUsed; i < m_shades.size(); ++i) m_shades[i]->hide();
    m_refreshing = false;
}
