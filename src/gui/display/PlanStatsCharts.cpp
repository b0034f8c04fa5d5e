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

namespace zuohao::gui {

namespace {
const QColor kWindowColours[3] = {QColor(230, 126, 34), QColor(41, 128, 185), QColor(39, 174, 96)};
const QColor kChanceColour(192, 0, 0);
const QColor kGridColour(225, 225, 225);
const QColor kHitColour(214, 48, 49);
const QColor kMissColour(189, 195, 199);
const QColor kBandColour(192, 0, 0, 28);
const QColor kStaleWash(255, 255, 255, 150);
constexpr int kChartFontSize = 9;
constexpr int kMinBarHeight = 2; // a bar of one run still shows
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

// A percent axis from 0 to a little above the highest value (at most 100 %), so that a rate
// of a few percent does not lie flat along the bottom.
struct PercentScale {
    double top = 100;
    double step = 20;
    QString widest; // the widest tick label
};

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

struct LegendItem {
    QString text;
    QPen pen;    // a line sample
    bool filled; // a bar sample in pen's colour
};

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
void PaintCategoryTick(QPainter& p, const QRectF& plot, double x, const QString& text, int row = 0,
                       double labelX = -1) {
    const QFontMetrics fm = p.fontMetrics();
    p.drawLine(QPointF(x, plot.bottom()), QPointF(x, plot.bottom() + kPad / 2.0));
    const double w = fm.horizontalAdvance(text) + kPad;
    const double at = labelX < 0 ? x : labelX;
    p.drawText(QRectF(at - w / 2, plot.bottom() + kPad / 2.0 + row * fm.height(), w, fm.height()),
               Qt::AlignCenter, text);
}
} // namespace

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

MissRunHistogram::MissRunHistogram(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(180);
    setMouseTracking(true);
}

void MissRunHistogram::showClasses(const std::vector<RunClass>& classes, bool stale) {
    m_classes = classes;
    m_stale = stale;
    update();
}

std::vector<double> MissRunHistogram::actual() const {
    std::vector<double> v;
    for (const RunClass& c : m_classes)
        v.push_back(c.counted);
    return v;
}

std::vector<double> MissRunHistogram::chance() const {
    std::vector<double> v;
    for (const RunClass& c : m_classes)
        v.push_back(c.expected);
    return v;
}

QString MissRunHistogram::classLabel(const RunClass& c) {
    if (c.to == 0) return QStringLiteral(">%1").arg(c.from - 1);
    if (c.to == c.from) return QString::number(c.from);
    return QStringLiteral("%1–%2").arg(c.from).arg(c.to);
}

QString MissRunHistogram::toolTipOf(int bar) const {
    if (bar < 0 || bar >= barCount()) return {};
    const RunClass& c = m_classes[std::size_t(bar)];
    return QStringLiteral("连挂 %1 期：实际 %2 次，理论 %3 次")
        .arg(classLabel(c))
        .arg(c.counted)
        .arg(c.expected, 0, 'f', c.expected < 10 ? 2 : 1);
}

int MissRunHistogram::barAt(const QPoint& pos) const {
    if (m_classes.empty() || !m_plot.isValid()) return -1;
    if (pos.x() < m_plot.left() || pos.x() >= m_plot.right() || pos.y() > m_plot.bottom())
        return -1;
    return std::clamp(int((pos.x() - m_plot.left()) / (m_plot.width() / barCount())), 0,
                      barCount() - 1);
}

bool MissRunHistogram::event(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        const QString tip = toolTipOf(barAt(help->pos()));
        if (tip.isEmpty())
            QToolTip::hideText();
        else
            QToolTip::showText(help->globalPos(), tip, this);
        return true;
    }
    return QWidget::event(event);
}

void MissRunHistogram::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor chanceFill = kChanceColour.lighter(160);
    double highest = 1;
    for (const RunClass& c : m_classes)
        highest = std::max({highest, double(c.counted), c.expected});
    const double step = NiceStep(highest, kTicks);
    // Room above the highest bar for its count.
    const double top = std::ceil(highest * 1.15 / step) * step;
    const QRectF plot = PaintFrame(p, rect(), TitleOf(QStringLiteral("连挂长度分布"), m_stale),
                                   {{QStringLiteral("实际次数"), QPen(kWindowColours[1]), true},
                                    {QStringLiteral("理论次数"), QPen(chanceFill), true}},
                                   QString::number(top, 'g', 6), QStringLiteral("连挂期数"));
    m_plot = plot;
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
    QFont small = ChineseFont(kChartFontSize - 2);
    const QFontMetrics fmSmall(small);
    const QFontMetrics fm = p.fontMetrics();
    // Labels: every class past the single lengths, the single lengths as often as they fit.
    const int labelEvery =
        int(std::ceil(bars * (fm.horizontalAdvance(QStringLiteral("30")) + kPad) / plot.width()));
    for (int i = 0; i < bars; ++i) {
        const RunClass& c = m_classes[std::size_t(i)];
        const double left = plot.left() + category * (i + (1 - kBarFill) / 2);
        const auto bar = [&](double x, double v, const QColor& colour) {
            if (v <= 0) return plot.bottom();
            const double h = std::max(double(kMinBarHeight), v / top * plot.height());
            p.fillRect(QRectF(x, plot.bottom() - h, barW, h), colour);
            return plot.bottom() - h;
        };
        const double y = bar(left, c.counted, kWindowColours[1]);
        bar(left + barW, c.expected, chanceFill);
        if (c.counted > 0) {
            p.setFont(small);
            const QString count = QString::number(c.counted);
            const double textW = fmSmall.horizontalAdvance(count);
            p.setPen(Qt::black);
            if (textW <= category) {
                const double w = std::max(textW, barW * 2);
                p.drawText(QRectF(left + barW - w / 2, y - fmSmall.height(), w, fmSmall.height()),
                           Qt::AlignCenter, count);
            } else { // too wide for its category: upright over (or on) the bar
                p.save();
                p.translate(left + barW / 2, std::max(y - kPad / 2.0, plot.top() + textW));
                p.rotate(-90);
                p.drawText(QRectF(0, -fmSmall.height() / 2.0, textW + 1, fmSmall.height()),
                           Qt::AlignLeft | Qt::AlignVCenter, count);
                p.restore();
            }
            p.setFont(ChineseFont(kChartFontSize));
        }
    }
    // The ranges' labels first (one a line lower where it would touch the one before); a
    // single length's only where it leaves them room.
    std::array<std::vector<std::pair<double, double>>, 2> taken; // label extents, by row
    const auto freeIn = [&](int row, double from, double to) {
        for (const auto& [a, b] : taken[std::size_t(row)])
            if (from < b && a < to) return false;
        return true;
    };
    const auto label = [&](int i, bool always) {
        const QString text = classLabel(m_classes[std::size_t(i)]);
        const double x = plot.left() + category * (i + 0.5);
        const double half = (fm.horizontalAdvance(text) + kPad) / 2.0;
        int row = freeIn(0, x - half, x + half) ? 0 : 1;
        double at = x;
        if (row > 0 && !freeIn(1, x - half, x + half)) {
            if (!always) return;
            // Both rows crowded: on the first, moved right of the labels there.
            row = 0;
            for (const auto& [a, b] : taken[0])
                at = std::max(at, b + half);
        }
        taken[std::size_t(row)].emplace_back(at - half, at + half);
        PaintCategoryTick(p, plot, x, text, row, at);
    };
    const auto single = [&](int i) {
        const RunClass& c = m_classes[std::size_t(i)];
        return c.to == c.from && c.from <= kSingleLengths;
    };
    p.setPen(Qt::black);
    for (int i = 0; i < bars; ++i)
        if (!single(i)) label(i, true);
    for (int i = 0; i < bars; ++i)
        if (single(i) && ((i + 1) % std::max(labelEvery, 1) == 0 || i == 0)) label(i, false);
    p.drawLine(plot.bottomLeft(), plot.bottomRight());
    if (m_stale) p.fillRect(rect(), kStaleWash);
}

HitStrip::HitStrip(QWidget* parent) : QWidget(parent) {
    setMinimumHeight(18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void HitStrip::setHits(const std::vector<bool>& hits, bool stale) {
    m_stale = stale;
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
    if (m_stale) p.fillRect(rect(), kStaleWash);
}

} // namespace zuohao::gui
