// The one lane of background work: jobs of a lane run in the order posted and their results
// apply on the GUI thread in that order; a cancel reaches a job that runs and drops its
// result (unless the job reports its own end); what a job tells arrives on the GUI thread;
// the owner's last job is waited for; the bare lane runs its work between tasks.
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <atomic>
#include <vector>

#include "gui/common/BackgroundWork.h"

using namespace zuohao::gui;
using zuohao::RunControl;
using Mode = BackgroundWork::Mode;

namespace {
constexpr int kWaitMs = 10000;

// A job that runs until it is cancelled, and says that it started.
BackgroundWork::Job untilCancelled(std::atomic<bool>& started, std::atomic<bool>& sawCancel,
                                   bool& applied) {
    return [&](const RunControl& control) -> BackgroundWork::Apply {
        started = true;
        while (!control.cancelled())
            std::this_thread::yield();
        sawCancel = true;
        return [&applied] { applied = true; };
    };
}
} // namespace

class TestBackgroundWork : public QObject {
    Q_OBJECT
private slots:
    void aLaneRunsInOrderAndAppliesOnTheGuiThread() {
        BackgroundWork work;
        QSignalSpy idle(&work, &BackgroundWork::idle);
        std::vector<int> ran;    // on the worker, one job at a time
        std::vector<int> landed; // on the GUI thread
        bool offGui = true;
        bool onGui = true;
        constexpr int kJobs = 50;
        for (int i = 0; i < kJobs; ++i)
            work.post(
                1,
                [&, i](const RunControl&) -> BackgroundWork::Apply {
                    offGui = offGui && QThread::currentThread() != qApp->thread();
                    ran.push_back(i);
                    return [&, i] {
                        onGui = onGui && QThread::currentThread() == qApp->thread();
                        landed.push_back(i);
                    };
                },
                Mode::Follow);
        QVERIFY(work.busy(1));
        QVERIFY(idle.wait(kWaitMs));
        QCOMPARE(idle.count(), 1);
        QCOMPARE(idle.at(0).at(0).toInt(), 1);
        QCOMPARE(int(landed.size()), kJobs);
        for (int i = 0; i < kJobs; ++i) {
            QCOMPARE(ran[std::size_t(i)], i);
            QCOMPARE(landed[std::size_t(i)], i);
        }
        QVERIFY(offGui);
        QVERIFY(onGui);
        QVERIFY(!work.busy(1));
    }

    void cancelReachesTheRunningJob_data() {
        QTest::addColumn<bool>("report");
        QTest::addColumn<bool>("applies");
        QTest::newRow("dropped") << false << false;
        QTest::newRow("reported") << true << true;
    }
    void cancelReachesTheRunningJob() {
        QFETCH(bool, report);
        QFETCH(bool, applies);
        BackgroundWork work;
        QSignalSpy idle(&work, &BackgroundWork::idle);
        std::atomic<bool> started{false}, sawCancel{false};
        bool applied = false;
        work.post(0, untilCancelled(started, sawCancel, applied),
                  report ? Mode::Report : Mode::Follow);
        QTRY_VERIFY_WITH_TIMEOUT(started.load(), kWaitMs);
        work.cancel(0);
        QVERIFY(idle.wait(kWaitMs));
        QVERIFY(sawCancel.load());
        QCOMPARE(applied, applies);
    }

    // Steps arrive on the GUI thread, the first at once, and none once the job is cancelled.
    void whatAJobTellsArrivesOnTheGuiThread() {
        BackgroundWork work;
        QSignalSpy idle(&work, &BackgroundWork::idle);
        std::atomic<bool> cancelSeen{false};
        std::atomic<int> told{0};
        bool onGui = true;
        int shown = -1;
        work.post(
            3,
            [&](const RunControl& control, const BackgroundWork::Tell& tell) {
                tell([&] {
                    onGui = QThread::currentThread() == qApp->thread();
                    shown = 1;
                    told = 1;
                });
                while (!control.cancelled())
                    std::this_thread::yield();
                cancelSeen = true;
                tell([&] { shown = 2; }); // too late: the window no longer wants it
                return BackgroundWork::Apply();
            },
            Mode::Follow);
        QTRY_COMPARE_WITH_TIMEOUT(told.load(), 1, kWaitMs);
        QVERIFY(onGui);
        work.cancel(3);
        QVERIFY(idle.wait(kWaitMs));
        QVERIFY(cancelSeen.load());
        QCOMPARE(shown, 1);
    }

    // The owner's last job runs before finishPosted returns, after those posted before it;
    // no result applies afterwards.
    void finishPostedWaitsForTheLastJob() {
        bool applied = false;
        std::vector<int> ran;
        {
            BackgroundWork work;
            QSignalSpy idle(&work, &BackgroundWork::idle);
            for (int i = 0; i < 20; ++i)
                work.post(
                    0,
                    [&, i](const RunControl&) -> BackgroundWork::Apply {
                        ran.push_back(i);
                        return [&] { applied = true; };
                    },
                    Mode::Follow);
            work.finishPosted();
            QCOMPARE(int(ran.size()), 20);
            QCOMPARE(ran.back(), 19);
            QVERIFY(idle.wait(kWaitMs)); // the lane's ends come back, without their results
            QVERIFY(!applied);
        }
        QVERIFY(!applied);
    }

    void theBareLaneRunsItsWorkBetweenTasks() {
        std::atomic<int> between{0};
        std::atomic<int> tasks{0};
        {
            WorkLane lane(WorkLane::Between{std::chrono::milliseconds(1), [&] { ++between; }});
            for (int i = 0; i < 5; ++i)
                lane.post([&] { ++tasks; });
            lane.finishPosted();
            QCOMPARE(tasks.load(), 5);
            QTRY_VERIFY_WITH_TIMEOUT(between.load() >= 10, kWaitMs); // also while idle
            lane.post([&] { ++tasks; });
        } // the queued task still runs
        QCOMPARE(tasks.load(), 6);
    }
};

QTEST_MAIN(TestBackgroundWork)
#include "test_background_work.moc"
