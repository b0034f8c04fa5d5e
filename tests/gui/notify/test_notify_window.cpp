// 提醒设置: a target added and typed in is saved at once with its address masked on screen,
// the rows follow the kind, a plain-http public address is refused in the window, and 测试
// shows the target's answer; the tray icon has its icon and menu.
#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalSpy>
#include <QSystemTrayIcon>
#include <QTemporaryDir>
#include <QTest>

#include "acquire/support_http_server.h"
#include "gui/notify/NotifySettingsWindow.h"
#include "gui/notify/NotifyTray.h"
#include "notify/NotificationCenter.h"

using namespace zuohao::gui;
using namespace zuohao::notify;
using zuohao::test::Answer;
using zuohao::test::LocalHttpServer;

class TestNotifyWindow : public QObject {
    Q_OBJECT

    template <class T> static T* child(QWidget& w, const char* name) {
        auto* c = w.findChild<T*>(QString::fromLatin1(name));
        if (!c) qFatal("no %s", name);
        return c;
    }
    static void type(QLineEdit* box, const QString& text) {
        box->clear();
        QTest::keyClicks(box, text);
    }

private slots:
    void aTargetIsEditedMaskedSavedAndTested() {
        QTemporaryDir dir;
        const QString path = dir.filePath("notify.json");
        LocalHttpServer server;
        QVERIFY(server.listen());
        server.enqueue("/send", Answer::text(R"({"errcode":0,"errmsg":"ok"})"));
        server.enqueue("/send",
                       Answer::text(R"({"errcode":93000,"errmsg":"invalid webhook url"})"));
        NotificationCenter center;
        NotifySettingsWindow w(center, {}, path);
        w.show();
        w.addTarget(TargetKind::WeCom);
        QCOMPARE(child<QListWidget>(w, "TargetList")->count(), 1);

        auto* url = child<QLineEdit>(w, "TargetUrl");
        QCOMPARE(url->echoMode(), QLineEdit::Password);
        QVERIFY(!child<QLineEdit>(w, "TargetSecret")->isVisible()); // 企业微信 does not sign
        type(url, QStringLiteral("http://8.8.8.8/send"));
        QVERIFY(child<QLabel>(w, "UrlNote")->text().contains(QStringLiteral("https://")));
        const QString address = server.url("/send?key=WINDOW-KEY-1");
        type(url, address);
        QTRY_VERIFY(loadSettings(path).settings.targets.value(0).url == address);
        QVERIFY(child<QLabel>(w, "UrlNote")->text().contains(QStringLiteral("明文")));
        QTest::mouseClick(child<QPushButton>(w, "ShowSecrets"), Qt::LeftButton);
        QCOMPARE(url->echoMode(), QLineEdit::Normal);

        auto* answer = child<QLabel>(w, "TestAnswer");
        QTest::mouseClick(child<QPushButton>(w, "TestTarget"), Qt::LeftButton);
        QTRY_VERIFY(answer->text().startsWith(QStringLiteral("已接受：HTTP 200")));
        QTest::mouseClick(child<QPushButton>(w, "TestTarget"), Qt::LeftButton);
        QTRY_VERIFY(answer->text().startsWith(QStringLiteral("未接受：HTTP 200")));
        QVERIFY(answer->text().contains("93000"));

        auto* kind = child<QComboBox>(w, "TargetKind");
        kind->setCurrentIndex(int(TargetKind::DingTalk));
        emit kind->activated(kind->currentIndex());
        QVERIFY(child<QLineEdit>(w, "TargetSecret")->isVisible());
        QCOMPARE(loadSettings(path).settings.targets.value(0).kind, TargetKind::DingTalk);

        // What was sent shows in the log, the address without its key.
        center.alarm({QStringLiteral("腾讯分分彩"), "1", {}, {}, 1, 1, {}});
        auto* log = child<QPlainTextEdit>(w, "DeliveryLog");
        QTRY_VERIFY(log->toPlainText().contains(QStringLiteral("告警")));
        QVERIFY(!log->toPlainText().contains("WINDOW-KEY-1"));
    }

    void theTrayCarriesTheIconAndItsMenu() {
        NotifyTray tray;
        QVERIFY(!tray.trayIcon()->icon().isNull());
        QSignalSpy settings(&tray, &NotifyTray::showNotifySettings);
        QSignalSpy quit(&tray, &NotifyTray::quitProgram);
        tray.menu()->findChild<QAction*>("TrayNotifySettings")->trigger();
        tray.menu()->findChild<QAction*>("TrayQuit")->trigger();
        QCOMPARE(settings.size() + quit.size(), 2);
        tray.setStatus(QStringLiteral("做号计划 · 腾讯分分彩"));
        QCOMPARE(tray.status(), QStringLiteral("做号计划 · 腾讯分分彩"));
    }
};

QTEST_MAIN(TestNotifyWindow)
#include "test_notify_window.moc"
