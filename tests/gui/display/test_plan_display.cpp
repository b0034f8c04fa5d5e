// The plan display: the grid rebuilt from the held draws and the lines of the running plan.
#include <QtTest>

#include "core/plan/Plan.h"
#include "gui/display/HistoryGridModel.h"
#include "gui/display/PlanDisplay.h"
#include "support_draws.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {

constexpr int kGroup = 7; // 千百个
const PlanLine kHitLine{"202612080930期", 120, kGroup, PlanOutcome::Hit};
const PlanLine kMissLine{"202612080931期", 120, kGroup, PlanOutcome::Miss};
const PlanLine kWaitingLine{"202612080932期", 120, kGroup, PlanOutcome::Running};
const std::string kScoredHit = "202612080930期  120注  【千百个】  中";
const std::string kScoredMiss = "202612080931期  120注  【千百个】  挂";
const std::string kWaiting = "202612080932期  120注  【千百个】  进行中...";

PlanDisplayOptions options(bool killTextBusy) {
    PlanDisplayOptions o;
    o.curWei = 7;
    o.cap = QStringLiteral(" 千百个");
    o.killTextBusy = killTextBusy;
    return o;
}

} // namespace

class TestPlanDisplay : public QObject {
    Q_OBJECT
private slots:
    void noPlanGivesEmptyTextButRedrawsTheGrid() {
        LotteryClass cls;
        cls.setName("腾讯分分彩");
        test::FeedSampleDraws(cls);
        const auto items = test::HeldDraws(cls);
        items.back()->Plan = kHitLine; // a line left over, but no plan runs
        HistoryGridModel m;
        QCOMPARE(RedrawPlanDisplay(m, cls, options(true)), QString());
        QCOMPARE(m.gridRowCount(), 102);
        QCOMPARE(m.cellText(0, 1), QStringLiteral("腾讯分分彩"));
        QCOMPARE(m.cellText(0, 3), QStringLiteral(" 千百个10期冷热"));
        // Oldest draw at the top, newest in the last row.
        QCOMPARE(m.cellText(2, 1), QString::fromStdString(items.front()->Qishu));
        QCOMPARE(m.cellText(101, 1), QString::fromStdString(items.back()->Qishu));
        QCOMPARE(m.cellText(101, 2), QString::fromStdString(items.back()->Haoma));
        const GridRow newest = items.back()->GetGridArray(7);
        for (int c = 3; c <= 68; ++c) {
            QCOMPARE(m.cellText(101, c), QString::fromStdString(newest[std::size_t(c)].shown()));
            QCOMPARE(m.isMarked(101, c), newest[std::size_t(c)].isMark());
        }
    }

    void fewerDrawsShrinkTheGrid() {
        LotteryClass cls;
        test::FeedSampleDraws(cls, 7);
        HistoryGridModel m;
        RedrawPlanDisplay(m, cls, options(false));
        QCOMPARE(m.gridRowCount(), 9);
        LotteryClass empty;
        RedrawPlanDisplay(m, empty, options(false));
        QCOMPARE(m.gridRowCount(), 2);
        QCOMPARE(m.rowCount(), 0);
    }

    void waitingLineShownOnlyDuringATransfer_data() {
        QTest::addColumn<bool>("killTextBusy");
        QTest::addColumn<QString>("expected");
        const QString scored = QString::fromStdString(kScoredHit + "\r\n" + kScoredMiss + "\r\n");
        QTest::newRow("normal redraw") << false << scored;
        QTest::newRow("after a transfer")
            << true << scored + QString::fromStdString(kWaiting + "\r\n");
    }
    void waitingLineShownOnlyDuringATransfer() {
        QFETCH(bool, killTextBusy);
        QFETCH(QString, expected);
        LotteryClass cls;
        test::FeedSampleDraws(cls);
        const auto items = test::HeldDraws(cls);
        // A plan started at period P = the draw 97: P and P + 1 scored, P + 2 waiting.
        items[96]->Plan = PlanLine{"202612080929期", 120, kGroup, PlanOutcome::Hit}; // earlier
        items[97]->Plan = kHitLine;
        items[98]->Plan = kMissLine;
        items[99]->Plan = kWaitingLine;
        test::EditState(cls, [&](LotteryState& s) {
            s.IsHasPlan = true;
            s.StartPlanQi = items[97]->Qishu;
        });
        HistoryGridModel m;
        const QString text = RedrawPlanDisplay(m, cls, options(killTextBusy));
        QCOMPARE(text, expected);
        QVERIFY(text.endsWith(QStringLiteral("\r\n")));
        QCOMPARE(m.gridRowCount(), 102);
    }

    void planStepComparesPeriodsAsText_data() {
        QTest::addColumn<QString>("qishu");
        QTest::addColumn<QString>("start");
        QTest::addColumn<bool>("shown");
        QTest::newRow("same period") << "202612080931"
                                     << "202612080931" << true;
        QTest::newRow("later period") << "202612080932"
                                      << "202612080931" << true;
        QTest::newRow("earlier period") << "202612080930"
                                        << "202612080931" << false;
        QTest::newRow("10 before 9 as text") << "10"
                                             << "9" << false;
        QTest::newRow("9 after 10 as text") << "9"
                                            << "10" << true;
        QTest::newRow("shorter prefix is less") << "20261208093"
                                                << "202612080931" << false;
        QTest::newRow("no start period") << "1"
                                         << "" << true;
    }
    void planStepComparesPeriodsAsText() {
        QFETCH(QString, qishu);
        QFETCH(QString, start);
        QFETCH(bool, shown);
        LotteryState cls;
        cls.IsHasPlan = true;
        cls.StartPlanQi = start.toStdString();
        LotteryItem item;
        item.Qishu = qishu.toStdString();
        item.Plan = kHitLine;
        std::string lines;
        AppendPlanLine(lines, cls, item, false);
        QCOMPARE(lines, shown ? kScoredHit + "$" : std::string());
    }

    void planStepSkipsEmptyAndStoppedPlans() {
        LotteryState cls;
        cls.IsHasPlan = true;
        LotteryItem item;
        item.Qishu = "5";
        std::string lines;
        AppendPlanLine(lines, cls, item, true); // no line made in that period
        QCOMPARE(lines, std::string());
        item.Plan = kWaitingLine;
        AppendPlanLine(lines, cls, item, false);
        QCOMPARE(lines, std::string());
        AppendPlanLine(lines, cls, item, true);
        QCOMPARE(lines, kWaiting + "$");
        cls.IsHasPlan = false;
        AppendPlanLine(lines, cls, item, true);
        QCOMPARE(lines, kWaiting + "$");
    }

    void planTextTrimsOnlyTheEnds_data() {
        QTest::addColumn<QString>("lines");
        QTest::addColumn<QString>("text");
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("one line") << "a  b$"
                                  << "a  b\r\n";
        QTest::newRow("outer spaces") << "  a$b  c$  "
                                      << "a\r\nb  c\r\n";
        QTest::newRow("inner spaces kept") << "a $ b$"
                                           << "a \r\n b\r\n";
    }
    void planTextTrimsOnlyTheEnds() {
        QFETCH(QString, lines);
        QFETCH(QString, text);
        QCOMPARE(QString::fromStdString(PlanTextFromLines(lines.toStdString())), text);
    }

    // A plan run through the draw pipeline: one line per period from the start on, the
    // newest still waiting.
    void planRunThroughThePipeline() {
        LotteryClass cls;
        QCOMPARE(test::FeedSampleDraws(cls, 90), 90);
        const auto before = test::HeldDraws(cls);
        before[50]->Plan = PlanLine{"1期", 1, kGroup, PlanOutcome::Hit}; // an earlier plan's
        cls.setPositionIndex(7);
        test::StartPlanOnBase(cls, "012 123 234 345 456 567 678 789 890 901");
        const auto draws = test::SampleDraws();
        for (std::size_t i = 90; i < draws.size(); ++i)
            cls.ProcessDraw(draws[i].qishu, draws[i].haoma);
        const int planDraws = int(draws.size()) - 90 + 1; // the start draw and all after it

        HistoryGridModel m;
        const QString normal = RedrawPlanDisplay(m, cls, options(false));
        const QString busy = RedrawPlanDisplay(m, cls, options(true));
        QStringList normalLines = normal.split(QStringLiteral("\r\n"));
        QStringList busyLines = busy.split(QStringLiteral("\r\n"));
        QCOMPARE(normalLines.takeLast(), QString()); // the last line ends with a break too
        QCOMPARE(busyLines.takeLast(), QString());
        QCOMPARE(busyLines.size(), planDraws);
        QCOMPARE(normalLines.size(), planDraws - 1);
        QVERIFY(busyLines.last().endsWith(QStringLiteral("进行中...")));
        for (const QString& line : normalLines)
            QVERIFY2(line.endsWith(QStringLiteral("中")) || line.endsWith(QStringLiteral("挂")),
                     qPrintable(line));
        QVERIFY(!normal.contains(QStringLiteral("1期  1注")));
    }
};

QTEST_MAIN(TestPlanDisplay)
#include "test_plan_display.moc"
