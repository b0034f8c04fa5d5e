#include "gui/display/PlanStatsCharts.h"

#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

#include "core/analysis/PlanRecord.h"
#include "gui/common/Fonts.h"

namespace zuohao::gui {

namespace {
const QColor kWindowColours[3] = {QColor(230, 126, 34), QColor(41, 128, 185), QColor(39, 174, 96)};
const QColor kChanceColour(192, 0, 0);
const QColor kGridColour(225, 225, 225);
const QColor kHitColour(214, 48, 49);
const QColor kMissColour(189, 195, 199);
constexpr int kChartFontSize = 9;
constexpr int kMaxHistogramBars = 30;
constexpr int kTicks = 5;        // about this many labelled ticks on an axis
constexpr int kPad = 6;          // pixels between the parts of a chart
constexpr int kSwatch = 18;      // legend sample width
constexpr double kBarFill = 0.8; // share of a category the bar pair fills

// 1, 2 or 5 times a power of ten, so that span takes about `ticks` steps.
double NiceStep(double span, int ticks) {
    const double raw = std::max(span / ticks, 1e-9);
    const double magnitude = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double f : {1.0, 2.0, 5.0})
        if (f * magnitude >= raw * (1 - 1e-9)) return f * magnitude;
    return 10 * magnitude;
}

struct LegendItem {
    QString text;
    QPen pen;    // a line sample
    bool filled; // a bar sample in pen's colour
};

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

// A category tick and its label under the plot at x.
void PaintCategoryTick(QPainter& p, const QRectF& plot, double x, const QString& text) {
    const QFontMetrics fm = p.fontMetrics();
    p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kPad / 2.0));
    const double w = fm.horizontalAdvance(text) + kPad;
    p.drawText(QRectF(x - w / 2, plot.bottom() + kPad / 2.0, w, fm.height()), Qt::AlignCenter,
               text);
}
} // namespace

RollingRateChart::RollingRateChart(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(220);
    showRecord(QStringLiteral("命中率走势"), {}, 0.0);
}

void RollingRateChart::showRecord(const QString& title, const std::vector<bool>& hits,
                                  double chance) {
    m_title = title;
    m_chance = 100.0 * chance;
    for (std::size_t w = 0; w < kWindows.size(); ++w) {
        m_rates[w] = RollingHitRate(hits, kWindows[w]);
        m_rates[w].resize(hits.size());
        for (double& r : m_rates[w])
            r *= 100.0;
    }
    update();
}

void RollingRateChart::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    std::vector<LegendItem> legend;
    for (std::size_t w = 0; w < kWindows.size(); ++w)
        legend.push_back({QStringLiteral("近%1期实际命中率").arg(kWindows[w]),
                          QPen(kWindowColours[w], 1.5), false});
    const QPen chancePen(kChanceColour, 1.5, Qt::DashLine);
    legend.push_back({QStringLiteral("理论命中率 %1%").arg(m_chance, 0, 'f', 1), chancePen, false});
    const QRectF plot =
        PaintFrame(p, rect(), m_title, legend, QStringLiteral("100%"), QStringLiteral("期"));
    PaintValueAxis(p, plot, 100, 20, "%");
    const int last = std::max(pointCount(), 2);
    const auto px = [&](double period) {
        return plot.left() + (period - 1) / (last - 1) * plot.width();
    };
    const auto py = [&](double percent) { return plot.bottom() - percent / 100 * plot.height(); };
    const double step = std::max(1.0, NiceStep(last - 1, kTicks));
    if (step >= 5) PaintCategoryTick(p, plot, px(1), QStringLiteral("1"));
    for (double v = step; v <= last; v += step)
        PaintCategoryTick(p, plot, px(v), QString::number(v, 'g', 9));
    p.setClipRect(plot.adjusted(-1, -2, 1, 1));
    for (std::size_t w = 0; w < kWindows.size(); ++w) {
        QPainterPath path;
        for (std::size_t i = 0; i < m_rates[w].size(); ++i) {
            const QPointF pt(px(double(i) + 1), py(m_rates[w][i]));
            i == 0 ? path.moveTo(pt) : path.lineTo(pt);
        }
        p.strokePath(path, QPen(kWindowColours[w], 1.5));
    }
    p.setPen(chancePen);
    p.drawLine(QPointF(plot.left(), py(m_chance)), QPointF(plot.right(), py(m_chance)));
}

MissRunHistogram::MissRunHistogram(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(200);
}

void MissRunHistogram::showRuns(const std::vector<int>& counted,
                                const std::vector<double>& expected) {
    const int longest = int(std::max(counted.size(), expected.size())) - 1;
    const std::size_t bars = std::size_t(std::clamp(longest, 0, kMaxHistogramBars));
    m_actual.assign(bars, 0);
    m_chance.assign(bars, 0);
    for (std::size_t l = 1; l <= bars; ++l) {
        if (l < counted.size()) m_actual[l - 1] = counted[l];
        if (l < expected.size()) m_chance[l - 1] = expected[l];
    }
    update();
}

void MissRunHistogram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor chanceFill = kChanceColour.lighter(160);
    double highest = 1;
    for (std::size_t i = 0; i < m_actual.size(); ++i)
        highest = std::max({highest, m_actual[i], m_chance[i]});
    const double step = NiceStep(highest, kTicks);
    const double top = std::ceil(highest * 1.05 / step) * step;
    const QRectF plot = PaintFrame(p, rect(), QStringLiteral("连挂长度分布"),
                                   {{QStringLiteral("实际次数"), QPen(kWindowColours[1]), true},
                                    {QStringLiteral("理论次数"), QPen(chanceFill), true}},
                                   QString::number(top, 'g', 6), QStringLiteral("连挂期数"));
    const int bars = barCount();
    if (bars == 0) { // nothing counted yet: bare axes and a word instead of a scale
        p.setPen(Qt::black);
        p.drawLine(plot.bottomLeft(), plot.bottomRight());
        p.drawLine(plot.bottomLeft(), plot.topLeft());
        p.drawText(plot, Qt::AlignCenter, QStringLiteral("暂无数据"));
        return;
    }
    PaintValueAxis(p, plot, top, step, "");
    const double category = plot.width() / bars;
    const double barW = category * kBarFill / 2;
    const int labelEvery = int(std::ceil(
        bars * (p.fontMetrics().horizontalAdvance(QStringLiteral("30")) + kPad) / plot.width()));
    for (int i = 0; i < bars; ++i) {
        const double left = plot.left() + category * (i + (1 - kBarFill) / 2);
        const auto bar = [&](double x, double v, const QColor& c) {
            const double h = v / top * plot.height();
            p.fillRect(QRectF(x, plot.bottom() - h, barW, h), c);
        };
        bar(left, m_actual[std::size_t(i)], kWindowColours[1]);
        bar(left + barW, m_chance[std::size_t(i)], chanceFill);
        if ((i + 1) % std::max(labelEvery, 1) == 0 || i == 0)
            PaintCategoryTick(p, plot, plot.left() + category * (i + 0.5), QString::number(i + 1));
    }
    p.setPen(Qt::black);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
}

HitStrip::HitStrip(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HitStrip::setHits(const std::vector<bool>& hits) {
    const std::size_t from = hits.size() > std::size_t(kCells) ? hits.size() - kCells : 0;
    m_hits.assign(hits.begin() + std::ptrdiff_t(from), hits.end());
    update();
}

QSize HitStrip::sizeHint() const {
    return {kCells * 8, 18};
}

void HitStrip::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const double w = double(width()) / kCells;
    for (std::size_t i = 0; i < m_hits.size(); ++i) {
        const QRectF cell(w * double(i), 1, std::max(1.0, w - 1), height() - 2);
        p.fillRect(cell, m_hits[i] ? kHitColour : kMissColour);
    }
}

} // namespace zuohao::gui
