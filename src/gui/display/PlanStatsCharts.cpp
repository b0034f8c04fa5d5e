#include "gui/display/PlanStatsCharts.h"

#include <QHelpEvent>
#include <QPainter>
#include <QPainterPath>
#include <QToolTip>
#include <algorithm>
#include <cmath>

#include "core/analysis/Chance.h"
#include "core/analysis/PlanRecord.h"
#include "gui/common/Fonts.h"
#include "gui/display/PlanStatsChartKit.h"

namespace zuohao::gui {

namespace chartkit {

// 1, 2 or 5 times a power of ten, so that span takes about `ticks` steps.
double NiceStep(double span, int ticks) {
    const double raw = std::max(span / ticks, 1e-9);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0})
        if (f * magnitude >= raw * (1 - 1e-9)) return f * magnitude;
    return 10 * magnitude;
}

PercentScale ScaleTo(double highest) {
    PercentScale s;
    const double span = std::clamp(highest * 1.1, 0.1, 100.0);
    s.step = NiceStep(span, kTicks);
    s.top = std::min(100.0, std::ceil(span / s.step - 1e-9) * s.step);
    for (double v = 0; v <= s.top * (1 + 1e-9); v += s.step) {
        const QString label = QString::number(v, 'g', 6) + QLatin1Char('%');
        if (label.size() > s.widest.size()) s.widest = label;
    }
    return s;
}

// The title of a stale picture says so.
QString TitleOf(const QString& title, bool stale) {
    return stale ? title + QStringLiteral("（已过期）") : title;
}

// The frame around a plot: title on top, legend below, room on the left for the value labels
// and below for the category labels and the axis title. Returns the plot rectangle.
QRectF PaintFrame(QPainter& p, const QRect& area, const QString& title,
                  const std::vector<LegendItem>& legend, const QString& widestValue,
                  const QString& axisTitle) {
    p.fillRect(area, Qt::white);
    p.setPen(Qt::black);
    p.setFont(ChineseFont(kChartFontSize + 1, true));
    const int titleH = p.fontMetrics().height();
    p.drawText(QRect(area.left(), area.top() + kPad, area.width(), titleH), Qt::AlignCenter, title);
    p.setFont(ChineseFont(kChartFontSize));
    const QFontMetrics fm = p.fontMetrics();
    const int lineH = fm.height();
    int legendW = 0;
    for (const LegendItem& item : legend)
        legendW += kSwatch + kPad + fm.horizontalAdvance(item.text) + 2 * kPad;
    int x = area.left() + std::max(kPad, (area.width() - legendW) / 2);
    const int legendY = area.bottom() - kPad - lineH;
    for (const LegendItem& item : legend) {
        const QRect swatch(x, legendY + lineH / 4, kSwatch, lineH / 2);
        if (item.filled) {
            p.fillRect(swatch, item.pen.color());
        } else {
            p.setPen(item.pen);
            p.drawLine(swatch.left(), swatch.center().y(), swatch.right(), swatch.center().y());
        }
        x += kSwatch + kPad;
        p.setPen(Qt::black);
        p.drawText(QRect(x, legendY, fm.horizontalAdvance(item.text) + 1, lineH), Qt::AlignVCenter,
                   item.text);
        x += fm.horizontalAdvance(item.text) + 2 * kPad;
    }
    const int axisTitleY = legendY - kPad - lineH;
    const int left = area.left() + kPad + fm.horizontalAdvance(widestValue) + kPad;
    const QRectF plot(QPointF(left, area.top() + kPad + titleH + kPad + lineH / 2),
                      QPointF(area.right() - kPad - fm.horizontalAdvance(widestValue) / 2,
                              axisTitleY - lineH - kPad));
    p.drawText(QRectF(plot.left(), axisTitleY, plot.width(), lineH), Qt::AlignCenter, axisTitle);
    return plot;
}

// Value ticks 0..top as grid lines with labels on the left, then the two axis lines.
void PaintValueAxis(QPainter& p, const QRectF& plot, double top, double step, const char* suffix) {
    const QFontMetrics fm = p.fontMetrics();
    for (double v = 0; v <= top * (1 + 1e-9); v += step) {
        const double y = plot.bottom() - v / top * plot.height();
        p.setPen(kGridColour);
        p.drawLine(QPointF(plot.left(), y), QPointF(plot.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(0, y - fm.height() / 2.0, plot.left() - kPad, fm.height()),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(v, 'g', 6) + suffix);
    }
    p.setPen(Qt::black);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    p.drawLine(plot.bottomLeft(), plot.topLeft());
}

// A category tick and its label under the plot at x; row 1 puts the label a line lower.
// The label is centred on labelX when given (a crowded label moved aside).
void PaintCategoryTick(QPainter& p, const QRectF& plot, double x, const QString& text, int row,
                       double labelX) {
    const QFontMetrics fm = p.fontMetrics();
    p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kPad / 2.0));
    const double w = fm.horizontalAdvance(text) + kPad;
    const double at = labelX < 0 ? x : labelX;
    p.drawText(QRectF(at - w / 2, plot.bottom() + kPad / 2.0 + row * fm.height(), w, fm.height()),
               Qt::AlignCenter, text);
}
} // namespace chartkit

using namespace chartkit;

RollingRateChart::RollingRateChart(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(180);
    clearRecord(QStringLiteral("命中率走势"));
}

void RollingRateChart::clearRecord(const QString& title) {
    m_title = title;
    m_stale = false;
    for (auto& r : m_rates)
        r.clear();
    m_days.clear();
    m_chance = 0;
    update();
}

RollingRateChart::View RollingRateChart::naturalView(const PlanFigures& f) {
    return f.stats.periods > kRecentShown && f.days.size() > 1 ? View::Daily : View::Recent;
}

void RollingRateChart::showRecord(const QString& title, const PlanFigures& f, bool stale) {
    m_title = title;
    m_stale = stale;
    m_chance = 100.0 * f.chance;
    const std::size_t shown = std::min(f.recent.size(), std::size_t(kRecentShown));
    const std::size_t skip = f.recent.size() - shown;
    m_firstShown = f.stats.periods - int(shown) + 1;
    for (std::size_t w = 0; w < kWindows.size(); ++w) {
        std::vector<double> all = RollingHitRate(f.recent, kWindows[w]);
        m_rates[w].assign(all.begin() + std::ptrdiff_t(skip), all.end());
        for (double& r : m_rates[w])
            r *= 100.0;
    }
    m_days.clear();
    for (std::size_t d = 0; d < f.days.size(); ++d) {
        const DayTally& t = f.days[d];
        DayPoint pt;
        pt.label = t.day.empty() ? QStringLiteral("第%1段").arg(d + 1)
                                 : QString::fromStdString(t.day.substr(5));
        pt.periods = t.periods;
        pt.rate = t.periods ? 100.0 * t.hits / t.periods : 0.0;
        const double p = t.periods && f.spaceSize ? t.sizeSum / t.periods / f.spaceSize : 0.0;
        pt.chance = 100.0 * p;
        pt.band = t.periods ? 100.0 * kSignificanceZ * std::sqrt(p * (1 - p) / t.periods) : 0.0;
        m_days.push_back(pt);
    }
    update();
}

void RollingRateChart::setView(View view) {
    m_view = view;
    update();
}

int RollingRateChart::pointCount() const {
    return m_view == View::Recent ? int(m_rates[0].size()) : int(m_days.size());
}

void RollingRateChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    m_view == View::Recent ? paintRecent(p) : paintDaily(p);
    if (m_stale) p.fillRect(rect(), kStaleWash);
}

void RollingRateChart::paintRecent(QPainter& p) {
    std::vector<LegendItem> legend;
    for (std::size_t w = 0; w < kWindows.size(); ++w)
        legend.push_back({QStringLiteral("近%1期实际命中率").arg(kWindows[w]),
                          QPen(kWindowColours[w], 1.5), false});
    const QPen chancePen(kChanceColour, 1.5, Qt::DashLine);
    // Without a record there is no chance figure to tell.
    legend.push_back({m_rates[0].empty()
                          ? QStringLiteral("理论命中率")
                          : QStringLiteral("理论命中率 %1%").arg(m_chance, 0, 'f', 1),
                      chancePen, false});
    double highest = m_chance;
    for (const auto& rates : m_rates)
        for (double r : rates)
            highest = std::max(highest, r);
    const PercentScale scale = ScaleTo(m_rates[0].empty() ? 100.0 : highest);
    const QRectF plot = PaintFrame(p, rect(), TitleOf(m_title, m_stale), legend, scale.widest,
                                   QStringLiteral("期"));
    PaintValueAxis(p, plot, scale.top, scale.step, "%");
    const int count = std::max(pointCount(), 2);
    const int first = m_firstShown, last = m_firstShown + count - 1;
    const auto px = [&](double period) {
        return plot.left() + (period - first) / (last - first) * plot.width();
    };
    const auto py = [&](double percent) {
        return plot.bottom() - percent / scale.top * plot.height();
    };
    const double step = std::max(1.0, NiceStep(last - first, kTicks));
    if (first == 1 && step >= 5) PaintCategoryTick(p, plot, px(1), QStringLiteral("1"));
    for (double v = std::ceil(first / step) * step; v <= last; v += step)
        if (v >= first) PaintCategoryTick(p, plot, px(v), QString::number(v, 'g', 9));
    p.setClipRect(plot.adjusted(-1, -2, 1, 1));
    for (std::size_t w = 0; w < kWindows.size(); ++w) {
        QPainterPath path;
        for (std::size_t i = 0; i < m_rates[w].size(); ++i) {
            const QPointF pt(px(double(first) + double(i)), py(m_rates[w][i]));
            i == 0 ? path.moveTo(pt) : path.lineTo(pt);
        }
        p.strokePath(path, QPen(kWindowColours[w], 1.5));
    }
    p.setPen(chancePen);
    p.drawLine(QPointF(plot.left(), py(m_chance)), QPointF(plot.right(), py(m_chance)));
}

void RollingRateChart::paintDaily(QPainter& p) {
    const QPen ratePen(kWindowColours[1], 1.5);
    const QPen chancePen(kChanceColour, 1.5, Qt::DashLine);
    const std::vector<LegendItem> legend = {
        {QStringLiteral("每日实际命中率"), ratePen, false},
        {QStringLiteral("理论命中率"), chancePen, false},
        {QStringLiteral("随机波动范围（99%）"), QPen(kBandColour), true}};
    double highest = 0;
    for (const DayPoint& pt : m_days)
        highest = std::max({highest, pt.rate, pt.chance + pt.band});
    const PercentScale scale = ScaleTo(m_days.empty() ? 100.0 : highest);
    const QRectF plot = PaintFrame(p, rect(), TitleOf(m_title, m_stale), legend, scale.widest,
                                   QStringLiteral("日期"));
    PaintValueAxis(p, plot, scale.top, scale.step, "%");
    const int n = int(m_days.size());
    if (n == 0) return;
    const double slot = plot.width() / n;
    const auto px = [&](int d) { return plot.left() + slot * (d + 0.5); };
    const auto py = [&](double percent) {
        return plot.bottom() - std::clamp(percent, 0.0, scale.top) / scale.top * plot.height();
    };
    const int labelEvery = int(std::ceil(
        n * (p.fontMetrics().horizontalAdvance(QStringLiteral("12-31")) + kPad) / plot.width()));
    for (int d = 0; d < n; d += std::max(labelEvery, 1))
        PaintCategoryTick(p, plot, px(d), m_days[std::size_t(d)].label);
    p.setClipRect(plot.adjusted(-1, -2, 1, 1));
    QPainterPath rate, chance;
    for (int d = 0; d < n; ++d) {
        const DayPoint& pt = m_days[std::size_t(d)];
        p.fillRect(QRectF(px(d) - slot / 2, py(pt.chance + pt.band), slot,
                          py(pt.chance - pt.band) - py(pt.chance + pt.band)),
                   kBandColour);
        const QPointF r(px(d), py(pt.rate)), c(px(d), py(pt.chance));
        d == 0 ? rate.moveTo(r) : rate.lineTo(r);
        d == 0 ? chance.moveTo(c) : chance.lineTo(c);
    }
    p.strokePath(chance, chancePen);
    p.strokePath(rate, ratePen);
    p.setBrush(kWindowColours[1]);
    p.setPen(Qt::NoPen);
    for (int d = 0; d < n; ++d)
        p.drawEllipse(QPointF(px(d), py(m_days[std::size_t(d)].rate)), 2.5, 2.5);
}

} // namespace zuohao::gui
