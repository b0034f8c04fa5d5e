// The monitor window driven as the user and the main window drive it: settings, switching
// monitoring on and off, the grid, the copy button, the alarm and closing and reopening.
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
const QString kStart = QStringLiteral("开始监控");
const QString kStop = QStringLiteral("停止监控");

QStringList rowTexts(const MonitorRig& rig, int row) {
    QStringList out;
    for (int c = 0; c < MonitorGridModel::kColumns; ++c)
        out << rig.cell(row, c);
    return out;
}

QList<QStringList> gridTexts(const MonitorRig& rig) {
    QList<QStringList> out;
    for (int r = 0; r < rig.gridRows(); ++r)
        out << rowTexts(rig, r);
    return out;
}

int findRow(const MonitorRig& rig, int column, const QString& text) {
    for (int r = 0; r < rig.gridRows(); ++r)
        if (rig.cell(r, column) == text) return r;
    return -1;
}
} // namespace

class TestJianKongForm : public QObject {
    Q_OBJECT
private slots:
    void startUpSelectsValidEntries();
    void gridHeadersAndWidths();
    void replayFillsGridOldestFirst();
    void gridKeepsContentWithFewRows_data();
    void gridKeepsContentWithFewRows();
    void gridShowsNewestHundredAndScrollsToEnd();
    void reopenedWindowShowsNewestHundredOfMoreRows();
    void alarmIsRedAndPlanResultsBlack();
    void segmentLineIsDrawnUnderLastRowOfSegment();
    void copyBaseWithEmptyBoxDoesNothing();
    void copyBaseCopiesRunningPlanBase();
    void playsound_data();
    void playsound();
    void switchingOnWithoutBaseShowsMessage();
    void switchingOffKeepsGridAndFreesPeriodList();
    void kasiBindsPeriodListAndLockPeriod();
    void stopCaptionSurvivesRedrawsWhileMonitoring();
    void listsDoNotGrowAcrossRedraws();
    void closeAndReopenKeepsSettingsCaptionsAndLog();
    void settingsAreReadOnceAsNumbers();
};

void TestJianKongForm::startUpSelectsValidEntries() {
    MonitorRig rig;
    rig.form->prepareAtStartUp();
    QVERIFY(rig.form->isLoaded());
    QVERIFY(!rig.form->isVisible());
    const char* expected[4] = {"1", "1", "1", "0"};
    for (int i = 0; i < 4; ++i) {
        auto* box = rig.child<QComboBox>(QStringLiteral("SZCom_%1").arg(i));
        QVERIFY(box);
        QCOMPARE(box->count(), 31);
        QCOMPARE(box->itemText(30), QStringLiteral("30"));
        QCOMPARE(box->currentText(), QString::fromLatin1(expected[i]));
        QCOMPARE(rig.state.SegmentSettings[std::size_t(i)], std::atoi(expected[i]));
    }
    QCOMPARE(rig.state.SavedStartCaption(), std::string("开始监控"));
    QCOMPARE(rig.child<QPushButton>(QStringLiteral("jiankongCom"))->text(), kStart);
}

void TestJianKongForm::gridHeadersAndWidths() {
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

void TestJianKongForm::replayFillsGridOldestFirst() {
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

void TestJianKongForm::gridKeepsContentWithFewRows_data() {
    QTest::addColumn<int>("periodsLeft");
    QTest::newRow("no monitor row") << 0;
    QTest::newRow("one monitor row") << 1;
}

void TestJianKongForm::gridKeepsContentWithFewRows() {
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

void TestJianKongForm::gridShowsNewestHundredAndScrollsToEnd() {
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

void TestJianKongForm::reopenedWindowShowsNewestHundredOfMoreRows() {
    MonitorRig rig;
    rig.form->prepareAtStartUp();
    // More rows than the grid takes (only a state restored from elsewhere has that many).
    for (int i = 1; i <= 130; ++i) {
        auto row = std::make_shared<MonitorRow>();
        row->Qishu1 = periodLabel(i);
        row->Zgua = Verdict::Hit;
        rig.state.MonitorRows.Add(row->Qishu1, row);
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

void TestJianKongForm::alarmIsRedAndPlanResultsBlack() {
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

void TestJianKongForm::segmentLineIsDrawnUnderLastRowOfSegment() {
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

void TestJianKongForm::copyBaseWithEmptyBoxDoesNothing() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMH"); // the plan of period 6 ended with a hit: no plan runs
    rig.form->ReashStar();
    rig.seams.clipboard = QStringLiteral("kept");
    auto* copy = rig.child<QPushButton>("DadiCom");
    QCOMPARE(copy->text(), QStringLiteral("复制大底"));
    QVERIFY(rig.child<QPlainTextEdit>("DadiTextBox")->toPlainText().isEmpty());
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(rig.seams.clipboardWrites, 0);
    QCOMPARE(rig.seams.clipboard, QStringLiteral("kept"));
}

void TestJianKongForm::copyBaseCopiesRunningPlanBase() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMM"); // alarm on the last period: a plan runs
    rig.form->ReashStar();
    auto* copy = rig.child<QPushButton>("DadiCom");
    QCOMPARE(copy->text(), QStringLiteral("复制大底 2注"));
    QCOMPARE(rig.child<QLabel>(QStringLiteral("计划Label"))->text(),
             QStringLiteral("【第 1 期】进行中……"));
    QTest::mouseClick(copy, Qt::LeftButton);
    QCOMPARE(rig.seams.clipboardWrites, 1);
    QCOMPARE(rig.seams.clipboard, QString::fromLatin1(kBase));
}

void TestJianKongForm::playsound_data() {
    QTest::addColumn<QString>("draws");
    QTest::addColumn<bool>("soundOn");
    QTest::addColumn<int>("alarms");
    QTest::newRow("alarm due, sound on") << "HMMHMM" << true << 1;
    QTest::newRow("alarm due, sound off") << "HMMHMM" << false << 0;
    QTest::newRow("plan running, no new alarm") << "HMMHMMM" << true << 0;
    QTest::newRow("no alarm") << "HMMHM" << true << 0;
    QTest::newRow("plan ended") << "HMMHMMH" << true << 0;
}

void TestJianKongForm::playsound() {
    QFETCH(QString, draws);
    QFETCH(bool, soundOn);
    QFETCH(int, alarms);
    MonitorRig rig;
    rig.chooseSettings();
    auto* sound = rig.child<QCheckBox>("CheckSound");
    QVERIFY(sound->isChecked());
    if (!soundOn) QTest::mouseClick(sound, Qt::LeftButton, {}, QPoint(4, sound->height() / 2));
    QCOMPARE(sound->isChecked(), soundOn);
    rig.feed(draws.toStdString());
    rig.form->ReashStar();
    rig.form->Playsound();
    QCOMPARE(rig.seams.alarms, alarms);
}

void TestJianKongForm::switchingOnWithoutBaseShowsMessage() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHH");
    rig.mainBase = NumberList();
    rig.form->Kasi();
    auto* start = rig.child<QPushButton>("jiankongCom");
    QTest::mouseClick(start, Qt::LeftButton);
    QCOMPARE(rig.seams.messages, QStringList{QStringLiteral("未有【过滤大底】，先去做出大底")});
    QCOMPARE(start->text(), kStart);
    QVERIFY(!rig.state.Monitoring);
    QVERIFY(rig.child<QComboBox>("QSCom")->isEnabled());
    QCOMPARE(rig.gridRows(), 0);
    // An automatic restart (the refresh cycle's) shows no box: it reports the reason.
    QStringList skipped;
    QObject::connect(rig.form.get(), &JianKongForm::restartSkipped,
                     [&](const QString& why) { skipped << why; });
    rig.form->ReashStar();
    QCOMPARE(rig.seams.messages.size(), 1);
    QCOMPARE(skipped, QStringList{QStringLiteral("监控未重启：未有【过滤大底】，先去做出大底")});
    QCOMPARE(start->text(), kStart);
}

void TestJianKongForm::switchingOffKeepsGridAndFreesPeriodList() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHH");
    rig.form->Kasi();
    auto* start = rig.child<QPushButton>("jiankongCom");
    auto* periods = rig.child<QComboBox>("QSCom");
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(rig.state.Monitoring);
    QCOMPARE(start->text(), kStop);
    QVERIFY(!periods->isEnabled());
    const auto shown = gridTexts(rig);
    QCOMPARE(shown.size(), 8);
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(!rig.state.Monitoring);
    QCOMPARE(start->text(), kStart);
    QVERIFY(periods->isEnabled());
    QCOMPARE(gridTexts(rig), shown);
    QVERIFY(rig.seams.messages.isEmpty());
}

void TestJianKongForm::kasiBindsPeriodListAndLockPeriod() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHH");
    rig.form->Kasi();
    auto* periods = rig.child<QComboBox>("QSCom");
    QCOMPARE(periods->count(), 8);
    QCOMPARE(periods->itemText(0), QString::fromStdString(periodLabel(1)));
    QCOMPARE(rig.state.LockPeriod.text(), periodLabel(1));
    // The user locks the fourth period: the replay starts there.
    periods->setFocus();
    for (int i = 0; i < 3; ++i)
        QTest::keyClick(periods, Qt::Key_Down);
    QCOMPARE(rig.state.LockPeriod.text(), periodLabel(4));
    rig.form->ReashStar();
    QCOMPARE(rig.cell(0, 3), QString()); // periods before the lock are blank rows
    QCOMPARE(rig.cell(3, 3), QStringLiteral("中"));
    // While monitoring, a redraw keeps the locked period.
    rig.feed("M");
    rig.form->Kasi();
    QCOMPARE(periods->count(), 9);
    QCOMPARE(periods->currentText(), QString::fromStdString(periodLabel(4)));
    QCOMPARE(rig.state.LockPeriod.text(), periodLabel(4));
}

void TestJianKongForm::stopCaptionSurvivesRedrawsWhileMonitoring() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMM"); // alarm: a plan runs, so the refresh cycle restarts nothing
    rig.form->Kasi();
    auto* start = rig.child<QPushButton>("jiankongCom");
    QTest::mouseClick(start, Qt::LeftButton);
    QVERIFY(rig.state.PlanRunning);
    rig.feed("M");
    rig.form->Kasi();
    QCOMPARE(start->text(), kStop);
    QCOMPARE(rig.child<QLabel>(QStringLiteral("计划Label"))->text(),
             QStringLiteral("【第 2 期】进行中……"));
    QVERIFY(!rig.child<QComboBox>("QSCom")->isEnabled());
}

void TestJianKongForm::listsDoNotGrowAcrossRedraws() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMMHHMH");
    for (int i = 0; i < 25; ++i)
        rig.form->Kasi();
    rig.form->ReashStar();
    for (int i = 0; i < 25; ++i)
        rig.form->Kasi(); // while monitoring: reloads too
    QCOMPARE(rig.child<QComboBox>("QSCom")->count(), 10);
    for (int i = 0; i < 4; ++i) {
        auto* box = rig.child<QComboBox>(QStringLiteral("SZCom_%1").arg(i));
        QCOMPARE(box->count(), 31);
    }
    // The reloads kept the chosen settings.
    QCOMPARE(rig.child<QComboBox>("SZCom_1")->currentText(), QStringLiteral("30"));
    QCOMPARE(rig.child<QComboBox>("SZCom_3")->currentText(), QStringLiteral("2"));
    QCOMPARE(rig.state.SegmentSettings[1], 30);
}

void TestJianKongForm::closeAndReopenKeepsSettingsCaptionsAndLog() {
    MonitorRig rig;
    rig.chooseSettings();
    rig.feed("HMMHMM");
    rig.form->Kasi();
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    QTest::mouseClick(rig.child<QPushButton>("jiankongCom"), Qt::LeftButton);
    // The plan of period 6 misses three periods (logged), then a new period comes.
    rig.feed("MMM");
    rig.form->Kasi();
    rig.feed("H");
    rig.form->Kasi();
    rig.form->Playsound();
    rig.form->ReashStar();
    const QString log = QString::fromStdString(periodLabel(9)) + QStringLiteral("期 --- 挂");
    QCOMPARE(rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText(), log);
    const auto grid = gridTexts(rig);
    QCOMPARE(grid.size(), 10);

    rig.form->close();
    QVERIFY(!rig.form->isVisible());
    QCOMPARE(rig.state.SavedStartCaption(), std::string("停止监控"));
    QVERIFY(rig.state.Monitoring);

    rig.form->Kasi();
    rig.form->show();
    QVERIFY(QTest::qWaitForWindowExposed(rig.form.get()));
    QCOMPARE(rig.child<QPushButton>("jiankongCom")->text(), kStop);
    QCOMPARE(rig.child<QComboBox>("SZCom_0")->currentText(), QStringLiteral("0"));
    QCOMPARE(rig.child<QComboBox>("SZCom_1")->currentText(), QStringLiteral("30"));
    QCOMPARE(rig.child<QComboBox>("SZCom_2")->currentText(), QStringLiteral("3"));
    QCOMPARE(rig.child<QComboBox>("SZCom_3")->currentText(), QStringLiteral("2"));
    QCOMPARE(rig.child<QLineEdit>("ZhuoQiTxt")->text(), QStringLiteral("5"));
    QCOMPARE(rig.child<QComboBox>("QSCom")->currentText(), QString::fromStdString(periodLabel(1)));
    QCOMPARE(rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText(), log);
    QCOMPARE(gridTexts(rig), grid);

    // A running plan's label and base set come back too.
    rig.feed("MHMMHMM");
    rig.form->ReashStar();
    QVERIFY(rig.state.PlanRunning);
    const QString plan = rig.child<QLabel>(QStringLiteral("计划Label"))->text();
    QVERIFY(!plan.isEmpty());
    rig.form->close();
    rig.form->show();
    QCOMPARE(rig.child<QLabel>(QStringLiteral("计划Label"))->text(), plan);
    QCOMPARE(rig.child<QPlainTextEdit>("DadiTextBox")->toPlainText(), QString::fromLatin1(kBase));
    QCOMPARE(rig.child<QPushButton>("DadiCom")->text(), QStringLiteral("复制大底 2注"));
}

// What the player picks or types is read into the state once, as numbers; the boxes show
// the state when the window loads again.
void TestJianKongForm::settingsAreReadOnceAsNumbers() {
    MonitorRig rig;
    rig.form->prepareAtStartUp();
    auto* length = rig.child<QLineEdit>("ZhuoQiTxt");
    const struct {
        const char* typed;
        int value;
        const char* shownAgain;
    } cases[] = {{"12", 12, "12"}, {"7x", 7, "7"}, {"x", 0, ""}, {"", 0, ""}};
    for (const auto& c : cases) {
        length->clear();
        QTest::keyClicks(length, QString::fromLatin1(c.typed));
        QCOMPARE(rig.state.SegmentPeriod, c.value);
        rig.form->show();
        rig.form->close();
        rig.form->Kasi(); // loads the window again from the state
        QCOMPARE(length->text(), QString::fromLatin1(c.shownAgain));
    }
    auto* plan = rig.child<QComboBox>("SZCom_2");
    plan->setCurrentIndex(9);
    emit plan->activated(9);
    QCOMPARE(rig.state.SegmentSettings[2], 9);
}

QTEST_MAIN(TestJianKongForm)
#include "test_jiankong_form.moc"
