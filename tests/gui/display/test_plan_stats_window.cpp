// 计划统计: the window opens offscreen and shows the figures of known sequences beside
// their chance figures; the backtest runs from the event loop and can be cancelled. With
// ZUOHAO_LOOK_HOLD_MS set the backtest result stays up that long for a screenshot.
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QSpinBox>
#include <QTableWidget>
#include <QtTest>
#include <cmath>

#include "../../support/support_conditions.h"
#include "core/analysis/Backtest.h"
#include "core/analysis/KillRate.h"
#include "core/plan/Plan.h"
#include "gui/common/BackgroundWork.h"
#include "gui/display/PlanStatsCharts.h"
#include "gui/display/PlanStatsFigures.h"
#include "gui/display/PlanStatsWindow.h"
#include "gui/display/WrapLabel.h"
#include "support_draws.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {

std::vector<DrawLine> manyDraws(int n) {
    std::vector<DrawLine> out;
    unsigned x = 99;
    for (int i = 0; i < n; ++i) {
        x = x * 1103515245u + 12345u;
        out.push_back({std::to_string(20261208000LL + i),
                       QString::number((x >> 8) % 100000u).rightJustified(5, '0').toStdString()});
    }
    return out;
}

QString labelText(QWidget& w, const char* name) {
    auto* l = w.findChild<QLabel*>(QString::fromUtf8(name));
    return l ? l->text() : QString();
}

} // namespace

class TestPlanStatsWindow : public QObject {
    Q_OBJECT
private slots:
    void runningPlanFiguresBesideChance() {
        LotteryClass cls;
        test::FeedSampleDraws(cls, 20);
        test::EditState(cls, [](LotteryState& s) { s.IsHasPlan = true; });
        cls.setPositionIndex(9);
        QVERIFY(cls.LetMyFormSet("KLU", 1, 3).ok()); // 720 of 1000 kept
        const char* pattern = "HMMHMMMHM";           // 中 挂 挂 中 挂 挂 挂 中 挂
        const auto held = test::HeldDraws(cls);
        for (int i = 0; i < 9; ++i)
            held[std::size_t(10 + i)]->Plan =
                PlanLine{held[std::size_t(10 + i)]->Qishu, 500, 9,
                         pattern[i] == 'H' ? PlanOutcome::Hit : PlanOutcome::Miss};
        held.back()->Plan = PlanLine{"x", 500, 9, PlanOutcome::Running};
        PlanStatsWindow w([&cls] { return &cls; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(!w.busy());
        const QString running = labelText(w, "RunningFigures");
        QVERIFY2(running.contains(QStringLiteral("实际命中率")), qPrintable(running));
        QVERIFY(running.contains(QStringLiteral("33.3%（3中）")));
        QVERIFY(running.contains(QStringLiteral("理论命中率")));
        QVERIFY(running.contains(QStringLiteral("50.0%")));
        QVERIFY(running.contains(QStringLiteral("理论最长连挂")));
        auto* chart = w.findChild<RollingRateChart*>(QStringLiteral("RollingRateChart"));
        QCOMPARE(chart->pointCount(), 9);
        auto* strip = w.findChild<HitStrip*>(QStringLiteral("HitStrip"));
        QCOMPARE(strip->shown(),
                 (std::vector<bool>{true, false, false, true, false, false, false, true, false}));
        // Risk table: no plan base set text, so the conditions' 720 numbers.
        auto* risk = w.findChild<QTableWidget*>(QStringLiteral("RiskTable"));
        QCOMPARE(risk->rowCount(), 20);
        QCOMPARE(risk->item(0, 1)->text(), Percent(1 - std::pow(0.72, 100)));
        QCOMPARE(risk->item(19, 4)->text(), QStringLiteral("0")); // DAD empty while the plan runs
        test::EditState(cls, [](LotteryState& s) { s.IsHasPlan = false; });
        w.drawsChanged();
        QCOMPARE(risk->item(19, 4)->text(), QStringLiteral("14400"));
        QVERIFY(labelText(w, "RiskNote").contains(QStringLiteral("720 注")));
    }

    void runningPlanIsCollectedBeyondTheHeldDraws() {
        LotteryClass cls;
        cls.setPositionIndex(3);
        QVERIFY(cls.LetMyFormSet("KLU", 1, 3).ok());
        const auto draws = manyDraws(160);
        PlanStatsWindow w([&cls] { return &cls; });
        for (std::size_t i = 0; i < draws.size(); ++i) {
            if (i == 10) { // the start button
                test::EditState(cls, [](LotteryState& s) {
                    s.IsHasPlan = true;
                    s.StartPlanQi = s.NewQi;
                });
                QVERIFY(cls.GetSuoshuiDadi().ok());
                cls.AddNewPlan(*cls.newestDraw());
            }
            (void)cls.ProcessDraw(draws[i].qishu, draws[i].haoma);
            w.drawsChanged(); // hidden: collects only
        }
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QTRY_VERIFY(!w.busy());
        const auto expected = RunBacktest(draws, cls.formSet(), {true, 150});
        QVERIFY(expected.ok());
        QCOMPARE(w.findChild<RollingRateChart*>(QStringLiteral("RollingRateChart"))->pointCount(),
                 150);
        const std::vector<bool> hits = expected->hits();
        QCOMPARE(w.findChild<HitStrip*>(QStringLiteral("HitStrip"))->shown(),
                 std::vector<bool>(hits.end() - 100, hits.end()));
        const QString running = labelText(w, "RunningFigures");
        QVERIFY2(running.contains(QStringLiteral("%1（%2中）")
                                      .arg(Percent(expected->stats().hitRate()))
                                      .arg(expected->stats().hits)),
                 qPrintable(running));
        QVERIFY(running.contains(QStringLiteral("<b>720.0</b>")));
    }

    void backtestShowsTheCoreFiguresAndTheChart() {
        LotteryClass cls;
        cls.setPositionIndex(4);
        QVERIFY(cls.LetMyFormSet("KLU", 1, 3).ok());
        QVERIFY(cls.LetMyFormSet("KUA", 9, 1).ok());
        const auto draws = manyDraws(400);
        PlanStatsWindow w([&cls] { return &cls; });
        w.setDrawSource([&draws] { return DrawSourceCopy{{}, "t", draws}; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QSpinBox*>(QStringLiteral("BacktestDraws"))->setValue(300);
        auto* run = w.findChild<QPushButton*>(QStringLiteral("BacktestCmd"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        const QPoint before = run->mapTo(&w, QPoint());
        QTest::mouseClick(run, Qt::LeftButton);
        QTRY_VERIFY(!w.busy());
        // The button stays where it was clicked, whatever the result's text.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
        QCOMPARE(run->mapTo(&w, QPoint()), before);
        const auto expected = RunBacktest(std::vector<DrawLine>(draws.end() - 301, draws.end()),
                                          cls.formSet(), {false, 300});
        QVERIFY(expected.ok());
        const PlanRecordStats s = expected->stats();
        QCOMPARE(s.periods, 300);
        const QString figures = labelText(w, "BacktestFigures");
        QVERIFY2(
            figures.contains(QStringLiteral("%1（%2中）").arg(Percent(s.hitRate())).arg(s.hits)),
            qPrintable(figures));
        QVERIFY(figures.contains(Percent(expected->chanceRate())));
        QVERIFY(figures.contains(QStringLiteral("固定条件回测")));
        QCOMPARE(w.findChild<RollingRateChart*>(QStringLiteral("RollingRateChart"))->pointCount(),
                 300);
        auto* histogram = w.findChild<MissRunHistogram*>(QStringLiteral("MissRunHistogram"));
        QVERIFY(histogram->barCount() >= s.longestMissRun);
        for (int l = 1; l <= s.longestMissRun; ++l) // bar l-1 holds the runs of length l
            QCOMPARE(histogram->actual()[std::size_t(l - 1)], double(s.missRuns[std::size_t(l)]));
        auto* kill = w.findChild<QTableWidget*>(QStringLiteral("KillTable"));
        QCOMPARE(kill->rowCount(), 3); // 杀跨度, 杀对子, 全部条件
        QCOMPARE(kill->item(0, 0)->text(), QStringLiteral("杀跨度"));
        QCOMPARE(kill->item(2, 4)->text(), Percent(1 - expected->chanceRate()));
        // Red only beyond chance variation, whichever side of chance the rate lies.
        const auto rates = KillRates(draws, cls.formSet(), 300);
        QVERIFY(rates.ok());
        int aboveChance = 0;
        for (int r = 0; r < 3; ++r) {
            const ConditionKill& k = (*rates)[std::size_t(r)];
            QCOMPARE(kill->item(r, 3)->foreground().color() == QColor(192, 0, 0),
                     k.worseThanChance());
            aboveChance += k.rate() > k.chanceRate() && !k.worseThanChance();
        }
        QVERIFY(aboveChance > 0); // a rate above chance, within its variation, stays black
        // With ZUOHAO_LOOK_HOLD_MS set the window stays up for a screenshot.
        if (const int hold = qEnvironmentVariableIntValue("ZUOHAO_LOOK_HOLD_MS"); hold > 0)
            QTest::qWait(hold);
    }

    void longBacktestShowsProgressAndCancels() {
        LotteryClass cls;
        cls.setPositionIndex(10);
        zuohao::testing::EditConditions(
            cls, [&](ConditionSet& given) { given.CHK[0] = given.CHK[10] = true; });
        PlanStatsWindow w([&cls] { return &cls; });
        const auto draws = manyDraws(200000);
        w.setDrawSource([&draws] { return DrawSourceCopy{{}, "t", draws}; });
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QSpinBox*>(QStringLiteral("BacktestDraws"))->setValue(199000);
        w.findChild<QCheckBox*>(QStringLiteral("BacktestAuto"))->setChecked(true);
        w.startBacktest();
        QVERIFY(w.backtestRunning());
        auto* cancel = w.findChild<QPushButton*>(QStringLiteral("BacktestCancel"));
        auto* progress = w.findChild<QProgressBar*>(QStringLiteral("BacktestProgress"));
        QVERIFY(cancel->isVisible() && progress->isVisible());
        QTRY_VERIFY(progress->value() >= 1);
        QVERIFY(progress->value() < 50); // shown from the first percents
        QTest::mouseClick(cancel, Qt::LeftButton);
        QVERIFY(!w.backtestRunning());
        QCOMPARE(labelText(w, "BacktestFigures"), QStringLiteral("回测已取消"));
        QVERIFY(w.findChild<QPushButton*>(QStringLiteral("BacktestCmd"))->isEnabled());
        QTRY_VERIFY(!w.busy());
    }

    // Plan A (4 draws), cleared; plan B (3 draws), cleared; one more draw: no plan runs, and
    // plan B alone stands under its own heading.
    void endedPlansNeverMix() {
        LotteryClass cls;
        const auto draws = manyDraws(10);
        std::size_t next = 0;
        PlanStatsWindow w([&cls] { return &cls; });
        const auto draw = [&](int n) {
            for (int i = 0; i < n; ++i, ++next)
                (void)cls.ProcessDraw(draws[next].qishu, draws[next].haoma);
            w.drawsChanged();
        };
        draw(1);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        QVERIFY(cls.StartPlan().ok());
        draw(4);
        cls.StopPlan();
        QVERIFY(cls.LetMyFormSet("KLU", 1, 3).ok()); // plan B bets 720
        QVERIFY(cls.StartPlan().ok());
        const std::string bFirst = draws[next].qishu;
        draw(3);
        const std::string bLast = draws[next - 1].qishu;
        cls.StopPlan();
        draw(1);
        QTRY_VERIFY(!w.busy());
        const QString running = labelText(w, "RunningFigures");
        QVERIFY2(running.contains(QStringLiteral("当前没有计划在运行")), qPrintable(running));
        QVERIFY(running.contains(QStringLiteral("“开始缩水”")));
        auto* ended = w.findChild<QGroupBox*>(QStringLiteral("EndedPlan"));
        QVERIFY(ended->isVisible());
        QCOMPARE(ended->title(),
                 QStringLiteral("上一个计划（%1 – %2 期）")
                     .arg(QString::fromStdString(bFirst), QString::fromStdString(bLast)));
        const QString figures = labelText(w, "EndedFigures");
        QVERIFY2(figures.contains(QStringLiteral("期数</td><td align=right><b>3</b>")),
                 qPrintable(figures));
        QVERIFY(figures.contains(QStringLiteral("<b>720.0</b>")));
    }

    // A backtest whose conditions changed is marked stale in every figure drawn from it,
    // while the kill table follows the new conditions.
    void staleBacktestIsMarked() {
        LotteryClass cls;
        cls.setPositionIndex(4);
        QVERIFY(cls.LetMyFormSet("KUA", 9, 1).ok());
        zuohao::testing::EditConditions(cls, [&](ConditionSet& given) {
            given.DAN[0] = "0123456";
            given.KLU = {0, 0, 0, 1};
        });
        for (std::size_t g = 0; g < 5; ++g) {
            zuohao::testing::EditConditions(cls, [&](ConditionSet& given) {
                given.SEL[g] = "0123456789";
                given.CNT[g] = "0123";
            });
        }
        const auto draws = manyDraws(200);
        PlanStatsWindow w([&cls] { return &cls; });
        w.setDrawSource([&draws] { return DrawSourceCopy{{}, "t", draws}; });
        w.resize(1008, 660);
        w.show();
        QVERIFY(QTest::qWaitForWindowExposed(&w));
        w.findChild<QSpinBox*>(QStringLiteral("BacktestDraws"))->setValue(150);
        w.startBacktest();
        QTRY_VERIFY(!w.busy());
        auto* chart = w.findChild<RollingRateChart*>(QStringLiteral("RollingRateChart"));
        QVERIFY(!chart->stale());
        QVERIFY(labelText(w, "ChartSource").contains(QStringLiteral("杀跨度 9")));
        zuohao::testing::EditConditions(cls,
                                        [&](ConditionSet& given) { given.KUA.push_back('8'); });
        QTRY_VERIFY(chart->stale());
        QTRY_VERIFY(!w.busy());
        QVERIFY(w.findChild<MissRunHistogram*>(QStringLiteral("MissRunHistogram"))->stale());
        QVERIFY(w.findChild<HitStrip*>(QStringLiteral("HitStrip"))->stale());
        for (const char* name : {"ChartSource", "BacktestBasis"})
            QVERIFY2(labelText(w, name).contains(QStringLiteral("已过期")), name);
        QVERIFY(labelText(w, "KillBasis").contains(QStringLiteral("杀跨度 98")));
        QVERIFY(!labelText(w, "KillBasis").contains(QStringLiteral("已过期")));
        // On a 1024×700 screen every line of each note is shown, none cut off.
        for (const char* name : {"ChartSource", "BacktestBasis", "KillBasis", "RiskNote"}) {
            auto* l = w.findChild<QLabel*>(QString::fromUtf8(name));
            QTRY_VERIFY2(l->height() >= l->heightForWidth(l->width()), name);
        }
    }

    // Every run length has its class; a long record is shown day by day.
    void longRecordsStayReadable() {
        PlanTally tally;
        std::vector<bool> hits;
        for (int run : {13, 272, 1219})
            for (int i = 0; i <= run; ++i)
                hits.push_back(i == run);
        while (hits.size() < 150000)
            hits.push_back(hits.size() % 3 == 0);
        for (std::size_t i = 0; i < hits.size(); ++i)
            tally.add(std::to_string(202601010001LL + (i / 1440) * 10000 + i % 1440), 500, hits[i]);
        const PlanFigures f = FiguresOf(tally, 1000);
        MissRunHistogram histogram;
        histogram.showClasses(f.runClasses, false);
        const struct {
            int bar;
            QString tip;
        } bars[] = {{12, QStringLiteral("连挂 13 期：实际 1 次")},
                    {histogram.barCount() - 1, QStringLiteral("连挂 >100 期：实际 2 次")}};
        for (const auto& b : bars)
            QVERIFY2(histogram.toolTipOf(b.bar).startsWith(b.tip), qPrintable(b.tip));
        QCOMPARE(RollingRateChart::naturalView(f), RollingRateChart::View::Daily);
        RollingRateChart chart;
        chart.showRecord(QStringLiteral("t"), f, false);
        chart.setView(RollingRateChart::View::Daily);
        QCOMPARE(chart.pointCount(), int(tally.days().size()));
        QCOMPARE(chart.days().front().label, QStringLiteral("01-01"));
    }
    // The worker shows the first percent at once but not every one of a fast job.
    void progressShowsTheFirstPercentWithoutFlooding() {
        BackgroundWork work;
        QSignalSpy progress(&work, &BackgroundWork::progress);
        QSignalSpy idle(&work, &BackgroundWork::idle);
        work.post(0, [](const RunControl& control) -> BackgroundWork::Apply {
            for (int i = 0; i <= 100000; ++i)
                control.report(double(i) / 100000.0);
            return {};
        });
        QVERIFY(idle.wait(10000));
        QVERIFY(progress.count() >= 2 && progress.count() < 20);
        QCOMPARE(progress.at(1).at(1).toInt(), 1);
    }

    // A figures label keeps its laid-out heights, never one of another text or font.
    void wrapLabelHeightFollowsTextWidthAndFont() {
        WrapLabel label;
        constexpr int kNarrow = 160;
        const QString longText = QStringLiteral("当前连挂 4 期，平均注数 238.6；").repeated(8);
        label.setText(QStringLiteral("期数 7"));
        const int oneLine = label.heightForWidth(kNarrow);
        label.setText(longText);
        const int narrowLong = label.heightForWidth(kNarrow);
        QVERIFY(narrowLong > oneLine && label.heightForWidth(4 * kNarrow) < narrowLong);
        QFont big = label.font();
        big.setPointSize(big.pointSize() * 2);
        label.setFont(big);
        QVERIFY(label.heightForWidth(kNarrow) > narrowLong);
        label.setFont(QFont());
        label.setText(QStringLiteral("期数 7"));
        QCOMPARE(label.heightForWidth(kNarrow), oneLine);
    }
};

QTEST_MAIN(TestPlanStatsWindow)
#include "test_plan_stats_window.moc"
