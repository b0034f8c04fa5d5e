// The desktop program's command line: options and their errors, and --help, --version and
// a usage error answered by the real program without any display.
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTest>

#include "gui/app/Application.h"

using namespace zuohao::gui;
using Action = CommandLine::Action;

class TestCommandLine : public QObject {
    Q_OBJECT

private slots:
    void parses_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("text"); // a piece of the text, or of the error
        QTest::newRow("nothing") << QStringList{} << int(Action::Run) << QString();
        QTest::newRow("help") << QStringList{"--help"} << int(Action::Help) << "--poll-interval";
        QTest::newRow("-h") << QStringList{"--demo", "-h"} << int(Action::Help) << "--demo";
        QTest::newRow("version") << QStringList{"--version"} << int(Action::Version) << "zuohao ";
        QTest::newRow("Qt's own") << QStringList{"-platform", "offscreen", "-reverse"}
                                  << int(Action::Run) << QString();
        QTest::newRow("unknown") << QStringList{"--bogus"} << int(Action::UsageError) << "bogus";
        QTest::newRow("no value") << QStringList{"--ini"} << int(Action::UsageError) << "ini";
        QTest::newRow("word") << QStringList{"extra"} << int(Action::UsageError) << "extra";
        QTest::newRow("fast poll")
            << QStringList{"--poll-interval", "19"} << int(Action::UsageError) << "19";
        QTest::newRow("interval") << QStringList{"--demo-interval", "0"} << int(Action::UsageError)
                                  << "--demo-interval";
    }
    void parses() {
        QFETCH(QStringList, args);
        QFETCH(int, action);
        QFETCH(QString, text);
        const CommandLine line = ParseCommandLine(QStringList{"zuohao"} + args);
        QCOMPARE(int(line.action), action);
        QVERIFY2(line.text.contains(text), qPrintable(line.text));
        if (line.action == Action::UsageError)
            QVERIFY(line.text.endsWith(QStringLiteral("see `zuohao --help`\n")));
    }

    void valuesReachTheOptions() {
        const CommandLine line =
            ParseCommandLine({"zuohao", "--demo", "--demo-interval", "0.5", "--poll-interval=250",
                              "--archive", "/tmp/a b.sqlite", "--draw-file", "d.txt", "--time-url",
                              "http://127.0.0.1:1/t", "--ini", "z.ini", "--feed-log", "f.log"});
        QCOMPARE(int(line.action), int(Action::Run));
        const AppOptions& o = line.options;
        QVERIFY(o.demo);
        QCOMPARE(o.demoInterval, 0.5);
        QCOMPARE(o.pollMs, 250);
        QCOMPARE(o.archivePath, QStringLiteral("/tmp/a b.sqlite"));
        QCOMPARE(o.drawFile + o.timeUrl + o.iniPath + o.feedLog,
                 QStringLiteral("d.txthttp://127.0.0.1:1/tz.inif.log"));
    }

    // The program itself, with no display at all: it answers before opening one.
    void answersWithoutADisplay_data() {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("code");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help") << QStringList{"--help"} << 0 << "Usage: zuohao [options]"
                              << "";
        QTest::newRow("version") << QStringList{"--version"} << 0 << "zuohao "
                                 << "";
        QTest::newRow("error") << QStringList{"--bogus"} << 2 << ""
                               << "see `zuohao --help`";
        // To run it needs one: one line says so, instead of Qt's abort.
        QTest::newRow("run") << QStringList{} << 1 << ""
                             << "zuohao: no display: set DISPLAY or run under Xvfb";
    }

    // Help that cannot be written is a failure.
    void helpToAFullDiskFails() {
        if (!QFile::exists(QStringLiteral("/dev/full"))) QSKIP("no /dev/full here");
        QProcess p;
        p.setStandardOutputFile(QStringLiteral("/dev/full"));
        p.start(QStringLiteral(ZUOHAO_BUILD_DIR "/zuohao"), {QStringLiteral("--help")});
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitCode(), 1);
        QVERIFY(p.readAllStandardError().contains("cannot write the standard output"));
    }
    void answersWithoutADisplay() {
#ifdef _WIN32
        QSKIP("a Windows desktop program has no console to answer on");
#endif
        QFETCH(QStringList, args);
        QFETCH(int, code);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        QProcess p;
        p.setProcessEnvironment(env);
        p.start(QStringLiteral(ZUOHAO_BUILD_DIR "/zuohao"), args);
        QVERIFY(p.waitForFinished(30000));
        QCOMPARE(p.exitStatus(), QProcess::NormalExit);
        QCOMPARE(p.exitCode(), code);
        const QString stdOut = QString::fromUtf8(p.readAllStandardOutput());
        const QString stdErr = QString::fromUtf8(p.readAllStandardError());
        QVERIFY2(out.isEmpty() ? stdOut.isEmpty() : stdOut.startsWith(out), qPrintable(stdOut));
        QVERIFY2(err.isEmpty() ? stdErr.isEmpty() : stdErr.contains(err), qPrintable(stdErr));
    }
};

QTEST_MAIN(TestCommandLine)
#include "test_command_line.moc"
