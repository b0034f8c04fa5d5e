// The desktop program's main window against a second process that rewrites its draw file in
// each way betting programs do (rename, truncate-then-write, line by line, a pause inside the
// top line), its refresh ticks run far more often than every 6 seconds. At the end every period
// held has the writer's number, they were held in ascending order, none of the newest 100 is
// missing, no dialog of any kind appeared and the status line is not red.
#include <QElapsedTimer>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <fstream>
#include <map>

#include "../../core/acquire/support_writer.h"
#include "core/acquire/LineRule.h"
#include "core/model/Text.h"
#include "support_fixture.h"

using namespace zuohao;
using zuohao::testing::WriteMode;

class TestFeedWriters : public QObject {
    Q_OBJECT
private slots:
    void everyDrawRight_data();
    void everyDrawRight();
};

void TestFeedWriters::everyDrawRight_data() {
    QTest::addColumn<int>("mode");
    for (WriteMode m : zuohao::testing::kAllWriteModes)
        QTest::newRow(zuohao::testing::modeName(m)) << int(m);
}

void TestFeedWriters::everyDrawRight() {
    QFETCH(int, mode);
    FormFixture fx;
    zuohao::testing::WriterPlan plan;
    plan.path = fx.drawPath().toStdString();
    plan.ledger = fx.dir.filePath(QStringLiteral("ledger.txt")).toStdString();
    plan.mode = WriteMode(mode);
    plan.writes = 62;
    // The file exists before the window starts, as the betting program's does.
    zuohao::testing::WriterPlan first = plan;
    first.writes = 0;
    first.interval = std::chrono::milliseconds(0);
    QVERIFY(zuohao::testing::runWriter(first));

    gui::LotteryForm& form = fx.start(fx.defaultOptions());
    form.getNewTimer()->stop(); // the ticks below stand in for it, faster
    const pid_t writer = ::fork();
    QVERIFY(writer >= 0);
    if (writer == 0) _exit(zuohao::testing::runWriter(plan) ? 0 : 1);
    int status = 0;
    bool done = false;
    QElapsedTimer clock;
    clock.start();
    while (!done && clock.elapsed() < 120000) {
        form.GetNewTimer_Timer();
        QTest::qWait(5 + int(clock.elapsed() % 7));
        done = ::waitpid(writer, &status, WNOHANG) == writer;
    }
    if (!done) {
        ::kill(writer, SIGKILL);
        ::waitpid(writer, &status, 0);
        QFAIL("the writer did not finish");
    }
    QVERIFY(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    form.GetNewTimer_Timer();
    form.GetNewTimer_Timer();

    std::map<std::string, std::string> ledger;
    std::ifstream in(plan.ledger);
    for (std::string line; std::getline(in, line);)
        for (const DrawLine& d : ParseDrawText(line).draws)
            ledger[d.qishu] = d.haoma;
    const LotteryClass& lot = *form.ActiveCls();
    double previous = -1;
    for (const auto& [label, haoma] : lot.monitorPeriods()) {
        QVERIFY2(ledger.count(label) && ledger.at(label) == haoma, label.c_str());
        QVERIFY2(NumericValue(label) > previous, "held in ascending order");
        previous = NumericValue(label);
    }
    const double newest = double(plan.firstLabel + plan.writes - 1);
    QCOMPARE(NumericValue(lot.newestPeriod()), newest);
    for (const auto& [label, haoma] : ledger)
        if (NumericValue(label) > newest - double(kHeldDraws))
            QVERIFY2(lot.heldDraws().Exists(label), ("missing " + label).c_str());
    QCOMPARE(fx.seams.fileAsked, 0);
    QVERIFY(fx.seams.messages.isEmpty());
    QVERIFY(!form.drawFileLink()->isVisible());
}

QTEST_MAIN(TestFeedWriters)
#include "test_feed_writers.moc"
