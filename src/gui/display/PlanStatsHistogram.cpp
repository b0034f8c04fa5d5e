// The miss-run histogram and the strip of the newest periods of the 计划统计 window.
#include <QHelpEvent>
#include <QPainter>
#include <QToolTip>
#include <algorithm>
#include <array>
#include <cmath>

#include "gui/common/Fonts.h"
#include "gui/display/PlanStatsChartKit.h"
#include "gui/display/PlanStatsCharts.h"

namespace zuohao::gui {

using namespace chartkit;

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
