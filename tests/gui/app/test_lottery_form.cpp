// The main window as a person meets it: start-up, tabs, the status line, the refresh cycle
// against a draw file and a time service on this machine, and the two settings.
#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTableView>
#include <QTest>
#include <QTimer>

#include "gui/app/HelpWindow.h"
#include "gui/common/Settings.h"
#include "gui/monitor/JianKongForm.h"
#include "support_fixture.h"
#include "support_time_server.h"

using namespace zuohao::gui;

class TestLotteryForm : public QObject {
    Q_OBJECT

    static QString status(FormFixture& f) { return f.child<QLabel>("showLabel")->text(); }
    static int held(FormFixture& f) { return int(f.form().Lotteries(0).heldDraws().Count()); }
    // One refresh tick, to its end (the time service answers while the test waits).
    static bool tick(FormFixture& f) {
        f.form().GetNewTimer_Timer();
        return QTest::qWaitFor([&] { return !f.form().refreshUnderWay(); }, 20000);
    }

private slots:
    void init() { WriteDelaySetting(QString()); }

    void startUpShowsTabsHistoryAndDelay() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(30));
        WriteDelaySetting(QStringLiteral("7.5"));
        f.start(f.defaultOptions());
        QCOMPARE(f.child<QLabel>("MenuItemLabel_0")->text(), QStringLiteral("腾讯分分彩"));
        QCOMPARE(f.child<QLabel>("MenuItemLabel_1")->text(), QStringLiteral("VR3分彩"));
        QVERIFY(!f.child<QWidget>("MenuItemPic_2")); // a tab per lottery of the list
        QVERIFY(f.child<QWidget>("Picture4")->isEnabled());
        QCOMPARE(held(f), 30);
        // The delay is read, normalised by banker's rounding and stored back.
        QCOMPARE(f.child<QLineEdit>("TextYanchi")->text(), QStringLiteral("8"));
        QCOMPARE(f.child<QLabel>("LabelYanchi")->text(), QStringLiteral("8"));
        QCOMPARE(ReadDelaySetting(), QStringLiteral("8"));
        QVERIFY(f.child<QCheckBox>("CheckAuto")->isChecked());
        QVERIFY(f.child<QRadioButton>("WeiOption_9")->isChecked());
        QCOMPARE(f.form().formState().CurWei, 9);
        QVERIFY(f.form().getNewTimer()->isActive());
        QCOMPARE(f.form().getNewTimer()->interval(), 6000);
        QVERIFY(!f.form().timerGetHwnd()->isActive());
        QCOMPARE(status(f), QStringLiteral("正在获取数据..."));
    }

    void firstStartWithoutFileAsksForIt() {
        FormFixture f;
        zuohao::gui::AppOptions o;
        o.iniPath = f.iniPath(); // no settings file, no path
        f.start(o);
        QCOMPARE(f.seams.fileAsked, 1);
        QVERIFY(!f.child<QWidget>("Picture4")->isEnabled());
        QVERIFY(!f.form().Lotteries(0).hasHistory());

        // The refresh timer never opens the dialog: it says why in the status line, and after
        // ten such ticks shows the link that opens it.
        for (int tick = 1; tick <= zuohao::kFailedPollsBeforeAlarm; ++tick)
            f.form().GetNewTimer_Timer();
        QCOMPARE(f.seams.fileAsked, 1);
        QVERIFY(status(f).contains(QStringLiteral("未选择开奖文件")));
        QVERIFY(f.form().drawFileLink()->isVisibleTo(&f.form()));
        // The link asks; this time a file is chosen and history loads.
        f.writeDraws(FormFixture::makeDraws(12));
        f.seams.fileAnswer = f.drawPath();
        f.form().drawFileLink()->click();
        f.form().GetNewTimer_Timer();
        QCOMPARE(f.seams.fileAsked, 2);
        QVERIFY(!f.form().drawFileLink()->isVisibleTo(&f.form()));
        QCOMPARE(f.child<QLineEdit>("zelkc")->text(), QDir::toNativeSeparators(f.drawPath()));
        QVERIFY(f.child<QWidget>("Picture4")->isEnabled());
        QCOMPARE(held(f), 12);
        QVERIFY(status(f).startsWith(QStringLiteral("最后刷新:  ")));
    }

    void tabsSwitchLotteries() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(20));
        f.start(f.defaultOptions());
        auto* grid = f.child<QTableView>("SortGrid");
        const int rows = grid->model()->rowCount();
        f.form().ShowLabelTxt(QStringLiteral("x"));
        QTest::mouseClick(f.child<QLabel>("MenuItemLabel_0"), Qt::LeftButton);
        QCOMPARE(status(f), QStringLiteral("x")); // the selected tab changes nothing

        // A plan of this lottery: its base set and plan lines stay with it.
        QTest::mouseClick(f.child<QPushButton>("SuishuiCmd"), Qt::LeftButton);
        auto* base = f.child<QPlainTextEdit>("ShowDadiText");
        const QString ownBase = base->toPlainText();
        QVERIFY(!ownBase.isEmpty());
        QTest::mouseClick(f.child<QLabel>("MenuItemLabel_1"), Qt::LeftButton);
        QCOMPARE(f.form().SelectedIndex(), 1);
        QCOMPARE(base->toPlainText(), QString());
        QCOMPARE(f.child<QPushButton>("CopyDadiCmd")->text(), QStringLiteral("复制大底 [0注]"));
        QCOMPARE(f.child<QPlainTextEdit>("PlanText")->toPlainText(), QString());
        QCOMPARE(f.form().ActiveCls(), &f.form().Lotteries(1));
        QVERIFY(status(f).startsWith(QStringLiteral("最后刷新时间:  ")));
        // The time, then why this lottery shows no draws.
        const int timeEnd = QStringLiteral("最后刷新时间:  yyyy-mm-dd hh:mm:ss").size();
        QVERIFY(status(f).mid(timeEnd).startsWith(QStringLiteral("    VR3分彩还没有开奖文件")));
        // VR3分彩 keeps its own position group (万千百): the position change redraws the
        // grid from its draws, of which it has none.
        QVERIFY(rows > 0);
        QCOMPARE(f.form().formState().CurWei, 0);
        QCOMPARE(grid->model()->rowCount(), 0);
        QVERIFY(f.child<QWidget>("Picture4")->isEnabled());
        // VR3分彩 has no source: a tick reloads nothing and shows the old server time.
        f.form().GetNewTimer_Timer();
        QVERIFY(!f.form().Lotteries(1).hasHistory());
        QVERIFY(status(f).startsWith(QStringLiteral("最后刷新:  ")));
        QTest::mouseClick(f.child<QLabel>("MenuItemLabel_0"), Qt::LeftButton);
        QCOMPARE(base->toPlainText(), ownBase);
        QVERIFY(!f.child<QPlainTextEdit>("PlanText")->toPlainText().isEmpty());
    }

    void refreshTickReadsNewDrawsWithServerTime() {
        TimeServer server;
        QVERIFY(server.start());
        FormFixture f;
        auto draws = FormFixture::makeDraws(25);
        f.writeDraws(draws);
        auto o = f.defaultOptions();
        o.timeUrl = server.url();
        f.start(o);
        QCOMPARE(held(f), 25);

        draws.push_back({QStringLiteral("202612080026"), QStringLiteral("13579")});
        f.writeDraws(draws);
        QVERIFY(tick(f));
        QCOMPARE(held(f), 26);
        QCOMPARE(f.form().Lotteries(0).newestPeriod(), std::string("202612080026"));
        QCOMPARE(status(f), QStringLiteral("最后刷新:  01-02 03:04:05"));
        QVERIFY(server.requests >= 1);

        // A garbage answer: an error in the status line and no draw read.
        server.body = "not a time";
        draws.push_back({QStringLiteral("202612080027"), QStringLiteral("24680")});
        f.writeDraws(draws);
        QVERIFY(tick(f));
        QVERIFY(status(f).startsWith(QStringLiteral("产生错误:")));
        QVERIFY(status(f).size() > QStringLiteral("产生错误:").size());
        QCOMPARE(held(f), 26);

        // The service down: the same, until it answers again.
        const quint16 port = server.serverPort();
        server.close();
        QVERIFY(tick(f));
        QVERIFY(status(f).startsWith(QStringLiteral("产生错误:")));
        QCOMPARE(held(f), 26);
        server.body = "2025/1/2 3:04:06";
        QVERIFY(server.listen(QHostAddress::LocalHost, port));
        QVERIFY(tick(f));
        QVERIFY2(held(f) == 27, qPrintable(status(f)));
        QCOMPARE(status(f), QStringLiteral("最后刷新:  01-02 03:04:06"));
    }

    void aTickDuringATickWaitsForIt() {
        TimeServer server;
        server.delayMs = 300;
        QVERIFY(server.start());
        FormFixture f;
        auto draws = FormFixture::makeDraws(20);
        f.writeDraws(draws);
        auto o = f.defaultOptions();
        o.timeUrl = server.url();
        f.start(o);
        f.form().getNewTimer()->stop();
        draws.push_back({QStringLiteral("202612080021"), QStringLiteral("13579")});
        f.writeDraws(draws);
        f.form().GetNewTimer_Timer();
        QCOMPARE(status(f), QStringLiteral("正在获取最新数据......"));
        // The timer fires again while the first tick waits for the time service.
        QTRY_COMPARE(server.requests, 1);
        f.form().GetNewTimer_Timer();
        QCOMPARE(held(f), 20); // the draws are read once the time has come
        QTRY_COMPARE(held(f), 21);
        // The held-back tick is not lost: it runs once the first has ended, never beside it.
        QTRY_COMPARE(server.requests, 2);
        QTRY_VERIFY(!f.form().refreshUnderWay());
        QVERIFY(status(f).startsWith(QStringLiteral("最后刷新:  ")));
        QCOMPARE(server.mostOpen, 1);
    }

    void switchingOrClosingWhileTheTimeIsAsked() {
        TimeServer server;
        server.delayMs = 300;
        QVERIFY(server.start());
        FormFixture f;
        auto draws = FormFixture::makeDraws(20);
        f.writeDraws(draws);
        auto o = f.defaultOptions();
        o.timeUrl = server.url();
        f.start(o);
        f.form().getNewTimer()->stop();
        draws.push_back({QStringLiteral("202612080021"), QStringLiteral("13579")});
        f.writeDraws(draws);
        // A switch during the wait changes nothing of the fetch: every lottery with a draw file
        // is read, whichever is shown.
        f.form().GetNewTimer_Timer();
        QTest::mouseClick(f.child<QLabel>("MenuItemLabel_1"), Qt::LeftButton);
        QTRY_VERIFY(!f.form().refreshUnderWay());
        QCOMPARE(held(f), 21);
        QVERIFY(status(f).startsWith(QStringLiteral("最后刷新:  ")));

        // Closing drops the request: no draw is read into the closed window.
        QTest::mouseClick(f.child<QLabel>("MenuItemLabel_0"), Qt::LeftButton);
        f.form().GetNewTimer_Timer();
        QTRY_COMPARE(server.requests, 2);
        f.form().close();
#ifndef Q_OS_WIN
        // Wine's sockets do not tell the server of a connection the client aborted.
        QTRY_COMPARE(server.dropped, 1);
#endif
        draws.push_back({QStringLiteral("202612080022"), QStringLiteral("24680")});
        f.writeDraws(draws);
        QCOMPARE(held(f), 21);
        QCOMPARE(status(f), QStringLiteral("正在获取最新数据......"));
    }

    void pathIsStoredAtClosingAndReadAtStart() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(15));
        QVERIFY(WriteToINI(kIniSection, kIniKey, f.drawPath(), f.iniPath()));
        zuohao::gui::AppOptions o;
        o.iniPath = f.iniPath();
        f.start(o);
        QCOMPARE(f.child<QLineEdit>("zelkc")->text(), QDir::toNativeSeparators(f.drawPath()));
        QCOMPARE(held(f), 15);
        const QString other = f.dir.filePath(QStringLiteral("其他/路径/开奖.txt"));
        auto* box = f.child<QLineEdit>("zelkc");
        box->setText(other);
        emit box->textEdited(other); // typed, as a player would
        f.form().close();
        QCOMPARE(GetFromINI(kIniSection, kIniKey, f.iniPath()), QDir::toNativeSeparators(other));
    }

    void linksOpenTheHelpWindowAndASecondActivationDoesNothing() {
        FormFixture f;
        auto draws = FormFixture::makeDraws(15);
        f.writeDraws(draws);
        f.start(f.defaultOptions());
        for (const char* name : {"Label1_0", "Label1_2", "Label3"})
            emit f.child<QLabel>(QString::fromLatin1(name))->linkActivated(QStringLiteral("help"));
        QTest::mouseClick(f.child<QLabel>("MengImage"), Qt::LeftButton);
        QVERIFY(f.form().findChild<HelpWindow*>()->isVisible());

        // Coming back to the window after another program: no second history load.
        draws.push_back({QStringLiteral("202612089999"), QStringLiteral("13579")});
        f.writeDraws(draws);
        QEvent activate(QEvent::WindowActivate);
        QApplication::sendEvent(&f.form(), &activate);
        // Work the activation posted runs before a call posted after it.
        bool turned = false;
        QTimer::singleShot(0, &f.form(), [&turned] { turned = true; });
        QTRY_VERIFY(turned);
        QCOMPARE(held(f), 15);
    }

    void closingTheMainWindowClosesTheMonitor() {
        FormFixture f;
        f.writeDraws(FormFixture::makeDraws(15));
        f.start(f.defaultOptions());
        f.form().JianKongCmd_Click();
        QVERIFY(f.form().jianKongForm()->isVisible());
        f.form().close();
        QVERIFY(!f.form().jianKongForm()->isVisible());
    }
};

QTEST_MAIN(TestLotteryForm)
#include "test_lottery_form.moc"
