// Timing of one draw from the draw file to the phone, along the desktop program's own path: a
// draw is written to the draw file, the refresh tick reads it, the draw enters, the monitor
// (restarted over the new draw) raises 告警, and the notifier's request is read by a local
// server on 127.0.0.1. Timed from the tick's start (the file already written) to the server
// having read the whole request; only draws that raised an alarm count. Beside it, the moment
// the notifier had the events and the end of the tick (its status line written): the rest of
// the refresh waits behind the request. Target: at most 20 ms.
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "acquire/support_http_server.h"
#include "app/support_fixture.h"
#include "gui/app/NotifyLink.h"
#include "notify/NotificationCenter.h"
#include "notify/Postman.h"

using namespace zuohao::gui;
using namespace zuohao::notify;
using zuohao::test::Answer;
using zuohao::test::LocalHttpServer;

namespace {
constexpr int kAlarms = 40;
constexpr int kMostDraws = 2000;

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}
double worst(std::vector<double> v) {
    return *std::max_element(v.begin(), v.end());
}
} // namespace

class BenchDrawToPhone : public QObject {
    Q_OBJECT
private slots:
    void drawEnteredToRequestOnTheWire() {
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.setAnswer("/cgi-bin/webhook/send", Answer::text(R"({"errcode":0,"errmsg":"ok"})"));
        FormFixture f;
        auto draws = FormFixture::makeDraws(60 + kMostDraws);
        std::vector<Draw> shown(draws.begin(), draws.begin() + 60);
        f.writeDraws(shown);
        f.start(f.defaultOptions());
        NotificationCenter& center = f.form().notifyLink()->center();
        Target t = newTarget(TargetKind::WeCom);
        t.url = server.url("/cgi-bin/webhook/send?key=BENCH");
        center.setTargets({t});

        // A base set, a plan, and a monitor that raises an alarm every few draws.
        f.watchEveryFewDraws();

        QElapsedTimer clock;
        double told = -1, ended = -1, sent = -1;
        connect(&f.form(), &LotteryForm::refreshShown, this,
                [&] { ended = double(clock.nsecsElapsed()) / 1e6; });
        connect(&center.postman(), &Postman::requestSent, this, [&] {
            if (sent < 0) sent = double(clock.nsecsElapsed()) / 1e6;
        });
        f.form().refreshRouter().subscribe(
            RefreshRouter::Stage::Notify,
            [&](zuohao::LotteryClass&, const zuohao::RefreshEvents& e) {
                if (!e.alarms.empty()) told = double(clock.nsecsElapsed()) / 1e6;
            });
        QEventLoop onTheWire; // wakes the moment the server has read a request
        connect(&server, &LocalHttpServer::requestReceived, &onTheWire, &QEventLoop::quit);
        QTimer giveUp;
        giveUp.setSingleShot(true);
        connect(&giveUp, &QTimer::timeout, &onTheWire, &QEventLoop::quit);

        std::vector<double> wire, read, tick, notified;
        for (std::size_t next = 60; next < draws.size() && int(wire.size()) < kAlarms; ++next) {
            QVERIFY(QTest::qWaitFor(
                [&] { return center.pending() == 0 && !f.form().refreshUnderWay(); }, 5000));
            shown.push_back(draws[next]);
            f.writeDraws(shown);
            const int before = server.requests().size();
            told = ended = sent = -1;
            clock.start();
            f.form().GetNewTimer_Timer();
            if (told < 0) continue; // no alarm: nothing goes out
            if (server.requests().size() == before) {
                giveUp.start(5000);
                onTheWire.exec();
            }
            QVERIFY(server.requests().size() > before);
            read.push_back(double(clock.nsecsElapsed()) / 1e6);
            notified.push_back(told);
            QVERIFY(QTest::qWaitFor([&] { return sent >= 0; }, 5000));
            wire.push_back(sent);
            QVERIFY(QTest::qWaitFor([&] { return ended >= 0; }, 5000));
            tick.push_back(ended);
        }
        QVERIFY2(int(wire.size()) == kAlarms, "too few alarms");
        qInfo("%d alarms: tick start -> notifier told: median %.2f ms, max %.2f ms", kAlarms,
              median(notified), worst(notified));
        qInfo("tick start -> tick end: median %.2f ms, max %.2f ms", median(tick), worst(tick));
        qInfo("tick start -> request on the wire: median %.2f ms, max %.2f ms", median(wire),
              worst(wire));
        qInfo("tick start -> request read by the server (on the GUI thread, after the redraw): "
              "median %.2f ms, max %.2f ms",
              median(read), worst(read));
        QTest::setBenchmarkResult(median(wire), QTest::WalltimeMilliseconds);
    }
};

QTEST_MAIN(BenchDrawToPhone)
#include "bench_draw_to_phone.moc"
