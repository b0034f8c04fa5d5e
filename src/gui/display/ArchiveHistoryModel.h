#pragma once
// The archive's draws of one lottery as a table, newest first: all of them (read a page at a
// time as the view scrolls) or one day. Each row knows the periods missing before it (断期)
// and the older numbers of a corrected period.
#include <QAbstractTableModel>
#include <QString>
#include <map>
#include <string>
#include <vector>

#include "store/DrawArchive.h"

namespace zuohao::gui {

class ArchiveHistoryModel : public QAbstractTableModel {
    Q_OBJECT
public:
    enum Column { ColQishu, ColHaoma, ColSeen, ColSource, ColGap, ColCorrection, ColumnCount };
    static constexpr int kPage = 2000; // draws read per page of the full listing

    explicit ArchiveHistoryModel(QObject* parent = nullptr);

    // Shows `lottery` of `archive` (not owned; may be null): every draw when `day` is empty,
    // else that day (yyyy-mm-dd). False with error() set when the archive cannot be read.
    bool load(store::Archive* archive, const std::string& lottery, const QString& day = {});
    QString error() const { return m_error; }

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation o, int role = Qt::DisplayRole) const override;
    bool canFetchMore(const QModelIndex& parent) const override;
    void fetchMore(const QModelIndex& parent) override;

    // The row's draw and the periods missing just before it (0 = none).
    const store::ArchivedDraw& draw(int row) const { return m_rows.at(std::size_t(row)).draw; }
    qint64 gapBefore(int row) const { return m_rows.at(std::size_t(row)).gapBefore; }
    QString cellText(int row, int column) const;

private:
    struct Row {
        store::ArchivedDraw draw;
        qint64 gapBefore = 0;
    };
    void append(std::vector<store::ArchivedDraw> newestFirst);
    QString correctionText(const std::string& qishu) const;

    store::Archive* m_archive = nullptr;
    std::string m_lottery;
    QString m_day;
    QString m_error;
    std::vector<Row> m_rows;
    std::map<std::string, std::vector<store::Correction>> m_corrections;
    bool m_more = false;
};

} // namespace zuohao::gui
