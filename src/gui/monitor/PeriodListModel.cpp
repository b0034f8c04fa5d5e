#include "gui/monitor/PeriodListModel.h"

namespace zuohao::gui {

void PeriodListModel::sync(const DrawNumbers& periods) {
    const int count = int(periods.Count());
    const bool grows = m_periods == &periods && m_rows > 0 && count >= m_rows &&
                       periods.front().first == m_first &&
                       periods.at(std::size_t(m_rows) - 1).first == m_last;
    if (grows && count > m_rows) {
        beginInsertRows(QModelIndex(), m_rows, count - 1);
        m_rows = count;
        endInsertRows();
    } else if (!grows) {
        beginResetModel();
        m_periods = &periods;
        m_rows = count;
        endResetModel();
    }
    m_first = count ? periods.front().first : std::string();
    m_last = count ? periods.back().first : std::string();
}

int PeriodListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows;
}

QVariant PeriodListModel::data(const QModelIndex& index, int role) const {
    if (!m_periods || !index.isValid() || index.row() >= int(m_periods->Count())) return {};
    if (role != Qt::DisplayRole && role != Qt::EditRole) return {};
    return QString::fromStdString(m_periods->at(std::size_t(index.row())).first);
}

QModelIndexList PeriodListModel::match(const QModelIndex& start, int role, const QVariant& value,
                                       int hits, Qt::MatchFlags flags) const {
    if (!m_periods || role != Qt::DisplayRole || (flags & Qt::MatchTypeMask) != Qt::MatchExactly)
        return QAbstractListModel::match(start, role, value, hits, flags);
    const auto pos = m_periods->positionOf(value.toString().toStdString());
    if (!pos || int(*pos) >= m_rows || int(*pos) < start.row()) return {};
    return {index(int(*pos))};
}

} // namespace zuohao::gui
