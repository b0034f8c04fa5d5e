// Faults a player meets at the desk in the monitor window: an alarm that kept sounding after
// monitoring was switched off, and a chosen lock period that jumped back at the next draw.
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "support_monitor.h"

using namespace zuohao;
using namespace zuohao::gui;
using namespace zuohao::gui::test;

class TestDeskMonitor : public QObject {
    Q_OBJECT
private slots:
    // Item: switched off right after an alarm, no refresh sounds it again; the plan label goes.
    void noAlarmOnceMonitoringIsOff() {
        MonitorRig rig;
        rig.chooseSettings();
        rig.feed("HMMHMM");
        rig.form->Kasi();
        auto* start = rig.child<QPushButton>("jiankongCom");
        QTest::mouseClick(start, Qt::LeftButton);
        rig.form->Playsound(rig.lottery);
        QCOMPARE(rig.seams.alarms, 1);
        QVERIFY(!rig.child<QLabel>("计划Label")->text().isEmpty());
        QTest::mouseClick(start, Qt::LeftButton); // off
        QVERIFY(!rig.state.Monitoring);
        for (int refresh = 0; refresh < 3; ++refresh) {
            rig.feed("M");
            rig.form->Kasi();
            rig.form->Playsound(rig.lottery);
        }
        QCOMPARE(rig.seams.alarms, 1);
        QCOMPARE(rig.child<QLabel>("计划Label")->text(), QString());
        QVERIFY(!rig.state.AlarmSound);
        // Closing and reopening the window does not bring the label back.
        rig.form->close();
        rig.form->Kasi();
        QCOMPARE(rig.child<QLabel>("计划Label")->text(), QString());
    }

    // Item: the lock period the user chose stays while it is among the periods held.
    void chosenLockPeriodStaysAtTheNextDraw() {
        MonitorRig rig;
        rig.chooseSettings();
        rig.feed("HMMHMM");
        rig.form->Kasi();
        auto* periods = rig.child<QComboBox>("QSCom");
        QCOMPARE(periods->count(), 6);
        periods->setCurrentIndex(2);
        emit periods->activated(2); // the user's pick
        const QString chosen = QString::fromStdString(periodLabel(3));
        QCOMPARE(QString::fromStdString(rig.state.LockPeriod.text()), chosen);
        rig.feed("H");
        rig.form->Kasi(); // the redraw after a draw
        QCOMPARE(periods->count(), 7);
        QCOMPARE(periods->currentText(), chosen);
        QCOMPARE(QString::fromStdString(rig.state.LockPeriod.text()), chosen);
        // A period no longer held falls back to the first.
        rig.state.LockPeriod = zuohao::Period::parse("19990101");
        rig.form->Kasi();
        QCOMPARE(periods->currentIndex(), 0);
        QCOMPARE(QString::fromStdString(rig.state.LockPeriod.text()), periods->itemText(0));
    }
};

QTEST_MAIN(TestDeskMonitor)
#include "test_desk_monitor.moc"
