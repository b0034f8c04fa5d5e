// zuohao-cli notify against a local HTTP server on 127.0.0.1: the same request as the desktop
// program's, the address and the secret from files or the environment (a warning when given on
// the command line), and its exit codes.
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMessageAuthenticationCode>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include "acquire/support_http_server.h"

using zuohao::test::Answer;
using zuohao::test::LocalHttpServer;

namespace {
constexpr int kWaitMs = 10000;

QJsonObject bodyOf(const zuohao::test::ReceivedRequest& r) {
    return QJsonDocument::fromJson(r.body).object();
}

// 飞书's signature of a body: HMAC-SHA256 keyed by "timestamp\nsecret" over nothing, Base64.
QString feishuSign(const QJsonObject& body, const QByteArray& secret) {
    const QByteArray key = body["timestamp"].toString().toUtf8() + '\n' + secret;
    return QString::fromLatin1(
        QMessageAuthenticationCode::hash({}, key, QCryptographicHash::Sha256).toBase64());
}
} // namespace

class TestNotifyCommand : public QObject {
    Q_OBJECT

    LocalHttpServer m_server;

private slots:
    void initTestCase() { QVERIFY(m_server.listen()); }

    void theCommandLineSendsTheSameRequest() {
        QTemporaryDir dir;
        auto write = [&](const char* name, const QByteArray& text) {
            QFile f(dir.filePath(QLatin1String(name)));
            [&] { QVERIFY(f.open(QIODevice::WriteOnly)); }();
            f.write(text);
            return f.fileName();
        };
        auto run = [&](const QStringList& args, const QByteArray& secretInEnvironment = {}) {
            QProcess p;
            QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
            env.remove(QStringLiteral("ZUOHAO_NOTIFY_URL"));
            env.remove(QStringLiteral("ZUOHAO_NOTIFY_SECRET"));
            if (!secretInEnvironment.isEmpty())
                env.insert(QStringLiteral("ZUOHAO_NOTIFY_SECRET"), secretInEnvironment);
            p.setProcessEnvironment(env);
            p.start(QStringLiteral(ZUOHAO_CLI), args);
            [&] { QTRY_VERIFY_WITH_TIMEOUT(p.state() == QProcess::NotRunning, kWaitMs); }();
            return std::make_pair(p.exitCode(), QString::fromUtf8(p.readAllStandardError() +
                                                                  p.readAllStandardOutput()));
        };
        m_server.enqueue("/hook", Answer::text(R"({"code":0})"));
        m_server.enqueue("/hook", Answer::text(R"({"code":19021,"msg":"sign match fail"})"));
        // The secrets from files (a line break and blanks around them cut): no warning.
        const QString urlFile = write("url", m_server.url("/hook").toUtf8() + "\n");
        const QStringList args{"notify",
                               "--kind",
                               "feishu",
                               "--url-file",
                               urlFile,
                               "--secret-file",
                               write("secret", " s3 \r\n"),
                               "--text",
                               QStringLiteral("你好")};
        QCOMPARE(run(args), std::make_pair(0, QStringLiteral("accepted: HTTP 200 {\"code\":0}\n")));
        const auto refused = run(args);
        QCOMPARE(refused.first, 1);
        QCOMPARE(refused.second, QStringLiteral("error: not accepted: HTTP 200 "
                                                R"({"code":19021,"msg":"sign match fail"})"
                                                " (code 19021)\n"));
        QCOMPARE(bodyOf(m_server.requests()[0])["content"].toObject()["text"].toString(),
                 QStringLiteral("你好"));
        const QString sign = bodyOf(m_server.requests()[0])["sign"].toString();
        QVERIFY(!sign.isEmpty());
        // The same secret from the environment signs alike; on the command line it is warned of.
        m_server.setAnswer("/hook", Answer::text(R"({"code":0})"));
        const QStringList base{"notify", "--kind", "feishu", "--url-file", urlFile, "--text", "t"};
        QCOMPARE(run(base, "s3").first, 0);
        const auto given = run(base + QStringList{"--secret", "s3"});
        QCOMPARE(given.first, 0);
        QVERIFY2(given.second.startsWith("warning: --secret on the command line"),
                 qPrintable(given.second));
        for (const auto& r : {m_server.requests()[2], m_server.requests()[3]})
            QCOMPARE(bodyOf(r)["sign"].toString(), feishuSign(bodyOf(r), "s3"));
        QCOMPARE(run(base + QStringList{"--secret", "a", "--secret-file", urlFile}).first, 2);
        QCOMPARE(run({"notify", "--kind", "mail", "--url", "x", "--text", "t"}).first, 2);
        QCOMPARE(
            run({"notify", "--kind", "wecom", "--url-file", dir.filePath("none"), "--text", "t"})
                .first,
            1);
        m_server.stop();
        QCOMPARE(run(args),
                 std::make_pair(1, QStringLiteral("error: not sent: connection refused\n")));
        QCOMPARE(
            run({"notify", "--kind", "wecom", "--url", "http://8.8.8.8/", "--text", "t"}).first, 2);
    }
};

QTEST_GUILESS_MAIN(TestNotifyCommand)
#include "test_notify_command.moc"
