// The demonstration draw feed: history on start, a new draw on top after each interval.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#ifndef Q_OS_WIN
#include <sys/wait.h>
#include <unistd.h>
#endif

#include "core/model/Text.h"
#include "gui/acquire/DemoFeed.h"

using namespace std::chrono_literals;
using zuohao::gui::DemoFeed;

namespace {

QStringList drawLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
}

// The period label of a draw line; empty when the line does not have the draw form.
QString label(const QString& line) {
    static const QRegularExpression re(QStringLiteral("^第(\\d+)期 开奖号码 \\d{5}$"));
    const auto m = re.match(line);
    return m.hasMatch() ? m.captured(1) : QString();
}

} // namespace

class TestDemoFeed : public QObject {
    Q_OBJECT

private slots:
    void historyThenNewDraws();
    void theFirstDrawComesAtOnce();
    void folderGoesWithTheFeed();
    void aKilledDemosFolderGoesAtTheNextStart();
};

void TestDemoFeed::historyThenNewDraws() {
    DemoFeed feed(100ms, nullptr);
    QVERIFY2(feed.start(), qPrintable(feed.error()));
    const QStringList first = drawLines(feed.path());
    QVERIFY(first.size() >= 99);
    for (const QString& l : first)
        QVERIFY2(!label(l).isEmpty(), qPrintable(l));
    // Newest first: labels count down line by line.
    for (int i = 1; i < first.size(); ++i)
        QCOMPARE(label(first[i - 1]).toLongLong(), label(first[i]).toLongLong() + 1);

    QSignalSpy added(&feed, &DemoFeed::drawAdded);
    QVERIFY(added.wait(5000));
    const QStringList later = drawLines(feed.path());
    QCOMPARE(label(later.first()).toLongLong(), label(first.first()).toLongLong() + 1);
    QCOMPARE(later.mid(1, first.size() - 1), first.mid(0, first.size() - 1));
}

// A demo of a draw a minute still brings its first new draw at once.
void TestDemoFeed::theFirstDrawComesAtOnce() {
    DemoFeed feed(60, nullptr);
    QVERIFY(feed.start());
    QSignalSpy added(&feed, &DemoFeed::drawAdded);
    QVERIFY(added.wait(30000)); // well before the interval of 60 s
}

void TestDemoFeed::folderGoesWithTheFeed() {
    QString path;
    {
        DemoFeed feed(60, nullptr);
        QVERIFY(feed.start());
        path = feed.path();
        QVERIFY(QFileInfo::exists(path));
    }
    QVERIFY(!QFileInfo::exists(path));
}

// A demo killed with its folder still there (its lock's process is gone) is cleaned up; a live
// demo's folder and a folder being made this moment are not.
void TestDemoFeed::aKilledDemosFolderGoesAtTheNextStart() {
#ifdef Q_OS_WIN
    QSKIP("the dying demo is a forked process");
#else
    QTemporaryDir temp;
    const QDir base(temp.path());
    for (const char* name : {"zuohao-demo-killed", "zuohao-demo-live", "zuohao-demo-new"})
        QVERIFY(base.mkdir(QString::fromLatin1(name)));
    auto lockIn = [&](const char* name) {
        return base.filePath(QString::fromLatin1(name) + u'/' +
                             QString::fromLatin1(DemoFeed::kLockName));
    };
    const pid_t pid = ::fork();
    if (pid == 0) { // a demo that dies holding its lock
        QLockFile dying(lockIn("zuohao-demo-killed"));
        ::_exit(dying.tryLock(0) ? 0 : 1);
    }
    int status = -1;
    ::waitpid(pid, &status, 0);
    QCOMPARE(status, 0);
    QLockFile live(lockIn("zuohao-demo-live"));
    QVERIFY(live.tryLock(0));
    QCOMPARE(DemoFeed::removeStaleFolders(temp.path()), 1);
    QCOMPARE(base.entryList(QDir::Dirs | QDir::NoDotAndDotDot),
             (QStringList{QStringLiteral("zuohao-demo-live"), QStringLiteral("zuohao-demo-new")}));
#endif
}

QTEST_GUILESS_MAIN(TestDemoFeed)
#include "test_demo_feed.moc"
