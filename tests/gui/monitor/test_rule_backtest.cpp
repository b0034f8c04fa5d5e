// 回测 of the monitor window: the rule replayed over the draws, the result in the log.
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtTest>

#include "core/analysis/DrawProvider.h"
#include "support_monitor.h"

using namespace zuohao;
using namespace zuohao::gui;
using namespace zuohao::gui::test;

class TestRuleBacktest : public QObject {
    Q_OBJECT
private slots:
    void resultOfTheRuleGoesToTheLog() {
        MonitorRig rig;
        rig.feed("HMMHMMHHMHMMMMMHMMHMMMMHMMH");
        rig.chooseSettings();
        QTest::mouseClick(rig.child<QPushButton>(QStringLiteral("HuiCeCom")), Qt::LeftButton);
        QTRY_VERIFY(!rig.form->backtestRunning());
        const QString log = rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText();
        QVERIFY(!rig.state.Monitoring); // the replay leaves the monitor as it was
        QVERIFY(rig.state.MonitorRows.empty());
        // The monitor's own replay of the same periods marks the same alarms and plan ends.
        rig.form->ReashStar();
        int alarms = 0, hits = 0, misses = 0;
        for (const MonitorRow& row : rig.state.MonitorRows) {
            alarms += row.Jhzg.kind == PlanMark::Alarm;
            hits += row.Jhzg.kind == PlanMark::Hit;
            misses += row.Jhzg.kind == PlanMark::Miss;
        }
        QVERIFY(alarms >= 2);
        const QString expected =
            QStringLiteral("回测 27期（评估 27期）：告警 %1 次，计划中 %2 次、挂 %3 次")
                .arg(alarms)
                .arg(hits)
                .arg(misses);
        QVERIFY2(log.contains(expected), qPrintable(log + " / " + expected));
    }

    void providerDraws_andNoBaseSet() {
        MonitorRig rig;
        rig.feed("H");
        rig.chooseSettings();
        std::vector<DrawLine> draws;
        for (int i = 1; i <= 6; ++i)
            draws.push_back({periodLabel(i), "HMMHMM"[i - 1] == 'H' ? kHitDraw : kMissDraw});
        rig.form->setDrawSource([&draws] { return DrawSourceCopy{{}, "t", draws}; });
        rig.form->HuiCeCom_Click();
        QTRY_VERIFY(!rig.form->backtestRunning());
        QString log = rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText();
        QVERIFY2(
            log.contains(QStringLiteral("回测 6期（评估 6期）：告警 1 次，计划中 0 次、挂 0 次")),
            qPrintable(log));
        QVERIFY(log.contains(QStringLiteral("最后一个计划未结束")));
        rig.setMainBase(NumberList());
        rig.form->HuiCeCom_Click();
        log = rig.child<QPlainTextEdit>(QStringLiteral("记录"))->toPlainText();
        QVERIFY(log.endsWith(QStringLiteral("回测：未有【过滤大底】，先去做出大底")));
    }
};

QTEST_MAIN(TestRuleBacktest)
#include "test_rule_backtest.moc"
