// The request of each kind of target, built without a network: bodies, addresses and the
// robots' signatures against values computed independently (Python's hmac, inputs below), the
// judging of answers, the address rules, masking, and the settings file.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>
#include <QUrlQuery>

#include "notify/MessageText.h"
#include "notify/NotifySettings.h"
#include "notify/RobotRequest.h"

using namespace zuohao::notify;

namespace {
// hmac.new(secret, f"{ts}\n{secret}", sha256), Base64: ts 1700000000123 and the secret below.
const QString kDingSecret = QStringLiteral("SEC0123456789abcdef加签");
constexpr qint64 kDingMs = 1700000000123;
const QByteArray kDingSign = "merocpHGggaUsQRHfmb+A3f1f2ylk9pTCwUfCDTqB2Q=";
// hmac.new(f"{ts}\n{secret}", b"", sha256), Base64: ts 1700000000, secret feishu-secret-XYZ.
const QString kFeishuSecret = QStringLiteral("feishu-secret-XYZ");
const QByteArray kFeishuSign = "o1KBpJTznX8C4fxbt8J7Da9Mp4a6EeqmnxCnoApf2vI=";

Target target(TargetKind kind, const QString& url) {
    Target t = newTarget(kind);
    t.url = url;
    return t;
}

Message alarm() {
    Message m;
    m.kind = MessageKind::Alarm;
    m.lottery = QStringLiteral("腾讯分分彩");
    m.period = QStringLiteral("202612080123");
    m.group = QStringLiteral("百十个");
    m.planLine = QStringLiteral("【第 1 期】进行中……");
    m.missRun = 3;
    m.baseCount = 271;
    return m;
}

QJsonObject jsonBody(const OutgoingRequest& r) {
    return QJsonDocument::fromJson(r.body).object();
}
} // namespace

class TestNotifyRequests : public QObject {
    Q_OBJECT
private slots:
    void signaturesMatchTheDocumentedAlgorithm() {
        QCOMPARE(dingTalkSign(kDingSecret, kDingMs), kDingSign);
        QCOMPARE(feishuSign(kFeishuSecret, 1700000000), kFeishuSign);
    }

    void robotsGetTheirDocumentedBodies() {
        const QString text = messageText(alarm());
        QCOMPARE(text,
                 QStringLiteral("【告警】腾讯分分彩 第202612080123期 百十个：连挂 3 期，大底 271 "
                                "注，【第 1 期】进行中……"));
        const auto wecom = buildRequest(target(TargetKind::WeCom, "https://qyapi.weixin.qq.com/"
                                                                  "cgi-bin/webhook/send?key=K1"),
                                        alarm(), kDingMs);
        QVERIFY(wecom);
        QCOMPARE(wecom.request->method, QByteArray("POST"));
        QVERIFY(wecom.request->contentType.startsWith("application/json"));
        QCOMPARE(jsonBody(*wecom.request),
                 (QJsonObject{{"msgtype", "text"}, {"text", QJsonObject{{"content", text}}}}));

        Target ding = target(TargetKind::DingTalk, "https://oapi.dingtalk.com/robot/send?"
                                                   "access_token=T0");
        ding.secret = kDingSecret;
        ding.keyword = QStringLiteral("做号");
        const auto d = buildRequest(ding, alarm(), kDingMs);
        QVERIFY(d);
        // timestamp and the URL-encoded sign follow the token; '+', '/' and '=' are encoded.
        QCOMPARE(d.request->url.query(QUrl::FullyEncoded),
                 QStringLiteral("access_token=T0&timestamp=1700000000123&sign=") +
                     QString::fromLatin1(QUrl::toPercentEncoding(QString::fromLatin1(kDingSign))));
        QCOMPARE(QUrlQuery(d.request->url).queryItemValue("sign", QUrl::FullyDecoded),
                 QString::fromLatin1(kDingSign));
        QCOMPARE(jsonBody(*d.request)["text"].toObject()["content"].toString(),
                 QStringLiteral("做号 ") + text); // the keyword the robot insists on

        Target feishu =
            target(TargetKind::Feishu, "https://open.feishu.cn/open-apis/bot/v2/hook/H");
        feishu.secret = kFeishuSecret;
        const auto f = buildRequest(feishu, alarm(), 1700000000999);
        QVERIFY(f);
        QCOMPARE(jsonBody(*f.request), (QJsonObject{{"msg_type", "text"},
                                                    {"content", QJsonObject{{"text", text}}},
                                                    {"timestamp", "1700000000"},
                                                    {"sign", QString::fromLatin1(kFeishuSign)}}));
    }

    void webhookTemplatesEscapeForTheirContentType() {
        Target t = target(TargetKind::Webhook, "http://192.168.1.5:8080/push/{period}");
        t.contentType = QStringLiteral("application/json");
        t.bodyTemplate = QStringLiteral("{\"t\":\"{text}\",\"g\":\"{group}\",\"x\":\"{nope}\"}");
        Message m = alarm();
        m.group = QStringLiteral("a\"b\nc");
        const auto r = buildRequest(t, m, 0);
        QVERIFY(r);
        QCOMPARE(r.request->url.path(), QStringLiteral("/push/202612080123"));
        const QJsonObject o = jsonBody(*r.request);
        QCOMPARE(o["g"].toString(), m.group);
        QCOMPARE(o["t"].toString(), messageText(m));
        QCOMPARE(o["x"].toString(), QStringLiteral("{nope}"));

        t.contentType = QStringLiteral("application/x-www-form-urlencoded");
        t.bodyTemplate = QStringLiteral("run={run}&p={period}");
        QCOMPARE(buildRequest(t, m, 0).request->body, QByteArray("run=3&p=202612080123"));
        t.bodyTemplate.clear(); // ntfy style: the text alone
        t.contentType = QStringLiteral("text/plain");
        QCOMPARE(buildRequest(t, m, 0).request->body, messageText(m).toUtf8());
        t.method = QStringLiteral("get");
        QVERIFY(buildRequest(t, m, 0).request->body.isEmpty());
        t.method = QStringLiteral("DELETE");
        QVERIFY(!buildRequest(t, m, 0));
    }

    void weComTextIsCutToItsLimit() {
        Message m;
        m.kind = MessageKind::Plain;
        m.detail = QString(1000, QChar(0x544A)); // 3000 bytes of UTF-8
        const QString sent = robotText(target(TargetKind::WeCom, "https://x/"), m);
        QCOMPARE(sent.toUtf8().size(), 2046);
    }

    void answersAreJudgedByStatusAndRobotCode_data() {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("status");
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<bool>("accepted");
        const int wecom = int(TargetKind::WeCom), ding = int(TargetKind::DingTalk),
                  feishu = int(TargetKind::Feishu), hook = int(TargetKind::Webhook);
        QTest::newRow("wecom ok") << wecom << 200 << QByteArray(R"({"errcode":0,"errmsg":"ok"})")
                                  << true;
        QTest::newRow("wecom bad key")
            << wecom << 200 << QByteArray(R"({"errcode":93000,"errmsg":"invalid webhook url"})")
            << false;
        QTest::newRow("ding keyword")
            << ding << 200 << QByteArray(R"({"errcode":310000})") << false;
        QTest::newRow("ding 500") << ding << 500 << QByteArray(R"({"errcode":0})") << false;
        QTest::newRow("robot html") << ding << 200 << QByteArray("<html>") << false;
        QTest::newRow("feishu ok")
            << feishu << 200 << QByteArray(R"({"code":0,"msg":"success"})") << true;
        QTest::newRow("feishu old") << feishu << 200 << QByteArray(R"({"StatusCode":0})") << true;
        QTest::newRow("feishu sign")
            << feishu << 200 << QByteArray(R"({"code":19021,"msg":"sign match fail"})") << false;
        QTest::newRow("code 0.5") << ding << 200 << QByteArray(R"({"errcode":0.5})") << false;
        QTest::newRow("code 1e300") << ding << 200 << QByteArray(R"({"errcode":1e300})") << false;
        QTest::newRow("hook 204") << hook << 204 << QByteArray() << true;
        QTest::newRow("hook 302") << hook << 302 << QByteArray() << false;
    }
    void answersAreJudgedByStatusAndRobotCode() {
        QFETCH(int, kind);
        QFETCH(int, status);
        QFETCH(QByteArray, body);
        QFETCH(bool, accepted);
        const AnswerVerdict v = judgeAnswer(TargetKind(kind), status, body);
        QCOMPARE(v.accepted, accepted);
        QCOMPARE(v.reason.isEmpty(), accepted);
    }

    void plainHttpOnlyToThisComputerOrThePrivateNetwork() {
        for (const char* ok : {"https://example.com/x", "http://127.0.0.1:9/x", "http://localhost/",
                               "http://10.1.2.3/", "http://172.31.0.1/", "http://192.168.0.9/",
                               "http://[::1]:80/", "http://[fd00::1]/"})
            QVERIFY2(urlProblem(QUrl(QString::fromLatin1(ok))).isEmpty(), ok);
        for (const char* bad : {"http://example.com/x", "http://8.8.8.8/", "http://172.32.0.1/",
                                "ftp://10.0.0.1/", "https:///nohost", "notaurl"})
            QVERIFY2(!urlProblem(QUrl(QString::fromLatin1(bad))).isEmpty(), bad);
        QVERIFY(!urlNote(QUrl("http://192.168.0.9/")).isEmpty());
        QVERIFY(urlNote(QUrl("https://example.com/")).isEmpty());
    }

    void secretsAreMaskedInLogsAndTexts() {
        Target t = target(TargetKind::DingTalk,
                          "https://oapi.dingtalk.com/robot/send?access_token=abcdef0123456789");
        t.secret = QStringLiteral("SECsecretvalue");
        QCOMPARE(redactedUrl(t.url), QStringLiteral("https://oapi.dingtalk.com/****?****"));
        QCOMPARE(redactedUrl("https://open.feishu.cn/open-apis/bot/v2/hook/tok"),
                 QStringLiteral("https://open.feishu.cn/****"));
        const QString said =
            scrub(QStringLiteral("Error transferring %1&timestamp=1 - %2").arg(t.url, t.secret), t);
        QVERIFY2(!said.contains("abcdef0123456789") && !said.contains("secretvalue"),
                 qPrintable(said));
        Target hook = target(TargetKind::Webhook, "https://ntfy.sh/my-topic");
        QVERIFY(!scrub(QStringLiteral("to https://ntfy.sh/my-topic failed"), hook)
                     .contains("my-topic"));
    }

    void settingsFileIsOwnerOnlyAndRoundTrips() {
        QTemporaryDir dir;
        const QString path = dir.filePath("cfg/notify.json");
        NotifySettings s;
        Target t = target(TargetKind::Feishu, "https://open.feishu.cn/open-apis/bot/v2/hook/H");
        t.secret = kFeishuSecret;
        t.events = bit(Event::Alarm) | bit(Event::Verdict);
        t.enabled = false;
        s.targets << t << target(TargetKind::Webhook, "https://ntfy.sh/t");
        s.onClose = CloseChoice::Tray;
        QVERIFY(saveSettings(s, path));
#ifndef Q_OS_WIN
        const auto others = QFileDevice::ReadGroup | QFileDevice::WriteGroup |
                            QFileDevice::ExeGroup | QFileDevice::ReadOther |
                            QFileDevice::WriteOther | QFileDevice::ExeOther;
        QCOMPARE(QFile(path).permissions() & others, QFileDevice::Permissions());
        QVERIFY(QFile(path).permissions() & QFileDevice::WriteOwner);
#endif
        const LoadedSettings back = loadSettings(path);
        QVERIFY(back.problem.isEmpty());
        QCOMPARE(back.settings, s);

        // A file that is not settings is set aside, never overwritten by the next save.
        QFile f(path);
        QVERIFY(f.open(QIODevice::WriteOnly));
        f.write("{broken");
        f.close();
        const LoadedSettings bad = loadSettings(path);
        QVERIFY(!bad.problem.isEmpty());
        QVERIFY(bad.settings.targets.isEmpty());
        QVERIFY(QFile::exists(path + ".bad"));
    }

    void anAlarmNamesEveryPeriodOfItsRefresh() {
        Message m = alarm();
        m.refreshPeriods = {QStringLiteral("202612080121"), QStringLiteral("202612080122"),
                            QStringLiteral("202612080123")};
        QVERIFY2(messageText(m).startsWith(QStringLiteral(
                     "【告警】腾讯分分彩 第202612080121、202612080122、202612080123期，3 次告警 "
                     "百十个")),
                 qPrintable(messageText(m)));
        QVERIFY(messageSummary(m).contains(QStringLiteral("，3 次告警")));
        // Still owed when the next alarm comes: the newer one names all three as merged.
        Message next = alarm();
        next.period = QStringLiteral("202612080125");
        const Message merged = mergedAlarm(m, next);
        QCOMPARE(merged.folded, 3);
        QVERIFY2(messageText(merged).contains(QStringLiteral(
                     "合并此前 3 次告警：第202612080121期、第202612080122期、第202612080123期")),
                 qPrintable(messageText(merged)));
    }
};

QTEST_GUILESS_MAIN(TestNotifyRequests)
#include "test_notify_requests.moc"
