#include "gui/display/HistoryGridModel.h"

#include <algorithm>
#include <cmath>

#include "core/model/Text.h"
#include "gui/common/Fonts.h"

namespace zuohao::gui {

namespace {

using grid::kColumns;
using grid::kFirstStatColumn;
using grid::kHeaderRows;

// Decimal texts of the small counts that fill most cells, shared instead of built per cell.
const QString& smallNumberText(int v) {
    static const std::array<QString, 1000> texts = [] {
        std::array<QString, 1000> t;
        for (int i = 0; i < 1000; ++i)
            t[std::size_t(i)] = QString::number(i);
        return t;
    }();
    return texts[std::size_t(v)];
}

// What a cell shows: its text without the mark character, a number in decimal.
QString shownText(const Cell& cell) {
    switch (cell.kind) {
    case Cell::Kind::Empty:
        return {};
    case Cell::Kind::Number:
        if (cell.number >= 0 && cell.number < 1000 && std::floor(cell.number) == cell.number)
            return smallNumberText(int(cell.number));
        return QString::fromStdString(DecimalText(cell.number));
    case Cell::Kind::Text:
        break;
    }
    const std::string& t = cell.text;
    // A hit mark of a one-digit index, or a plain digit: the shared text of that digit.
    const std::size_t start = cell.isMark() ? 1 : 0;
    if (t.size() == start + 1 && t[start] >= '0' && t[start] <= '9')
        return smallNumberText(t[start] - '0');
    if (t.size() == start) return {};
    return QString::fromStdString(RemoveChar(t, kMarkChar));
}

} // namespace

HistoryGridModel::HistoryGridModel(QObject* parent)
    : QAbstractTableModel(parent), m_font(ChineseFont(grid::kFontPointSize)),
      m_boldFont(ChineseFont(grid::kFontPointSize, true)) {
    for (int c = 0; c < kColumns; ++c) {
        if (c < kFirstStatColumn) continue; // period and number keep the grid's colours
        const auto colours = grid::StatCellColours(c);
        m_background[std::size_t(c)] = colours.unmarked;
        m_markedBackground[std::size_t(c)] = colours.marked;
    }
    m_black = QColor(Qt::black);
    m_white = QColor(Qt::white);
    m_centre = int(Qt::AlignCenter);
    m_fontVariant = m_font;
    m_boldFontVariant = m_boldFont;
    writeHeaders({}, {});
}

void HistoryGridModel::writeHeaders(const QString& lotteryName, const QString& cap) {
    auto& top = m_header[0];
    auto& labels = m_header[1];
    for (auto& row : m_header)
        std::fill(row.begin(), row.end(), QString());
    // The period and number columns carry one text over both header rows.
    top[kPeriodColumn] = labels[kPeriodColumn] = lotteryName;
    top[kNumberColumn] = labels[kNumberColumn] = QStringLiteral("号码");
    static const char* const titles[] = {"10期冷热", "任三码合走势", "任二码合走势", "任二码差走势",
                                         "和尾走势"};
    for (int c = kFirstStatColumn; c < kColumns; ++c) {
        const int g = BlockOf(c);
        const int k = PlaceOf(c);
        top[std::size_t(c)] = cap + QString::fromUtf8(titles[g]);
        QString label;
        if (g == 0 && k < grid::kFirstWarmPlace)
            label = QStringLiteral("热码");
        else if (g == 0 && k < grid::kFirstColdPlace)
            label = QStringLiteral("温码");
        else if (g == 0 && !IsDrawBoxPlace(k))
            label = QStringLiteral("冷码");
        else if (IsDrawBoxPlace(k))
            label = smallNumberText(k - kDigitPlaces); // the four draw-box columns: 0 .. 3
        else
            label = smallNumberText(k); // the digits 0 .. 9
        labels[std::size_t(c)] = label;
    }
}

bool HistoryGridModel::PrepareHistoryGrid(int rows, const QString& lotteryName,
                                          const QString& cap) {
    const std::size_t dataRows = std::size_t(std::max(rows, kHeaderRows) - kHeaderRows);
    const auto header = m_header;
    writeHeaders(lotteryName, cap);
    if (dataRows == m_rows.size() && header == m_header) {
        // A new draw of the lottery shown: the rows are written over where they are (each
        // row tells its change), and the views keep their layout.
        std::fill(m_rows.begin(), m_rows.end(), Row{});
        if (!m_rows.empty()) emit dataChanged(index(0, 0), index(rowCount() - 1, kColumns - 1));
        return false;
    }
    beginResetModel();
    m_rows.assign(dataRows, Row{});
    endResetModel();
    emit headerDataChanged(Qt::Horizontal, 0, kColumns - 1);
    return true;
}

void HistoryGridModel::FillHistoryRow(const LotteryItem& item, int row, int curWei) {
    if (row < kHeaderRows || row >= gridRowCount()) return;
    FillHistoryRow(item.GetGridArray(curWei), row);
}

void HistoryGridModel::FillHistoryRow(const GridRow& cells, int row) {
    if (row < kHeaderRows || row >= gridRowCount()) return;
    Row& r = m_rows[std::size_t(row - kHeaderRows)];
    r.marked.reset();
    for (int c = 1; c < kColumns; ++c) {
        const Cell& cell = cells[std::size_t(c)];
        r.text[std::size_t(c)] = shownText(cell);
        if (c >= kFirstStatColumn && cell.isMark()) r.marked.set(std::size_t(c));
    }
    const int modelRow = row - kHeaderRows;
    emit dataChanged(index(modelRow, 1), index(modelRow, kColumns - 1));
}

QString HistoryGridModel::cellText(int gridRow, int col) const {
    if (col < 0 || col >= kColumns) return {};
    if (gridRow >= 0 && gridRow < kHeaderRows) return headerText(gridRow, col);
    if (gridRow < kHeaderRows || gridRow >= gridRowCount()) return {};
    return m_rows[std::size_t(gridRow - kHeaderRows)].text[std::size_t(col)];
}

bool HistoryGridModel::isMarked(int gridRow, int col) const {
    if (col < 0 || col >= kColumns || gridRow < kHeaderRows || gridRow >= gridRowCount())
        return false;
    return m_rows[std::size_t(gridRow - kHeaderRows)].marked.test(std::size_t(col));
}

QString HistoryGridModel::headerText(int level, int col) const {
    if (level < 0 || level >= kHeaderRows || col < 0 || col >= kColumns) return {};
    return m_header[std::size_t(level)][std::size_t(col)];
}

int HistoryGridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int HistoryGridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : kColumns;
}

QVariant HistoryGridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    const std::size_t c = std::size_t(index.column());
    const Row& r = m_rows[std::size_t(index.row())];
    const bool stat = index.column() >= kFirstStatColumn;
    switch (role) {
    case Qt::DisplayRole:
        return r.text[c];
    case Qt::TextAlignmentRole:
        return m_centre;
    case Qt::BackgroundRole:
        return r.marked.test(c) ? m_markedBackground[c] : m_background[c];
    case Qt::ForegroundRole:
        if (!stat) return {};
        return r.marked.test(c) ? m_white : m_black;
    case Qt::FontRole:
        return r.marked.test(c) ? m_boldFontVariant : m_fontVariant;
    case MarkedRole:
        return bool(r.marked.test(c));
    default:
        return {};
    }
}

QVariant HistoryGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= kColumns) return {};
    switch (role) {
    case Qt::DisplayRole:
        return m_header[1][std::size_t(section)];
    case HeaderTopRole:
        return m_header[0][std::size_t(section)];
    case Qt::FontRole:
        return m_boldFontVariant;
    case Qt::TextAlignmentRole:
        return m_centre;
    default:
        return {};
    }
}

Qt::ItemFlags HistoryGridModel::flags(const QModelIndex& index) const {
    return index.isValid() ? Qt::ItemIsEnabled : Qt::NoItemFlags;
}

} // namespace zuohao::gui
