// The monitor grid: its columns, the rows a replay fills in (oldest first, the newest 100),
// what it keeps when the rows are emptied, the alarm's colour and the segment line.
#include <QCheckBox>
#include <QComboBox>
#include <QHeaderView>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTest>

#include "gui/monitor/MonitorGrid.h"
#include "support_monitor.h"

using namespace zuohao;
using namespace zuohao::gui;
using namespace zuohao::gui::test;

namespace {
const QString kAlarm = QStringLiteral("告警");
} // namespace

class TestMonitorGrid : public QObject {
    Q_OBJECT
private slots:
    void gridHeadersAndWidths();
    void replayFillsGridOldestFirst();
    void gridKeepsContentWithFewRows_data();
    void gridKeepsContentWithFewRows();
    void gridShowsNewestHundredAndScrollsToEnd();
    void reopenedWindowShowsNewestHundredOfMoreRows();
    void alarmIsRedAndPlanResultsBlack();
    void segmentLineIsDrawnUnderLastRowOfSegment();
    void typedRowsRenderTheirTexts_data();
    void typedRowsRenderTheirTexts();
};

void TestMonitorGrid::gridHeadersAndWidths() {
    MonitorRig rig;
    rig.form->prepareAtStartUp();
    QTableView* grid = rig.grid();
    QVERIFY(grid);
    const QAbstractItemModel* m = grid->model();
    QCOMPARE(m->columnCount(), 8);
    const QStringList headers = {"期数", "奖号", "中挂", "遗漏", "次数", "二阶", "计划"};
    const int widths[] = {50, 50, 35, 35, 35, 35, 40};
    for (int c = 1; c < 8; ++c) {
        QCOMPARE(m->headerData(c, Qt::Horizontal).toString(), headers[c - 1]);
        QCOMPARE(grid->columnWidth(c), widths[c - 1]);
        QVERIFY(!grid->isColumnHidden(c));
    }
    QVERIFY(grid->isColumnHidden(0));
    // A new layout of the rows keeps column 0 hidden and the widths.
    rig.feed("HMMHMMHH");
    rig.form->ReashStar();
    QVERIFY(grid->isColumnHidden(0));
    QCOMPARE(grid->columnWidth(7), 40);
    // Every control of the window is there under its own name, with its caption.
    const QList<QPair<QString, QString>> labels = {{"Label1", "锁定期数："},
                                                   {"Label2", "分段周期："},
                                                   {"Label3_0", "分段中次数："},
                                                   {"Label3_1", "二阶计划："}};
    for (const auto& [name, text] : labels)
        QCOMPARE(rig.child<QLabel>(name)->text(), text);
    QCOMPARE(rig.child<QCheckBox>("CheckSound")->text(), QStringLiteral("监控音开关"));
    QVERIFY(rig.child<QComboBox>("QSCom"));
    QVERIFY(rig.child<QLineEdit>("ZhuoQiTxt"));
    QVERIFY(rig.child<QLabel>(QStringLiteral("计划Label")));
    QVERIFY(rig.child<QPushButton>("DadiCom"));
    QVERIFY(rig.child<QPlainTextEdit>("DadiTextBox"));
    QVERIFY(rig.child<QPlainTextEdit>(QStringLiteral("记录")));
}

void TestMonitorGrid::replayFillsGridOldestFirst() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHH");
    rig.form->ReashStar();
    QCOMPARE(rig.gridRows(), 8);
    QCOMPARE(rig.state.GridRowCount, 8);
    // Period (last four characters), draw digits, hit or miss, miss run, hit count, plan.
    QCOMPARE(rowTexts(rig, 0), (QStringList{"", "0001", "123", "中", "0", "1", "", ""}));
    QCOMPARE(rowTexts(rig, 2), (QStringList{"", "0003", "999", "挂", "2", "", "", ""}));
    QCOMPARE(rowTexts(rig, 5), (QStringList{"", "0006", "999", "挂", "2", "", "", "告警"}));
    QCOMPARE(rowTexts(rig, 3), (QStringList{"", "0004", "123", "中", "0", "2", "", ""}));
    // Period 7 is the second of the second segment: its hit count starts again.
    QCOMPARE(rowTexts(rig, 6), (QStringList{"", "0007", "123", "中", "0", "1", "", "中1"}));
}

void TestMonitorGrid::gridKeepsContentWithFewRows_data() {
    QTest::addColumn<int>("periodsLeft");
    QTest::newRow("no monitor row") << 0;
    QTest::newRow("one monitor row") << 1;
}

void TestMonitorGrid::gridKeepsContentWithFewRows() {
    QFETCH(int, periodsLeft);
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHHMHMMHHHM");
    rig.form->ReashStar();
    const auto before = gridTexts(rig);
    QCOMPARE(before.size(), 16);

    // The lottery now holds fewer periods, so the replay gives at most one monitor row.
    // (No draw removes periods: the lottery object is made anew over data that holds fewer.)
    LotteryState fewer = rig.lottery.state();
    fewer.LotteryDic_Jiankong.RemoveAll();
    for (int i = 0; i < periodsLeft; ++i)
        fewer.LotteryDic_Jiankong.Add(periodLabel(100 + i), kMissDraw);
    rig.lottery = LotteryClass(std::move(fewer));
    rig.form->ReashStar();
    QCOMPARE(int(rig.state.MonitorRows.Count()), periodsLeft);
    QCOMPARE(gridTexts(rig), before);
    QCOMPARE(rig.state.GridRowCount, 16);
}

void TestMonitorGrid::gridShowsNewestHundredAndScrollsToEnd() {
    MonitorRig rig;
    rig.chooseSettings();
    std::string pattern;
    for (int i = 0; i < 150; ++i)
        pattern += (i % 3 == 0) ? 'H' : 'M';
    rig.feed(pattern);
    rig.form->resize(320, 640);
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    rig.form->ReashStar();
    QCOMPARE(rig.gridRows(), 100);
    QCOMPARE(rig.cell(0, 1), QStringLiteral("0051"));
    QCOMPARE(rig.cell(99, 1), QStringLiteral("0150"));
    // The newest period is in view.
    QTableView* grid = rig.grid();
    QCoreApplication::processEvents();
    const QRect last = grid->visualRect(grid->model()->index(99, 1));
    QVERIFY(!last.isEmpty());
    QVERIFY(grid->viewport()->rect().contains(last));
    QVERIFY(grid->verticalScrollBar()->value() > 0);
}

void TestMonitorGrid::reopenedWindowShowsNewestHundredOfMoreRows() {
    MonitorRig rig;
    rig.form->prepareAtStartUp();
    // More periods than the grid takes: the rows keep the newest 100.
    for (int i = 1; i <= 130; ++i) {
        MonitorRow row = MonitorRow::placeholder(Period::parse(periodLabel(i)));
        row.Zgua = Verdict::Hit;
        rig.state.MonitorRows.push(row);
    }
    rig.form->show();
    rig.form->close();
    QVERIFY(!rig.form->isLoaded());
    rig.form->show();
    QVERIFY(rig.form->isLoaded());
    QCOMPARE(rig.gridRows(), 100);
    QCOMPARE(rig.cell(0, 1), QStringLiteral("0031"));
    QCOMPARE(rig.cell(99, 1), QStringLiteral("0130"));
}

void TestMonitorGrid::alarmIsRedAndPlanResultsBlack() {
    MonitorRig rig;
    rig.chooseSettings();
    // Alarm on period 6; the plan misses three periods and ends as 挂 on period 9;
    // a second alarm on period 15 is followed by a hit (中1) on period 16.
    rig.feed("HMMHMMMMMHMMHMMH");
    rig.form->ReashStar();
    const QAbstractItemModel* m = rig.grid()->model();
    auto colour = [&](int row, int col) {
        return m->data(m->index(row, col), Qt::ForegroundRole).value<QColor>();
    };
    const int alarm = findRow(rig, 7, kAlarm);
    const int failed = findRow(rig, 7, QStringLiteral("挂"));
    const int won = findRow(rig, 7, QStringLiteral("中1"));
    QCOMPARE(alarm, 5);
    QCOMPARE(failed, 8);
    QCOMPARE(won, 15);
    QCOMPARE(colour(alarm, 7), QColor(255, 0, 0));
    QCOMPARE(colour(failed, 7), QColor(Qt::black));
    QCOMPARE(colour(won, 7), QColor(Qt::black));
    // The miss mark in the hit/miss column is black as well.
    QCOMPARE(rig.cell(alarm, 3), QStringLiteral("挂"));
    QCOMPARE(colour(alarm, 3), QColor(Qt::black));
}

void TestMonitorGrid::segmentLineIsDrawnUnderLastRowOfSegment() {
    MonitorRig rig;
    rig.chooseSettings(); // segments of 5 periods
    rig.feed("HMMHMMHHMH");
    rig.form->resize(320, 700);
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    rig.form->ReashStar();
    const QAbstractItemModel* m = rig.grid()->model();
    for (int r = 0; r < 10; ++r) {
        const bool end = (r == 4 || r == 9);
        QCOMPARE(m->data(m->index(r, 3), MonitorGridModel::SegmentEndRole).toBool(), end);
        QCOMPARE(m->data(m->index(r, 0), MonitorGridModel::SegmentEndRole).toBool(), false);
    }
    // On screen: the highlight colour along the lower edge of row 5, not of row 4.
    QTableView* grid = rig.grid();
    QCoreApplication::processEvents();
    const QImage shot = grid->viewport()->grab().toImage();
    const QColor highlight = grid->palette().color(QPalette::Active, QPalette::Highlight);
    for (int col = 1; col < 8; ++col) {
        const QRect endCell = grid->visualRect(m->index(4, col));
        const QRect plainCell = grid->visualRect(m->index(3, col));
        const int x = endCell.center().x();
        QCOMPARE(shot.pixelColor(x, endCell.bottom()), highlight);
        QCOMPARE(shot.pixelColor(x, endCell.bottom() - 1), highlight);
        QVERIFY(shot.pixelColor(x, plainCell.bottom()) != highlight);
    }
}

// A typed row renders the texts the grid showed when rows were kept as texts: the period's
// last four characters, the numbers with their leading zeros, the verdict, the miss run, the
// hit count (empty for none), an empty 二阶 and the plan mark; a placeholder shows no period.
void TestMonitorGrid::typedRowsRenderTheirTexts_data() {
    QTest::addColumn<qint64>("period");
    QTest::addColumn<QString>("numbers");
    QTest::addColumn<int>("verdict");
    QTest::addColumn<int>("missRun");
    QTest::addColumn<int>("hits");
    QTest::addColumn<int>("mark");
    QTest::addColumn<int>("markPeriod");
    QTest::addColumn<bool>("segmentEnd");
    QTest::addColumn<QStringList>("cells");
    const int hit = int(Verdict::Hit), miss = int(Verdict::Miss), none = int(Verdict::None);
    QTest::newRow("hit, zeros kept")
        << qint64(202612080931) << "012" << hit << 0 << 3 << int(PlanMark::None) << 0 << false
        << QStringList{"", "0931", "012", "中", "0", "3", "", ""};
    QTest::newRow("miss raising the alarm")
        << qint64(202612081440) << "999" << miss << 2 << 0 << int(PlanMark::Alarm) << 0 << true
        << QStringList{"", "1440", "999", "挂", "2", "", "", "告警"};
    QTest::newRow("plan hit in its second period")
        << qint64(7) << "4567" << hit << 0 << 1 << int(PlanMark::Hit) << 2 << false
        << QStringList{"", "7", "4567", "中", "0", "1", "", "中2"};
    QTest::newRow("plan ended missed")
        << qint64(20001) << "000" << miss << 4 << 0 << int(PlanMark::Miss) << 0 << false
        << QStringList{"", "0001", "000", "挂", "4", "", "", "挂"};
    QTest::newRow("placeholder before the lock")
        << qint64(202612080001) << "" << none << 0 << 0 << int(PlanMark::None) << 0 << false
        << QStringList{"", "", "", "", "0", "", "", ""};
}

void TestMonitorGrid::typedRowsRenderTheirTexts() {
    QFETCH(qint64, period);
    QFETCH(QString, numbers);
    QFETCH(int, verdict);
    QFETCH(int, missRun);
    QFETCH(int, hits);
    QFETCH(int, mark);
    QFETCH(int, markPeriod);
    QFETCH(bool, segmentEnd);
    QFETCH(QStringList, cells);
    MonitorRow row = MonitorRow::placeholder(Period(period));
    row.setNumber(numbers.toStdString());
    row.Zgua = Verdict(verdict);
    row.TOW_yluo = missRun;
    row.Zsu = hits;
    row.Jhzg = {PlanMark::Kind(mark), markPeriod};
    row.XHxain = segmentEnd ? 1 : 0;
    const MonitorGridRow shown = MonitorGridRow::fromRow(row);
    QCOMPARE(QStringList(shown.cells.begin(), shown.cells.end()), cells);
    QCOMPARE(shown.segmentEnd, segmentEnd);
    QCOMPARE(shown.alarm, mark == int(PlanMark::Alarm));
}

QTEST_MAIN(TestMonitorGrid)
#include "test_monitor_grid.moc"
