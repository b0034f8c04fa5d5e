#pragma once
// The pictures of the 计划统计 window: the hit rate against the chance line (the last few
// hundred periods as rolling rates, or one point per day over a long record), the histogram
// of miss-run lengths against chance, and a strip of 中/挂 cells. A picture of a stale
// result is washed grey and says so in its title.
#include <QString>
#include <QWidget>
#include <array>
#include <vector>

#include "core/analysis/PlanFigures.h"

class QPainter;

namespace zuohao::gui {

class RollingRateChart : public QWidget {
    Q_OBJECT
public:
    enum class View { Recent, Daily };
    static constexpr std::array<int, 3> kWindows = {20, 50, 100};
    static constexpr int kRecentShown = 500; // periods of the rolling view

    // One day (or block of periods) of the daily view, in percent.
    struct DayPoint {
        QString label; // MM-dd, or the block's number
        double rate = 0;
        double chance = 0;
        double band = 0; // chance variation: kSignificanceZ standard deviations of the day
        int periods = 0;
    };

    explicit RollingRateChart(QWidget* parent = nullptr);
    void showRecord(const QString& title, const PlanFigures& f, bool stale);
    void clearRecord(const QString& title);
    // The view the record chooses by itself: daily over a record longer than the rolling view.
    static View naturalView(const PlanFigures& f);
    void setView(View view);
    View view() const { return m_view; }
    // Points of the view shown.
    int pointCount() const;
    // Recent view: percent per period over kWindows[w], for the periods shown.
    const std::vector<double>& rates(std::size_t w) const { return m_rates.at(w); }
    const std::vector<DayPoint>& days() const { return m_days; }
    bool stale() const { return m_stale; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    void paintRecent(QPainter& p);
    void paintDaily(QPainter& p);

    QString m_title;
    View m_view = View::Recent;
    bool m_stale = false;
    int m_firstShown = 1; // number of the first period shown in the record
    std::array<std::vector<double>, 3> m_rates;
    double m_chance = 0; // percent
    std::vector<DayPoint> m_days;
};

// Miss runs by length: counted (实际) and expected by chance (理论), one bar pair per length
// up to 30, then ranges; each count stands over its bar, a tooltip tells the class.
class MissRunHistogram : public QWidget {
    Q_OBJECT
public:
    explicit MissRunHistogram(QWidget* parent = nullptr);
    void showClasses(const std::vector<RunClass>& classes, bool stale);
    int barCount() const { return int(m_classes.size()); }
    bool stale() const { return m_stale; }
    // Index 0 is runs of length 1.
    std::vector<double> actual() const;
    std::vector<double> chance() const;
    // The class label ("13", "31–50", ">100") and its tooltip text.
    static QString classLabel(const RunClass& c);
    QString toolTipOf(int bar) const;
    // The bar pair under a point of the widget, or -1.
    int barAt(const QPoint& pos) const;

protected:
    bool event(QEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<RunClass> m_classes;
    bool m_stale = false;
    QRectF m_plot; // where the bars were painted last
};

// The newest periods as cells: red 中, grey 挂, oldest on the left; washed grey when stale.
class HitStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCells = 100;
    explicit HitStrip(QWidget* parent = nullptr);
    void setHits(const std::vector<bool>& hits, bool stale = false);
    const std::vector<bool>& shown() const { return m_hits; }
    bool stale() const { return m_stale; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<bool> m_hits; // at most kCells, oldest first
    bool m_stale = false;
};

} // namespace zuohao::gui
