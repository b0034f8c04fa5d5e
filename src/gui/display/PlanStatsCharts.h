#pragma once
// The pictures of the 计划统计 window: the rolling hit rate against the chance line, the
// histogram of miss-run lengths against chance, and a strip of 中/挂 cells.
#include <QWidget>
#include <array>
#include <vector>

namespace zuohao::gui {

// Rolling hit rate over the last 20, 50 and 100 periods, and the chance line.
class RollingRateChart : public QWidget {
    Q_OBJECT
public:
    static constexpr std::array<int, 3> kWindows = {20, 50, 100};
    explicit RollingRateChart(QWidget* parent = nullptr);
    // hits oldest first; chance = 理论命中率.
    void showRecord(const QString& title, const std::vector<bool>& hits, double chance);
    int pointCount() const { return int(m_rates[0].size()); }
    // Percent per period over kWindows[w].
    const std::vector<double>& rates(std::size_t w) const { return m_rates.at(w); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString m_title;
    std::array<std::vector<double>, 3> m_rates;
    double m_chance = 0; // percent
};

// Miss runs of each length: counted (实际) and expected by chance (理论).
class MissRunHistogram : public QWidget {
    Q_OBJECT
public:
    explicit MissRunHistogram(QWidget* parent = nullptr);
    void showRuns(const std::vector<int>& counted, const std::vector<double>& expected);
    int barCount() const { return int(m_actual.size()); }
    // Index 0 is runs of length 1.
    const std::vector<double>& actual() const { return m_actual; }
    const std::vector<double>& chance() const { return m_chance; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<double> m_actual;
    std::vector<double> m_chance;
};

// The newest periods as cells: red 中, grey 挂, oldest on the left.
class HitStrip : public QWidget {
    Q_OBJECT
public:
    static constexpr int kCells = 100;
    explicit HitStrip(QWidget* parent = nullptr);
    void setHits(const std::vector<bool>& hits);
    const std::vector<bool>& shown() const { return m_hits; }
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<bool> m_hits; // at most kCells, oldest first
};

} // namespace zuohao::gui
