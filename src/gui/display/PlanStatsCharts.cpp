#include "gui/display/PlanStatsCharts.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QLineSeries>
#include <QPainter>
#include <QValueAxis>
#include <algorithm>

#include "core/analysis/PlanRecord.h"
#include "gui/common/Fonts.h"

namespace zuohao::gui {

namespace {
constexpr int kWindows[3] = {20, 50, 100};
const QColor kWindowColours[3] = {QColor(230, 126, 34), QColor(41, 128, 185), QColor(39, 174, 96)};
const QColor kChanceColour(192, 0, 0);
const QColor kHitColour(214, 48, 49);
const QColor kMissColour(189, 195, 199);
constexpr int kChartFontSize = 9;
constexpr int kMaxHistogramBars = 30;

QChart* newChart() {
    auto* chart = new QChart;
    chart->setFont(ChineseFont(kChartFontSize));
    chart->setTitleFont(ChineseFont(kChartFontSize + 1, true));
    chart->legend()->setFont(ChineseFont(kChartFontSize));
    chart->legend()->setAlignment(Qt::AlignBottom);
    chart->setMargins(QMargins(4, 4, 4, 4));
    return chart;
}
} // namespace

RollingRateChart::RollingRateChart(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(220);
    showRecord(QStringLiteral("命中率走势"), {}, 0.0);
}

void RollingRateChart::showRecord(const QString& title, const std::vector<bool>& hits,
                                  double chance) {
    QChart* chart = newChart();
    chart->setTitle(title);
    const int n = int(hits.size());
    m_points = n;
    auto* x = new QValueAxis;
    x->setRange(1, std::max(n, 2));
    x->setLabelFormat(QStringLiteral("%d"));
    x->setTitleText(QStringLiteral("期"));
    x->setLabelsFont(ChineseFont(kChartFontSize));
    auto* y = new QValueAxis;
    y->setRange(0, 100); // percent
    y->setLabelFormat(QStringLiteral("%.0f%%"));
    y->setLabelsFont(ChineseFont(kChartFontSize));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    for (int w = 0; w < 3; ++w) {
        auto* s = new QLineSeries;
        s->setName(QStringLiteral("近%1期实际命中率").arg(kWindows[w]));
        s->setPen(QPen(kWindowColours[w], 1.5));
        const std::vector<double> rate = RollingHitRate(hits, kWindows[w]);
        QList<QPointF> pts;
        pts.reserve(qsizetype(rate.size()));
        for (int i = 0; i < n; ++i)
            pts.append(QPointF(i + 1, 100.0 * rate[std::size_t(i)]));
        s->replace(pts);
        chart->addSeries(s);
        s->attachAxis(x);
        s->attachAxis(y);
    }
    auto* c = new QLineSeries;
    c->setName(QStringLiteral("理论命中率 %1%").arg(100.0 * chance, 0, 'f', 1));
    c->setPen(QPen(kChanceColour, 1.5, Qt::DashLine));
    c->append(1, 100.0 * chance);
    c->append(std::max(n, 2), 100.0 * chance);
    chart->addSeries(c);
    c->attachAxis(x);
    c->attachAxis(y);
    QChart* old = this->chart();
    setChart(chart);
    delete old;
}

MissRunHistogram::MissRunHistogram(QWidget* parent) : QChartView(parent) {
    setRenderHint(QPainter::Antialiasing);
    setMinimumHeight(200);
    showRuns({}, {});
}

void MissRunHistogram::showRuns(const std::vector<int>& counted,
                                const std::vector<double>& expected) {
    QChart* chart = newChart();
    chart->setTitle(QStringLiteral("连挂长度分布"));
    const int longest = int(std::max(counted.size(), expected.size())) - 1;
    const int bars = std::clamp(longest, 1, kMaxHistogramBars);
    m_bars = longest > 0 ? bars : 0;
    auto* actual = new QBarSet(QStringLiteral("实际次数"));
    actual->setColor(kWindowColours[1]);
    auto* chance = new QBarSet(QStringLiteral("理论次数"));
    chance->setColor(kChanceColour.lighter(160));
    QStringList categories;
    double top = 1;
    for (int l = 1; l <= bars; ++l) {
        const double a = std::size_t(l) < counted.size() ? counted[std::size_t(l)] : 0;
        const double e = std::size_t(l) < expected.size() ? expected[std::size_t(l)] : 0;
        *actual << a;
        *chance << e;
        top = std::max({top, a, e});
        categories << QString::number(l);
    }
    auto* series = new QBarSeries;
    series->append(actual);
    series->append(chance);
    chart->addSeries(series);
    auto* x = new QBarCategoryAxis;
    x->append(categories);
    x->setTitleText(QStringLiteral("连挂期数"));
    x->setLabelsFont(ChineseFont(kChartFontSize));
    auto* y = new QValueAxis;
    y->setRange(0, top * 1.1);
    y->setLabelFormat(QStringLiteral("%.0f"));
    y->setLabelsFont(ChineseFont(kChartFontSize));
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    series->attachAxis(x);
    series->attachAxis(y);
    QChart* old = this->chart();
    setChart(chart);
    delete old;
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
