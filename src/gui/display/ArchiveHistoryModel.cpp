#include "gui/display/ArchiveHistoryModel.h"

#include <QBrush>
#include <QColor>
#include <QDateTime>
#include <algorithm>
#include <limits>

#include "store/CsvFormat.h"

namespace zuohao::gui {

namespace {
const QColor kGapBack(0xFF, 0xD6, 0xD6);
const QColor kGapText(0xC0, 0x00, 0x00);
const QColor kCorrectionBack(0xFF, 0xF2, 0xB3);

QString q(const std::string& s) {
    return QString::fromStdString(s);
}

QString localTime(const std::string& iso) {
    QDateTime t = QDateTime::fromString(q(iso), Qt::ISODate);
    return t.isValid() ? t.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")) : q(iso);
}
} // namespace

ArchiveHistoryModel::ArchiveHistoryModel(QObject* parent) : QAbstractTableModel(parent) {}

bool ArchiveHistoryModel::load(store::Archive* archive, const std::string& lottery,
                               const QString& day) {
    beginResetModel();
    m_archive = archive;
    m_lottery = lottery;
    m_day = day;
    m_error.clear();
    m_rows.clear();
    m_corrections.clear();
    m_more = false;
    bool ok = true;
    if (m_archive) {
        auto corr = m_archive->corrections(lottery);
        if (corr)
            for (store::Correction& c : corr.value())
                m_corrections[c.qishu].push_back(std::move(c));
        auto draws =
            day.isEmpty()
                ? m_archive->before(lottery, std::numeric_limits<std::int64_t>::max(), kPage)
                : m_archive->day(lottery, day.toStdString());
        if (!draws) {
            m_error = q(draws.error());
            ok = false;
        } else {
            std::vector<store::ArchivedDraw> rows = std::move(draws).value();
            if (!day.isEmpty()) std::reverse(rows.begin(), rows.end());
            m_more = day.isEmpty() && int(rows.size()) == kPage;
            append(std::move(rows));
        }
    }
    endResetModel();
    return ok;
}

void ArchiveHistoryModel::append(std::vector<store::ArchivedDraw> newestFirst) {
    const std::size_t first = m_rows.size();
    for (store::ArchivedDraw& d : newestFirst)
        m_rows.push_back({std::move(d), 0});
    // Each row's gap is measured against the next older draw held; the last row of what was
    // read asks the archive for its older neighbour.
    for (std::size_t i = first == 0 ? 0 : first - 1; i < m_rows.size(); ++i) {
        std::int64_t older = -1;
        if (i + 1 < m_rows.size()) {
            older = m_rows[i + 1].draw.period;
        } else if (m_archive) {
            auto prev = m_archive->before(m_lottery, m_rows[i].draw.period, 1);
            if (prev && !prev->empty()) older = prev->front().period;
        }
        m_rows[i].gapBefore =
            older < 0 ? 0 : store::PeriodsBetweenValues(older, m_rows[i].draw.period);
    }
}

int ArchiveHistoryModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ArchiveHistoryModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : ColumnCount;
}

QString ArchiveHistoryModel::correctionText(const std::string& qishu) const {
    auto it = m_corrections.find(qishu);
    if (it == m_corrections.end()) return {};
    QStringList olds;
    for (const store::Correction& c : it->second)
        olds << q(c.oldHaoma);
    // As the CSV writes it.
    const auto text = [](std::string_view v) {
        return QString::fromUtf8(v.data(), qsizetype(v.size()));
    };
    return text(store::kCsvPastPrefix) + olds.join(text(store::kCsvChainArrow));
}

QString ArchiveHistoryModel::cellText(int row, int column) const {
    const Row& r = m_rows.at(std::size_t(row));
    switch (column) {
    case ColQishu:
        return q(r.draw.qishu);
    case ColHaoma:
        return q(r.draw.haoma);
    case ColSeen:
        return localTime(r.draw.seenUtc);
    case ColSource:
        return q(r.draw.source);
    case ColGap:
        return r.gapBefore > 0 ? QStringLiteral("断 %1 期").arg(r.gapBefore) : QString();
    case ColCorrection:
        return r.draw.corrected ? correctionText(r.draw.qishu) : QString();
    default:
        return {};
    }
}

QVariant ArchiveHistoryModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) return {};
    const Row& r = m_rows[std::size_t(index.row())];
    const int c = index.column();
    switch (role) {
    case Qt::DisplayRole:
        return cellText(index.row(), c);
    case Qt::BackgroundRole:
        if (r.gapBefore > 0 && (c == ColQishu || c == ColGap)) return QBrush(kGapBack);
        if (r.draw.corrected && (c == ColHaoma || c == ColCorrection))
            return QBrush(kCorrectionBack);
        return {};
    case Qt::ForegroundRole:
        if (r.gapBefore > 0 && c == ColGap) return QBrush(kGapText);
        return {};
    case Qt::TextAlignmentRole:
        if (c == ColQishu || c == ColHaoma) return int(Qt::AlignCenter);
        return {};
    case Qt::ToolTipRole:
        if (r.gapBefore > 0 && c == ColGap)
            return QStringLiteral("此期之前缺少 %1 期").arg(r.gapBefore);
        return {};
    default:
        return {};
    }
}

QVariant ArchiveHistoryModel::headerData(int section, Qt::Orientation o, int role) const {
    if (o != Qt::Horizontal || role != Qt::DisplayRole) return {};
    static const char* const titles[ColumnCount] = {"期号", "开奖号码", "首次见到",
                                                    "来源", "断期",     "更正"};
    return section >= 0 && section < ColumnCount ? QString::fromUtf8(titles[section]) : QVariant();
}

bool ArchiveHistoryModel::canFetchMore(const QModelIndex& parent) const {
    return !parent.isValid() && m_more;
}

void ArchiveHistoryModel::fetchMore(const QModelIndex& parent) {
    if (parent.isValid() || !m_more || !m_archive || m_rows.empty()) return;
    auto page = m_archive->before(m_lottery, m_rows.back().draw.period, kPage);
    if (!page) {
        m_error = q(page.error());
        m_more = false;
        return;
    }
    std::vector<store::ArchivedDraw> rows = std::move(page).value();
    m_more = int(rows.size()) == kPage;
    if (rows.empty()) return;
    const int first = rowCount();
    beginInsertRows({}, first, first + int(rows.size()) - 1);
    append(std::move(rows));
    endInsertRows();
    // The gap of the row that was last before this page may have changed.
    emit dataChanged(index(first - 1, ColQishu), index(first - 1, ColGap));
}

} // namespace zuohao::gui
