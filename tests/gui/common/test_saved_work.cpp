// The kept work per lottery: lottery 0 and 1 stay in the sections (and lottery 0's monitor in
// the section) files of earlier versions have, the player's own lotteries follow by name; a
// file of the earlier form still reads, and a section without a usable name is left out.
#include <QTest>

#include "gui/common/SavedWork.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {
QByteArray sealed(QByteArray body) {
    // The end marker with the count of key lines, as a whole file has it.
    int keys = 0;
    for (const QByteArray& line : body.split('\n'))
        keys += !line.startsWith('[') && line.contains('=');
    return body + "[end]\nentries=" + QByteArray::number(keys) + "\n";
}
} // namespace

class TestSavedWork : public QObject {
    Q_OBJECT
private slots:
    void everyLotteryComesBack() {
        SavedWork w;
        w.lotteries[0].conditions.IDX = 4;
        w.lotteries[0].lockPeriod = Period::parse("202612090001");
        w.lotteries[0].segmentSettings = {1, 2, 3, 4};
        w.lotteries[1].selectionPeriod = "202612080100";
        LotteryWork& own = w.lottery("重庆时时彩");
        own.conditions.IDX = 7;
        own.conditions.SEL[0] = "135";
        own.selectionPeriod = "202612090040";
        own.segmentPeriod = 12;
        const QByteArray bytes = SavedWorkBytes(w);
        // Lottery 0's monitor stays where earlier versions look for it.
        QVERIFY(bytes.contains("[monitor]\nSZ0=1\nSZ1=2\nSZ2=3\nSZ3=4\nZhuoQi=\nQS=202612090001"));
        QVERIFY(bytes.contains("[lottery2]"));
        const std::optional<SavedWork> back = ParseSavedWork(bytes);
        QVERIFY(back);
        QCOMPARE(int(back->lotteries.size()), 3);
        QCOMPARE(back->lotteries[0].conditions.IDX, 4);
        QCOMPARE(back->lotteries[0].lockPeriod.text(), std::string("202612090001"));
        QCOMPARE(back->lotteries[0].segmentSettings, (std::array<int, 4>{1, 2, 3, 4}));
        QCOMPARE(back->lotteries[1].selectionPeriod, std::string("202612080100"));
        const LotteryWork* kept = back->find("重庆时时彩");
        QVERIFY(kept);
        QCOMPARE(kept->conditions.IDX, 7);
        QCOMPARE(kept->conditions.SEL[0], std::string("135"));
        QCOMPARE(kept->selectionPeriod, std::string("202612090040"));
        QCOMPARE(kept->segmentPeriod, 12);
        QCOMPARE(kept->lockPeriod.value(), Period().value()); // not lottery 0's
    }

    void sectionsOfOtherForms_data() {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QStringList>("names"); // the lotteries read, in order
        QTest::addColumn<int>("idxOfLast");
        const QByteArray head = "[zuohao-work]\nformat=2\n";
        QTest::newRow("earlier version") << sealed(head + "[lottery0]\nIDX=3\n[lottery1]\nIDX=5\n")
                                         << QStringList{"腾讯分分彩", "VR3分彩"} << 5;
        QTest::newRow("own lottery")
            << sealed(head + "[lottery0]\nIDX=3\n[lottery2]\nNAME=  Mine \nIDX=8\n")
            << QStringList{"腾讯分分彩", "VR3分彩", "Mine"} << 8;
        QTest::newRow("no name") << sealed(head + "[lottery2]\nIDX=8\n[lottery3]\nNAME=B\nIDX=6\n")
                                 << QStringList{"腾讯分分彩", "VR3分彩", "B"} << 6;
        QTest::newRow("name twice")
            << sealed(head + "[lottery2]\nNAME=B\nIDX=8\n[lottery3]\nNAME=b\nIDX=6\n")
            << QStringList{"腾讯分分彩", "VR3分彩", "B"} << 8;
        QTest::newRow("a built-in name") << sealed(head + "[lottery2]\nNAME=vr3分彩\nIDX=8\n")
                                         << QStringList{"腾讯分分彩", "VR3分彩"} << 0;
        QTest::newRow("first format, no end")
            << QByteArray("[zuohao-work]\nformat=1\n[lottery1]\nIDX=2\n")
            << QStringList{"腾讯分分彩", "VR3分彩"} << 2;
    }
    void sectionsOfOtherForms() {
        QFETCH(QByteArray, body);
        QFETCH(QStringList, names);
        QFETCH(int, idxOfLast);
        const std::optional<SavedWork> w = ParseSavedWork(body);
        QVERIFY(w);
        QStringList read;
        for (const LotteryWork& l : w->lotteries)
            read << QString::fromStdString(l.name);
        QCOMPARE(read, names);
        QCOMPARE(w->lotteries.back().conditions.IDX, idxOfLast);
    }
};

QTEST_MAIN(TestSavedWork)
#include "test_saved_work.moc"
