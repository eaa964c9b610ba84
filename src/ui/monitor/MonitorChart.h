#pragma once
// One chart of the monitor: a quantity over time, drawn from a decimated view
// of its samples (each column its lowest and highest value, a gap where no
// sample had a value), the device's alarm limits as dashed lines, and the
// time the value spent outside them shaded. A state chart draws the water
// leak and the power failure as bands where they warn instead.

#include <optional>
#include <vector>

#include <QChartView>

#include "device/Monitor.h"

class QGraphicsRectItem;
class QLineSeries;
class QValueAxis;

struct ChartLimits {
    std::optional<double> upper;
    std::optional<double> lower;
};

class CMonitorChart final : public QChartView {
    Q_OBJECT
public:
    // A chart of `reading`'s values, titled `title`.
    CMonitorChart(const QString& title, std::vector<Reading> readings, bool stateBands, QWidget* parent = nullptr);

    void SetLimits(const ChartLimits& limits) { m_limits = limits; }
    const ChartLimits& Limits() const { return m_limits; }
    // Redraws from the monitor's samples, up to `nowMs`.
    void Refresh(const CMonitor& monitor, std::uint32_t nowMs);

    QLineSeries* UpperLimitSeries() const { return m_upper; }
    QLineSeries* LowerLimitSeries() const { return m_lower; }
    static QColor UpperLimitColor() { return QColor(200, 30, 30); }
    static QColor LowerLimitColor() { return QColor(30, 60, 200); }

private:
    QLineSeries* Segment(std::size_t index);
    void Shade(double fromX, double toX, double fromY, double toY, const QColor& color);

    const std::vector<Reading> m_readings;
    const bool m_stateBands;
    ChartLimits m_limits;
    QValueAxis* m_time;
    QValueAxis* m_values;
    std::vector<QLineSeries*> m_segments;  // runs of samples between gaps, reused
    QLineSeries* m_upper;
    QLineSeries* m_lower;
    std::vector<QGraphicsRectItem*> m_shades;  // reused
    std::size_t m_shadesUsed = 0;
    // What the last refresh drew, to draw again when the plot area moves.
    const CMonitor* m_lastMonitor = nullptr;
    std::uint32_t m_lastNowMs = 0;
    bool m_refreshing = false;
};
