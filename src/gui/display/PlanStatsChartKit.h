#pragma once
// The painting the 计划统计 pictures share: colours, a plot's frame, its axes and ticks.
#include <QColor>
#include <QPen>
#include <QRectF>
#include <QString>
#include <vector>

class QPainter;
class QRect;

namespace zuohao::gui::chartkit {

inline const QColor kWindowColours[3] = {QColor(230, 126, 34), QColor(41, 128, 185),
                                         QColor(39, 174, 96)};
inline const QColor kChanceColour(192, 0, 0);
inline const QColor kGridColour(225, 225, 225);
inline const QColor kHitColour(214, 48, 49);
inline const QColor kMissColour(189, 195, 199);
inline const QColor kBandColour(192, 0, 0, 28);
inline const QColor kStaleWash(255, 255, 255, 150);
inline constexpr int kChartFontSize = 9;
inline constexpr int kMinBarHeight = 2; // a bar of one run still shows
inline constexpr int kTicks = 5;        // about this many labelled ticks on an axis
inline constexpr int kPad = 6;          // pixels between the parts of a chart
inline constexpr int kSwatch = 18;      // legend sample width
inline constexpr double kBarFill = 0.8; // share of a category the bar pair fills

// 1, 2 or 5 times a power of ten, so that span takes about `ticks` steps.
double NiceStep(double span, int ticks);

// A percent axis from 0 to a little above the highest value (at most 100 %), so that a rate
// of a few percent does not lie flat along the bottom.
struct PercentScale {
    double top = 100;
    double step = 20;
    QString widest; // the widest tick label
};
PercentScale ScaleTo(double highest);

struct LegendItem {
    QString text;
    QPen pen;    // a line sample
    bool filled; // a bar sample in pen's colour
};

// The title of a stale picture says so.
QString TitleOf(const QString& title, bool stale);

// The frame around a plot: title on top, legend below, room on the left for the value labels
// and below for the category labels and the axis title. Returns the plot rectangle.
QRectF PaintFrame(QPainter& p, const QRect& area, const QString& title,
                  const std::vector<LegendItem>& legend, const QString& widestValue,
                  const QString& axisTitle);

// Value ticks 0..top as grid lines with labels on the left, then the two axis lines.
void PaintValueAxis(QPainter& p, const QRectF& plot, double top, double step, const char* suffix);

// A category tick and its label under the plot at x; row 1 puts the label a line lower. The
// label is centred on labelX when given (a crowded label moved aside).
void PaintCategoryTick(QPainter& p, const QRectF& plot, double x, const QString& text, int row = 0,
                       double labelX = -1);

} // namespace zuohao::gui::chartkit
