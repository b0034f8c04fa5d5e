// The monitor end to end: draws arriving in the draw file, a base set made in the main window,
// monitoring switched on with settings that raise an alarm, the alarm row, one sound, and the
// alarm's plan ending with 中n or 挂 in the grid and in the log.
#include <QAbstractItemModel>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QTableView>
#include <QTest>

#include "core/model/Text.h"
#include "gui/common/Settings.h"
#include "gui/monitor/JianKongForm.h"
#include "support_fixture.h"

using namespace zuohao::gui;

class TestMonitorEndToEnd : public QObject {
    Q_OBJECT

    static void pick(QComboBox* box, const QString& text) {
        const int i = box->findText(text);
        QVERIFY2(i >= 0, qPrintable(text));
        box->setCurrentIndex(i);
        emit box->activated(i); // as a user's pick
    }

private slots:
    void alarmSoundsOnceAndItsPlanEnds() {
        WriteDelaySetting(QStringLiteral("0"));
        FormFixture f;
        auto draws = FormFixture::makeDraws(160);
        std::vector<Draw> shown(draws.begin(), draws.begin() + 60);
        f.writeDraws(shown);
        f.start(f.defaultOptions());

        // A base set in the main window: 百十个 with the banker 5 (271 numbers), plan started.
        QTest::mouseClick(f.child<QPushButton>("数字_5"), Qt::LeftButton);
        QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        QCOMPARE(zuohao::CountNumberList(f.form().Lotteries(0).formSet().DAD.text()), 271);

        // The monitor: every segment hit count allowed, a plan of three periods, triggered by
        // two hits without three misses between them.
        f.form().JianKongCmd_Click();
        JianKongForm* m = f.form().jianKongForm();
        pick(m->findChild<QComboBox*>("SZCom_0"), QStringLiteral("0"));
        pick(m->findChild<QComboBox*>("SZCom_1"), QStringLiteral("30"));
        pick(m->findChild<QComboBox*>("SZCom_2"), QStringLiteral("3"));
        pick(m->findChild<QComboBox*>("SZCom_3"), QStringLiteral("0"));
        m->findChild<QLineEdit*>("ZhuoQiTxt")->setText(QStringLiteral("10"));
        auto* onOff = m->findChild<QPushButton*>("jiankongCom");
        QTest::mouseClick(onOff, Qt::LeftButton);
        QCOMPARE(onOff->text(), QStringLiteral("停止监控"));

        auto* grid = m->findChild<QTableView*>("ZSGrid_0");
        auto newestJhzg = [&] {
            QAbstractItemModel* model = grid->model();
            return model->data(model->index(model->rowCount() - 1, 7)).toString();
        };
        // New draws arrive one poll at a time until an alarm is raised for the newest period.
        std::size_t next = 60;
        bool alarmed = false;
        for (; next < draws.size() && !alarmed; ++next) {
            shown.push_back(draws[next]);
            f.writeDraws(shown);
            const bool runningBefore = f.form().monitorState().PlanRunning;
            const int sounds = f.seams.alarms;
            f.form().GetNewTimer_Timer();
            m->Kasi();
            if (!runningBefore && newestJhzg() == QStringLiteral("告警")) {
                alarmed = true;
                QCOMPARE(f.seams.alarms, sounds + 1);
            } else {
                QCOMPARE(f.seams.alarms, sounds);
            }
        }
        QVERIFY2(alarmed, "no alarm in 100 draws");
        QVERIFY(f.form().monitorState().PlanRunning);

        // The alarm's plan runs at most three periods and ends with 中n or 挂.
        const int sounds = f.seams.alarms;
        for (int k = 0; k < 3 && f.form().monitorState().PlanRunning; ++k, ++next) {
            shown.push_back(draws[next]);
            f.writeDraws(shown);
            f.form().GetNewTimer_Timer();
            m->Kasi();
        }
        QVERIFY(!f.form().monitorState().PlanRunning);
        QCOMPARE(f.seams.alarms, sounds); // a running plan raises no new alarm
        const QString result = newestJhzg();
        QVERIFY2(result == QStringLiteral("挂") ||
                     QRegularExpression(QStringLiteral("^中[123]$")).match(result).hasMatch(),
                 qPrintable(result));
        const QString log = m->findChild<QPlainTextEdit*>("记录")->toPlainText();
        QVERIFY2(log.endsWith(QStringLiteral("期 --- ") + result), qPrintable(log));
    }
};

QTEST_MAIN(TestMonitorEndToEnd)
#include "test_monitor_e2e.moc"
