// The two persisted settings: the initialisation file entry and the per-user delay.
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "gui/common/IniFile.h"
#include "gui/common/Settings.h"

using namespace zuohao::gui;

namespace {

QByteArray readAll(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return f.readAll();
}

void writeAll(const QString& path, const QByteArray& bytes) {
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
    f.write(bytes);
}

} // namespace

class TestBaseSettings : public QObject {
    Q_OBJECT

private slots:
    void init() { QVERIFY(dir.isValid()); }

    void writeKeepsEverythingElse_data();
    void writeKeepsEverythingElse();
    void reading_data();
    void reading();
    void missingFileOrKeyReadsEmpty();
    void chineseSectionStoredAsText();
    void longPathKeptWhole();
    void unwritablePathFails();
    void unwritableFileGoesToTheUserCopy();
    void noNewFileLeavesTheOldOneWhole();
    void fullDiskLeavesTheOldOneWhole();
    void pipeIsNotRead();
    void iniPaths();

    void parseDelay_data();
    void parseDelay();
    void delayRoundTrip();

private:
    QString file(const QString& name = QStringLiteral("zelkwt.ini")) const {
        return dir.filePath(name);
    }
    QTemporaryDir dir;
};

void TestBaseSettings::writeKeepsEverythingElse_data() {
    QTest::addColumn<QByteArray>("before");
    QTest::addColumn<QByteArray>("after");
    const QByteArray others = "; written by hand\n[other]\na=1\n\n";
    QTest::newRow("replace in place")
        << others + "[网址]\nold=keep\nzelkc = C:\\old.txt\n\n[last]\nb=2\n"
        << others + "[网址]\nold=keep\nzelkc=/data/新.txt\n\n[last]\nb=2\n";
    QTest::newRow("new key after the section's last entry")
        << others + "[网址]\nold=keep\n\n[last]\nb=2\n"
        << others + "[网址]\nold=keep\nzelkc=/data/新.txt\n\n[last]\nb=2\n";
    QTest::newRow("new section at the end") << others << others + "[网址]\nzelkc=/data/新.txt\n";
    QTest::newRow("no final line end")
        << QByteArray("[other]\na=1") << QByteArray("[other]\na=1\n[网址]\nzelkc=/data/新.txt\n");
    QTest::newRow("windows line ends kept")
        << QByteArray("[other]\r\na=1\r\n[网址]\r\nzelkc=x\r\n")
        << QByteArray("[other]\r\na=1\r\n[网址]\r\nzelkc=/data/新.txt\r\n");
    QTest::newRow("section and key found whatever their case")
        << QByteArray("[OTHER]\nZELKC=1\n")
        << QByteArray("[OTHER]\nZELKC=1\n[网址]\nzelkc=/data/新.txt\n");
    QTest::newRow("byte order mark kept") << QByteArray("\xEF\xBB\xBF[网址]\nzelkc=x\n")
                                          << QByteArray("\xEF\xBB\xBF[网址]\nzelkc=/data/新.txt\n");
    QTest::newRow("missing file") << QByteArray() << QByteArray("[网址]\nzelkc=/data/新.txt\n");
    QTest::newRow("final lone CR kept")
        << QByteArray("[网址]\nzelkc=x\r") << QByteArray("[网址]\nzelkc=/data/新.txt\r");
    QTest::newRow("each line keeps its own end")
        << QByteArray("[other]\r\na=1\n[网址]\rzelkc=x\r\nb=2\n")
        << QByteArray("[other]\r\na=1\n[网址]\rzelkc=/data/新.txt\r\nb=2\n");
    // A Windows program wrote the section in GB18030 (网址 = CD F8 D6 B7): it is found, and
    // the file stays GB18030.
    QTest::newRow("GB18030 file stays GB18030")
        << QByteArray("[other]\r\na=\xC4\xE3\r\n[\xCD\xF8\xD6\xB7]\r\nzelkc=C:\\old.txt\r\n")
        << QByteArray(
               "[other]\r\na=\xC4\xE3\r\n[\xCD\xF8\xD6\xB7]\r\nzelkc=/data/\xD0\xC2.txt\r\n");
}

void TestBaseSettings::writeKeepsEverythingElse() {
    QFETCH(QByteArray, before);
    QFETCH(QByteArray, after);
    const QString path = file();
    QFile::remove(path);
    if (!before.isEmpty()) writeAll(path, before);
    QVERIFY(WriteToINI(kIniSection, kIniKey, QStringLiteral("/data/新.txt"), path));
    QCOMPARE(readAll(path), after);
    QCOMPARE(GetFromINI(kIniSection, kIniKey, path), QStringLiteral("/data/新.txt"));
    // A second write of the same value changes nothing more.
    QVERIFY(WriteToINI(kIniSection, kIniKey, QStringLiteral("/data/新.txt"), path));
    QCOMPARE(readAll(path), after);
}

void TestBaseSettings::reading_data() {
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("expected");
    QTest::newRow("plain") << QByteArray("[网址]\nzelkc=C:\\a\\b.txt\n") << "C:\\a\\b.txt";
    QTest::newRow("blanks trimmed")
        << QByteArray("  [ 网址 ]  \n  zelkc  =  /x y.txt  \n") << "/x y.txt";
    QTest::newRow("case of names") << QByteArray("[网址]\nZelKC=v\n") << "v";
    QTest::newRow("double quotes removed") << QByteArray("[网址]\nzelkc=\"/q.txt\"\n") << "/q.txt";
    QTest::newRow("single quotes removed") << QByteArray("[网址]\nzelkc='/q.txt'\n") << "/q.txt";
    QTest::newRow("unmatched quote kept") << QByteArray("[网址]\nzelkc=\"/q.txt\n") << "\"/q.txt";
    QTest::newRow("equals in value") << QByteArray("[网址]\nzelkc=a=b\n") << "a=b";
    QTest::newRow("comment ignored") << QByteArray("[网址]\n;zelkc=old\nzelkc=new\n") << "new";
    QTest::newRow("first of two") << QByteArray("[网址]\nzelkc=one\nzelkc=two\n") << "one";
    QTest::newRow("key of another section") << QByteArray("[other]\nzelkc=no\n[网址]\nx=1\n") << "";
    QTest::newRow("key before any section") << QByteArray("zelkc=no\n[网址]\n") << "";
    QTest::newRow("empty value") << QByteArray("[网址]\nzelkc=\n") << "";
    QTest::newRow("windows line ends") << QByteArray("[网址]\r\nzelkc=/w.txt\r\n") << "/w.txt";
}

void TestBaseSettings::reading() {
    QFETCH(QByteArray, content);
    QFETCH(QString, expected);
    writeAll(file(), content);
    QCOMPARE(GetFromINI(kIniSection, kIniKey, file()), expected);
}

void TestBaseSettings::missingFileOrKeyReadsEmpty() {
    QCOMPARE(GetFromINI(kIniSection, kIniKey, file("absent.ini")), QString());
    writeAll(file(), "[网址]\nother=1\n");
    QCOMPARE(GetFromINI(kIniSection, kIniKey, file()), QString());
    QCOMPARE(GetFromINI(QStringLiteral("nowhere"), QStringLiteral("other"), file()), QString());
    QCOMPARE(GetFromINI(kIniSection, QStringLiteral("other"), file()), QStringLiteral("1"));
}

void TestBaseSettings::chineseSectionStoredAsText() {
    const QString path = file();
    QFile::remove(path);
    QVERIFY(WriteToINI(kIniSection, kIniKey, QStringLiteral("D:\\挂机\\开奖.txt"), path));
    const QByteArray bytes = readAll(path);
    QVERIFY(bytes.contains(QStringLiteral("[网址]").toUtf8()));
    QVERIFY(bytes.contains(QStringLiteral("D:\\挂机\\开奖.txt").toUtf8()));
    QCOMPARE(GetFromINI(kIniSection, kIniKey, path), QStringLiteral("D:\\挂机\\开奖.txt"));
}

void TestBaseSettings::longPathKeptWhole() {
    QString longPath = QStringLiteral("/very/long/");
    while (longPath.size() < 300)
        longPath += QStringLiteral("目录abc/");
    longPath = longPath.left(296) + QStringLiteral(".txt");
    QCOMPARE(longPath.size(), 300);
    QVERIFY(WriteToINI(kIniSection, kIniKey, longPath, file()));
    QCOMPARE(GetFromINI(kIniSection, kIniKey, file()), longPath);
}

void TestBaseSettings::unwritablePathFails() {
    // A folder that is a plain file cannot hold the file, whoever runs the test.
    writeAll(file("plain"), "x");
    const QString path = file("plain") + QStringLiteral("/zelkwt.ini");
    QVERIFY(!WriteToINI(kIniSection, kIniKey, QStringLiteral("/a.txt"), path));
    QCOMPARE(GetFromINI(kIniSection, kIniKey, path), QString());
    QCOMPARE(readAll(file("plain")), QByteArray("x"));
}

void TestBaseSettings::unwritableFileGoesToTheUserCopy() {
    writeAll(file("plain"), "x");
    const QString fixed = file("plain") + QStringLiteral("/zelkwt.ini");
    const QString copy = file(QStringLiteral("local/zuohao/zelkwt.ini"));
    QCOMPARE(IniReadPath(fixed, copy), fixed);
    IniWriteResult r =
        WriteIniWithFallback(kIniSection, kIniKey, QStringLiteral("/a.txt"), fixed, copy);
    QVERIFY(r.ok);
    QCOMPARE(r.path, copy);
    QCOMPARE(IniReadPath(fixed, copy), copy);
    QCOMPARE(GetFromINI(kIniSection, kIniKey, copy), QStringLiteral("/a.txt"));
    // Once the copy is in use it is read first, so later settings go there too.
    const QString writable = file("writable.ini");
    r = WriteIniWithFallback(kIniSection, kIniKey, QStringLiteral("/b.txt"), writable, copy);
    QCOMPARE(r.path, copy);
    QCOMPARE(GetFromINI(kIniSection, kIniKey, IniReadPath(writable, copy)),
             QStringLiteral("/b.txt"));
    QVERIFY(!QFile::exists(writable));
    // Without a copy a failed write is reported, not hidden.
    QVERIFY(!WriteIniWithFallback(kIniSection, kIniKey, QStringLiteral("/c.txt"), fixed, {}).ok);
    QVERIFY(SettingsInUserCopyText(copy).contains(QDir::toNativeSeparators(copy)));
}

// Where no new file can be made beside the old one (here: its name is too long for the
// temporary's), the old file is left byte for byte, never written in place.
void TestBaseSettings::noNewFileLeavesTheOldOneWhole() {
    const QString path = file(QString(250, u'z'));
    const QByteArray before = "[other]\na=1\n[网址]\nzelkc=/old.txt\n; tail\n";
    writeAll(path, before);
    QVERIFY(!WriteToINI(kIniSection, kIniKey, QStringLiteral("/a.txt"), path));
    QCOMPARE(readAll(path), before);
}

// The disk fills up while the new file is written (the child's files may not grow past 1 KB):
// the old file stays byte for byte and the failure says why.
void TestBaseSettings::fullDiskLeavesTheOldOneWhole() {
    const QString path = file(QStringLiteral("z.ini"));
    const QByteArray before = "[网址]\nzelkc=/old.txt\n";
    writeAll(path, before);
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        const rlimit limit{1024, 1024};
        ::setrlimit(RLIMIT_FSIZE, &limit);
        QString why;
        const bool saved = WriteToINI(kIniSection, kIniKey, QString(4000, u'x'), path, &why);
        ::_exit(!saved && !why.isEmpty() ? 0 : 1);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    QVERIFY(WIFEXITED(status));
    QCOMPARE(WEXITSTATUS(status), 0);
    QCOMPARE(readAll(path), before);
    QCOMPARE(QDir(dir.path()).entryList({QStringLiteral("z.ini*")}, QDir::Files),
             QStringList{QStringLiteral("z.ini")}); // no half-written new file left
}

void TestBaseSettings::pipeIsNotRead() {
    const QString path = file(QStringLiteral("fifo.ini"));
    QCOMPARE(::mkfifo(path.toLocal8Bit().constData(), 0600), 0);
    QCOMPARE(GetFromINI(kIniSection, kIniKey, path), QString()); // returns, does not wait
    QVERIFY(!WriteToINI(kIniSection, kIniKey, QStringLiteral("/a.txt"), path));
}

void TestBaseSettings::iniPaths() {
#ifdef Q_OS_WIN
    QCOMPARE(DefaultIniPath(), QStringLiteral("C:\\zelkwt.ini"));
    QVERIFY(UserIniPath().endsWith(QStringLiteral("zuohao/zelkwt.ini")));
#else
    const QString config = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
    QCOMPARE(DefaultIniPath(), QDir(config).filePath(QStringLiteral("zelkwt.ini")));
    QVERIFY(UserIniPath().isEmpty());
#endif
    QCOMPARE(IniPath(), DefaultIniPath());
    SetIniPath(file("other.ini"));
    QCOMPARE(IniPath(), file("other.ini"));
    SetIniPath(QString());
    QCOMPARE(IniPath(), DefaultIniPath());
}

void TestBaseSettings::parseDelay_data() {
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("expected");
    QTest::newRow("whole") << "7" << 7;
    QTest::newRow("half up to even") << "7.5" << 8;
    QTest::newRow("half down to even") << "2.5" << 2;
    QTest::newRow("above half") << "2.6" << 3;
    QTest::newRow("below half") << "5.4" << 5;
    QTest::newRow("unit after number") << "5s" << 5;
    QTest::newRow("leading blanks") << "  12" << 12;
    QTest::newRow("letters") << "x" << 0;
    QTest::newRow("letters then digits") << "abc5" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("negative kept") << "-3" << -3;
    QTest::newRow("negative half to even") << "-2.5" << -2;
    QTest::newRow("huge held at the end") << "99999999999" << std::numeric_limits<int>::max();
}

void TestBaseSettings::parseDelay() {
    QFETCH(QString, text);
    QFETCH(int, expected);
    QCOMPARE(ParseDelay(text), expected);
}

void TestBaseSettings::delayRoundTrip() {
    // The store lives in the test's own configuration folder, never the user's.
    QSettings store(QStringLiteral("分分彩"), QStringLiteral("分分彩"));
    const QByteArray xdg = qgetenv("XDG_CONFIG_HOME");
    if (!xdg.isEmpty()) QVERIFY(store.fileName().startsWith(QString::fromLocal8Bit(xdg)));
    store.clear();
    store.sync();

    QCOMPARE(ReadDelaySetting(), QString());
    QCOMPARE(ParseDelay(ReadDelaySetting()), 0);
    QVERIFY(WriteDelaySetting(QStringLiteral("8")));
    QCOMPARE(ReadDelaySetting(), QStringLiteral("8"));
    QVERIFY(WriteDelaySetting(QStringLiteral("-2")));
    QCOMPARE(ReadDelaySetting(), QStringLiteral("-2"));

    QSettings reread(QStringLiteral("分分彩"), QStringLiteral("分分彩"));
    QCOMPARE(reread.value(QStringLiteral("采集/延时")).toString(), QStringLiteral("-2"));
    store.clear();
}

QTEST_GUILESS_MAIN(TestBaseSettings)
#include "test_settings.moc"
