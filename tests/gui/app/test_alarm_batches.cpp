// The monitor's alarm when the betting program writes one, two or three draws at once: every
// refresh whose draws raised 告警 (any of them, not only its last) sounds once, and the status
// line and the monitor window name the periods; the status line keeps them till the next draw.
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "core/model/Text.h"
#include "core/monitor/Monitor.h"
#include "gui/monitor/JianKongForm.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestAlarmBatches : public QObject {
    Q_OBJECT
private slots:
    void everyAlarmedRefreshSounds_data() {
        QTest::addColumn<int>("perWrite");
        QTest::newRow("1") << 1;
        QTest::newRow("2") << 2;
        QTest::newRow("3") << 3;
    }
    void everyAlarmedRefreshSounds() {
        QFETCH(int, perWrite);
        FormFixture f;
        const auto draws = FormFixture::makeDraws(40 + 40 * perWrite);
        std::vector<Draw> shown(draws.begin(), draws.begin() + 40);
        f.writeDraws(shown);
        LotteryForm& form = f.start(f.defaultOptions());
        form.getNewTimer()->stop(); // the refreshes below are driven one by one
        QTest::mouseClick(f.child<QPushButton>("数字_5"), Qt::LeftButton);
        QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        // Alarms often: any hit count, a plan of three periods, two hits close together trigger.
        form.JianKongCmd_Click();
        JianKongForm* m = form.jianKongForm();
        const char* settings[4][2] = {
            {"SZCom_0", "0"}, {"SZCom_1", "30"}, {"SZCom_2", "3"}, {"SZCom_3", "0"}};
        for (auto& [name, value] : settings) {
            auto* box = m->findChild<QComboBox*>(name);
            box->setCurrentIndex(box->findText(value));
            emit box->activated(box->currentIndex());
        }
        QTest::mouseClick(m->findChild<QPushButton*>("jiankongCom"), Qt::LeftButton);

        int alarmedRefreshes = 0, notLast = 0;
        QString lastAlarm; // a period the previous refresh raised an alarm for
        for (std::size_t next = 40; next < draws.size(); next += std::size_t(perWrite)) {
            const int before = f.seams.alarms;
            shown.insert(shown.end(), draws.begin() + long(next),
                         draws.begin() + long(next) + perWrite);
            f.writeDraws(shown);
            form.GetNewTimer_Timer();
            QTRY_VERIFY(!form.refreshUnderWay() &&
                        form.ActiveCls()->newestPeriod() == shown.back().qishu.toStdString());
            QStringList alarmed;
            for (int i = 0; i < perWrite; ++i) {
                const std::string label =
                    shown[shown.size() - 1 - std::size_t(i)].qishu.toStdString();
                const auto& rows = form.monitorState().MonitorRows;
                const zuohao::MonitorRow* row = rows.find(zuohao::Period::parse(label));
                if (row && row->Jhzg.kind == zuohao::PlanMark::Alarm) {
                    alarmed << QString::fromStdString(label);
                    notLast += i > 0;
                }
            }
            alarmedRefreshes += !alarmed.isEmpty();
            QCOMPARE(f.seams.alarms - before, alarmed.isEmpty() ? 0 : 1);
            const QString status = f.child<QLabel>("showLabel")->text();
            for (const QString& p : alarmed) {
                QVERIFY2(status.contains(p), qPrintable(status));
                QVERIFY(m->findChild<QLabel*>("AlarmNote")->text().contains(p));
            }
            // The note outlasts a refresh without a draw; a draw without an alarm ends it.
            if (!alarmed.isEmpty()) {
                form.GetNewTimer_Timer();
                QTRY_VERIFY(!form.refreshUnderWay());
                const QString later = f.child<QLabel>("showLabel")->text();
                QVERIFY2(later.contains(alarmed.first()), qPrintable(later));
            } else if (!lastAlarm.isEmpty()) {
                QVERIFY2(!status.contains(lastAlarm), qPrintable(status));
            }
            lastAlarm = alarmed.isEmpty() ? QString() : alarmed.first();
        }
        QVERIFY(alarmedRefreshes > 0);
        if (perWrite > 1) QVERIFY(notLast > 0); // alarms the last draw of a write did not raise
    }
};

QTEST_MAIN(TestAlarmBatches)
#include "test_alarm_batches.moc"
