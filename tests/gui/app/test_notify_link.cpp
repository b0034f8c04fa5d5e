// The notifications in the program: a monitor alarm reaches a target with its period, a target
// that never answers does not hold up the refresh cycle, and closing the main window asks once
// whether to keep running in the tray.
#include <QFile>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include "acquire/support_http_server.h"
#include "core/monitor/Monitor.h"
#include "gui/app/NotifyLink.h"
#include "gui/monitor/JianKongForm.h"
#include "notify/NotificationCenter.h"
#include "support_fixture.h"

using namespace zuohao::gui;
using namespace zuohao::notify;
using zuohao::test::Answer;
using zuohao::test::LocalHttpServer;

namespace {
constexpr int kWaitMs = 10000;

Target hookTo(const LocalHttpServer& server) {
    Target t = newTarget(TargetKind::Webhook);
    t.url = server.url("/push");
    return t;
}

} // namespace

class TestNotifyLink : public QObject {
    Q_OBJECT
private slots:
    void monitorAlarmReachesTheTarget() {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.setAnswer("/push", Answer::text("ok"));
        FormFixture f;
        auto draws = FormFixture::makeDraws(160);
        std::vector<Draw> shown(draws.begin(), draws.begin() + 60);
        f.writeDraws(shown);
        f.start(f.defaultOptions());
        f.form().notifyLink()->center().setTargets({hookTo(server)});
        f.watchEveryFewDraws();
        // The alarm sounds (the sound switch is on): the monitor raised it.
        const int before = f.seams.alarms;
        for (std::size_t next = 60; next < draws.size() && f.seams.alarms == before; ++next) {
            shown.push_back(draws[next]);
            f.writeDraws(shown);
            f.form().GetNewTimer_Timer();
            QTRY_VERIFY_WITH_TIMEOUT(!f.form().refreshUnderWay(), kWaitMs);
        }
        QVERIFY2(f.seams.alarms > before, "no alarm in 100 draws");
        QTRY_VERIFY_WITH_TIMEOUT(server.requestCount("/push") == 1, kWaitMs);
        const QString period =
            QString::fromStdString(f.form().monitorState().MonitorRows.back().period.text());
        const QString text = QString::fromUtf8(server.requests().back().body);
        QVERIFY2(text.startsWith(QStringLiteral("【告警】腾讯分分彩 第") + period +
                                 QStringLiteral("期")),
                 qPrintable(text));
    }

    void oneRefreshOfManyDrawsSendsOneMessageNamingEveryAlarm() {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.setAnswer("/push", Answer::text("ok"));
        FormFixture f;
        auto draws = FormFixture::makeDraws(100);
        f.writeDraws(std::vector<Draw>(draws.begin(), draws.begin() + 60));
        f.start(f.defaultOptions());
        f.form().notifyLink()->center().setTargets({hookTo(server)});
        f.watchEveryFewDraws();
        const int before = f.seams.alarms;
        // Forty draws in one write: entered by one refresh once the file has stayed the same.
        f.writeDraws(draws);
        const std::string newest = draws.back().qishu.toStdString();
        QTRY_VERIFY_WITH_TIMEOUT(
            (f.form().GetNewTimer_Timer(), f.form().Lotteries(0).heldDraws().Exists(newest)),
            kWaitMs);
        QTRY_VERIFY_WITH_TIMEOUT(!f.form().refreshUnderWay(), kWaitMs);
        const std::vector<std::string>& raised = f.form().monitorState().LastAlarmPeriods;
        QVERIFY2(raised.size() > 1, "the forty draws raised fewer than two alarms");
        QCOMPARE(f.seams.alarms - before, 1);
        QTRY_VERIFY_WITH_TIMEOUT(server.requestCount("/push") == 1, kWaitMs);
        const QString text = QString::fromUtf8(server.requests().back().body);
        for (const std::string& p : raised) {
            const auto* row = f.form().monitorState().MonitorRows.find(zuohao::Period::parse(p));
            QVERIFY(row && row->evaluated());
            QVERIFY2(text.contains(QString::fromStdString(row->period.text())), qPrintable(text));
        }
        QVERIFY2(text.contains(QStringLiteral("期，%1 次告警").arg(raised.size())),
                 qPrintable(text));
    }

    // The refresh hands its alarms to the notifier first: the request is out before the sound
    // and before the windows redraw.
    void theAlarmIsSentBeforeTheSoundAndTheRedraw() {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.setAnswer("/push", Answer::text("ok"));
        FormFixture f;
        auto draws = FormFixture::makeDraws(160);
        std::vector<Draw> shown(draws.begin(), draws.begin() + 60);
        f.writeDraws(shown);
        f.start(f.defaultOptions());
        NotificationCenter& center = f.form().notifyLink()->center();
        center.setTargets({hookTo(server)});
        f.watchEveryFewDraws();
        QStringList order;
        connect(&center, &NotificationCenter::desktopNotice, this,
                [&](const QString&, const QString&, bool alarm) {
                    if (alarm)
                        order << QStringLiteral("sent %1, sounds %2")
                                     .arg(center.pending())
                                     .arg(f.seams.alarms);
                });
        f.form().refreshRouter().subscribe(
            RefreshRouter::Stage::Repaint,
            [&](zuohao::LotteryClass&, const zuohao::RefreshEvents& e) {
                if (!e.alarms.empty())
                    order << QStringLiteral("redraw, sounds %1").arg(f.seams.alarms);
            });
        for (std::size_t next = 60; next < draws.size() && order.isEmpty(); ++next) {
            shown.push_back(draws[next]);
            f.writeDraws(shown);
            f.form().GetNewTimer_Timer();
        }
        QTRY_VERIFY_WITH_TIMEOUT(!f.form().refreshUnderWay(), kWaitMs);
        QCOMPARE(order, (QStringList{QStringLiteral("sent 1, sounds 0"),
                                     QStringLiteral("redraw, sounds 1")}));
        QTRY_VERIFY_WITH_TIMEOUT(server.requestCount("/push") == 1, kWaitMs);
    }

    void aTargetThatNeverAnswersDoesNotHoldUpTheRefresh() {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.setAnswer("/push", Answer::hang());
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(30));
        AppOptions o = f.defaultOptions();
        o.pollMs = 100;
        f.start(o);
        NotifyLink* link = f.form().notifyLink();
        link->center().setTargets({hookTo(server)});
        QSignalSpy refreshes(&f.form(), &LotteryForm::refreshShown);
        zuohao::RefreshEvents raised;
        raised.alarms.push_back({"202612080030", 9, 4});
        link->tell(f.form().Lotteries(0), raised);
        QTRY_VERIFY_WITH_TIMEOUT(server.requestCount("/push") == 1, kWaitMs);
        const int before = refreshes.size();
        QTRY_VERIFY_WITH_TIMEOUT(refreshes.size() >= before + 5, kWaitMs);
        QCOMPARE(link->center().pending(), 1); // still waiting for its answer meanwhile
    }

    void closingAsksOnceWhetherToKeepRunningInTheTray() {
        QFile::remove(defaultSettingsPath()); // no answer kept from an earlier run
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(30));
        f.start(f.defaultOptions());
        NotifyLink* link = f.form().notifyLink();
        link->setTrayAvailable(true);
        int asked = 0;
        link->setCloseAsker([&] {
            ++asked;
            return std::optional<bool>(true);
        });
        f.form().close();
        QVERIFY(!f.form().isVisible());
        QVERIFY(f.form().getNewTimer()->isActive()); // the refresh goes on in the tray
        f.form().show();
        f.form().close();
        QCOMPARE(asked, 1);
        QCOMPARE(link->settings().onClose, CloseChoice::Tray);
        QCOMPARE(loadSettings(defaultSettingsPath()).settings.onClose, CloseChoice::Tray);
        link->quitProgram(); // the tray's 退出 ends the program
        QVERIFY(!f.form().getNewTimer()->isActive());
    }
};

QTEST_MAIN(TestNotifyLink)
#include "test_notify_link.moc"
