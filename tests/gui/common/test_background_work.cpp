// The worker of the analysis windows: progress shown from the first percent but not flooding
// the GUI thread, and cancelled work that never applies.
#include <QSignalSpy>
#include <QtTest>
#include <atomic>

#include "gui/common/BackgroundWork.h"

using namespace zuohao;
using namespace zuohao::gui;

class TestBackgroundWork : public QObject {
    Q_OBJECT
private slots:
    void progressShowsTheFirstPercentAndNotEveryOne() {
        BackgroundWork work;
        QSignalSpy progress(&work, &BackgroundWork::progress);
        QSignalSpy idle(&work, &BackgroundWork::idle);
        bool applied = false;
        work.post(0, [&applied](const RunControl& control) -> BackgroundWork::Apply {
            // A job that moves a percent far faster than any screen shows.
            for (int i = 0; i <= 100000; ++i)
                control.report(double(i) / 100000.0);
            return [&applied] { applied = true; };
        });
        QVERIFY(idle.wait(10000));
        QVERIFY(applied);
        QVERIFY(progress.count() >= 2);
        QCOMPARE(progress.at(0).at(1).toInt(), 0);
        QCOMPARE(progress.at(1).at(1).toInt(), 1); // the first percent, at once
        QVERIFY2(progress.count() < 20, qPrintable(QString::number(progress.count())));
    }

    void cancelledWorkNeverApplies() {
        BackgroundWork work;
        QSignalSpy idle(&work, &BackgroundWork::idle);
        std::atomic<bool> started{false};
        bool applied = false;
        work.post(1, [&](const RunControl& control) -> BackgroundWork::Apply {
            started = true;
            while (!control.cancelled())
                QThread::yieldCurrentThread();
            return [&applied] { applied = true; };
        });
        QTRY_VERIFY(started.load());
        work.cancel(1);
        QVERIFY(idle.wait(10000));
        QVERIFY(!applied);
        QVERIFY(!work.busy(1));
    }
};

QTEST_GUILESS_MAIN(TestBackgroundWork)
#include "test_background_work.moc"
