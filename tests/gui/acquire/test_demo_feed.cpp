// The demonstration draw feed: history on start, a new draw on top after each interval.
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

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
    void folderGoesWithTheFeed();
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

QTEST_GUILESS_MAIN(TestDemoFeed)
#include "test_demo_feed.moc"
