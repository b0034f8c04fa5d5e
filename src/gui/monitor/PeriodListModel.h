#pragma once
// The monitor's period list (QSCom): every period the lottery has processed, read from its
// packed draw numbers when shown, so that the list costs no memory per period.
#include <QAbstractListModel>
#include <string>

#include "core/model/DrawNumbers.h"

namespace zuohao::gui {

class PeriodListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    // Follows `periods`: the rows added at the end since the last call are announced as
    // inserted (the box keeps its selection); any other change resets the list.
    void sync(const DrawNumbers& periods);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    // An exact search for a period is a lookup, not a walk through every row.
    QModelIndexList match(const QModelIndex& start, int role, const QVariant& value, int hits,
                          Qt::MatchFlags flags) const override;

private:
    const DrawNumbers* m_periods = nullptr;
    int m_rows = 0;      // rows announced
    std::string m_first; // the first period when they were announced
    std::string m_last;  // the last one
};

} // namespace zuohao::gui
