#include "gui/display/ArchiveHistoryWindow.h"

#include <QComboBox>
#include <QDate>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

#include "gui/common/BackgroundWork.h"
#include "gui/common/LastingNote.h"
#include "gui/common/WorkGate.h"
#include "gui/display/ArchiveExportJob.h"
#include "gui/display/ArchiveHistoryModel.h"

namespace zuohao::gui {

namespace {
const QString kAllDays = QStringLiteral("全部日期");
const QString kExportCaption = QStringLiteral("导出CSV");
constexpr int kRowHeight = 20;
constexpr int kExportLane = 0;
} // namespace

ArchiveHistoryWindow::ArchiveHistoryWindow(QWidget* parent) : QWidget(parent, Qt::Window) {
    setObjectName(QStringLiteral("ArchiveHistoryWindow"));
    setWindowTitle(QStringLiteral("历史"));
    resize(860, 560);
    build();
    wire();
}

void ArchiveHistoryWindow::build() {
    auto* column = new QVBoxLayout(this);
    auto* bar = new QHBoxLayout;
    bar->addWidget(new QLabel(QStringLiteral("日期："), this));
    m_dayFilter = new QComboBox(this);
    m_dayFilter->setObjectName(QStringLiteral("DayFilter"));
    m_dayFilter->setMinimumWidth(160);
    bar->addWidget(m_dayFilter);
    m_refresh = new QPushButton(QStringLiteral("刷新"), this);
    m_refresh->setObjectName(QStringLiteral("RefreshButton"));
    bar->addWidget(m_refresh);
    bar->addStretch();
    m_export = new QPushButton(kExportCaption, this);
    m_export->setObjectName(QStringLiteral("ExportButton"));
    bar->addWidget(m_export);
    column->addLayout(bar);

    m_model = new ArchiveHistoryModel(this);
    m_table = new QTableView(this);
    m_table->setObjectName(QStringLiteral("HistoryTable"));
    m_table->setModel(m_model);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_table->setAlternatingRowColors(true);
    m_table->verticalHeader()->hide();
    // Fixed row heights and column widths: nothing is measured over a year of rows.
    m_table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_table->verticalHeader()->setDefaultSectionSize(kRowHeight);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::Interactive);
    m_table->horizontalHeader()->setStretchLastSection(true);
    const int widths[] = {115, 70, 145, 220, 80};
    for (int c = 0; c < 5; ++c)
        m_table->setColumnWidth(c, widths[c]);
    column->addWidget(m_table, 1);

    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("HistoryStatus"));
    m_status->setTextInteractionFlags(Qt::TextSelectableByMouse);
    column->addWidget(m_status);
    m_note = new LastingNote(this);
    column->addWidget(m_note);
}

void ArchiveHistoryWindow::wire() {
    connect(m_dayFilter, &QComboBox::currentIndexChanged, this, [this] {
        m_model->load(m_archive, m_lottery, day());
        showCounts();
    });
    connect(m_refresh, &QPushButton::clicked, this, &ArchiveHistoryWindow::reload);
    connect(m_export, &QPushButton::clicked, this, &ArchiveHistoryWindow::exportShown);
    // Rows paged in as the view scrolls are counted like the first page.
    connect(m_model, &QAbstractItemModel::rowsInserted, this, &ArchiveHistoryWindow::showCounts);
}

void ArchiveHistoryWindow::showLottery(store::Archive* archive, const std::string& lottery,
                                       const QString& why) {
    m_archive = archive;
    m_lottery = lottery;
    m_why = why;
    setWindowTitle(QStringLiteral("历史 - %1").arg(QString::fromStdString(lottery)));
    fillDays(); // loads the model through the filter's change
}

void ArchiveHistoryWindow::reload() {
    // A new draw arrives every minute: the place the user is reading stays where it is.
    const QString chosen = day();
    const int scrolled = m_table->verticalScrollBar()->value();
    fillDays();
    setDay(chosen);
    m_table->verticalScrollBar()->setValue(scrolled);
}

void ArchiveHistoryWindow::fillDays() {
    {
        const QSignalBlocker block(m_dayFilter);
        m_dayFilter->clear();
        m_dayFilter->addItem(kAllDays, QString());
        if (m_archive) {
            auto days = m_archive->days(m_lottery);
            if (days)
                for (const std::string& d : *days)
                    m_dayFilter->addItem(QString::fromStdString(d), QString::fromStdString(d));
        }
        m_dayFilter->setCurrentIndex(0);
    }
    // The count of all days is the archive's, not the rows loaded so far.
    m_total = -1;
    if (m_archive)
        if (auto info = m_archive->info())
            for (const store::LotteryInfo& l : info->lotteries)
                if (l.lottery == m_lottery) m_total = l.draws;
    m_model->load(m_archive, m_lottery, QString());
    showCounts();
}

void ArchiveHistoryWindow::setDay(const QString& dayText) {
    const int i = dayText.isEmpty() ? 0 : m_dayFilter->findData(dayText);
    if (i >= 0 && i != m_dayFilter->currentIndex()) m_dayFilter->setCurrentIndex(i);
}

QString ArchiveHistoryWindow::day() const {
    return m_dayFilter->currentData().toString();
}

void ArchiveHistoryWindow::showCounts() {
    if (!m_archive) {
        m_status->setText(QStringLiteral("没有历史库：") + m_why);
        return;
    }
    if (!m_model->error().isEmpty()) {
        m_status->setText(QStringLiteral("历史库读取失败：") + m_model->error());
        return;
    }
    int gaps = 0;
    qint64 missing = 0;
    for (int r = 0; r < m_model->rowCount(); ++r)
        if (const qint64 g = m_model->gapBefore(r); g > 0) {
            ++gaps;
            missing += g;
        }
    const QString more =
        m_model->canFetchMore({}) ? QStringLiteral("（向下滚动载入更早的）") : QString();
    const QString total = day().isEmpty() && m_total >= 0
                              ? QStringLiteral("，历史库共 %1 期").arg(m_total)
                              : QString();
    m_status->setText(QStringLiteral("已显示 %1 期%2%3，断期 %4 处共 %5 期    历史库：%6")
                          .arg(m_model->rowCount())
                          .arg(more, total)
                          .arg(gaps)
                          .arg(missing)
                          .arg(QString::fromStdString(m_archive->path())));
}

QString ArchiveHistoryWindow::statusText() const {
    return m_status->text();
}

void ArchiveHistoryWindow::exportShown() {
    if (m_exporting) { // the button cancels a running export
        m_work->cancel(kExportLane);
        return;
    }
    if (!m_archive) return;
    const QString name =
        QStringLiteral("历史-%1.csv").arg(day().isEmpty() ? QStringLiteral("全部") : day());
    std::optional<QString> path = askSaveFileName(this, name);
    if (!path) return;
    store::ExportRequest request;
    request.lottery = m_lottery;
    request.day = day().toStdString();
    request.csv = true;
    if (!m_work) m_work = new BackgroundWork(this);
    m_exporting = true;
    m_work->post(
        kExportLane,
        ArchiveExportJob(
            QString::fromStdString(m_archive->path()), request, *path,
            [this](qint64 n) { m_status->setText(QStringLiteral("正在导出…… %1 期").arg(n)); },
            [this, path = *path](const ExportEnd& end) {
                exportEnded(path, end.written, end.error);
            }),
        BackgroundWork::Mode::Report);
    m_export->setText(QStringLiteral("取消导出"));
    m_status->setText(QStringLiteral("正在导出……"));
}

void ArchiveHistoryWindow::exportEnded(const QString& path, qint64 written, const QString& error) {
    // A new draw rewrites the counts within the minute: the outcome stays till read.
    m_note->showNote(error.isEmpty() ? QStringLiteral("已导出 %1 期：%2").arg(written).arg(path)
                                     : QStringLiteral("导出失败：") + error);
    m_export->setText(kExportCaption);
    m_exporting = false;
    showCounts();
    emit exportFinished();
}

QString ArchiveHistoryWindow::noteText() const {
    return m_note->text();
}

} // namespace zuohao::gui
