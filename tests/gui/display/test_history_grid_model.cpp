// The history grid's contents: headers, the colour of every statistics column, hits.
#include <QFontInfo>
#include <QFontMetrics>
#include <QtTest>

#include "gui/common/Fonts.h"
#include "gui/display/GridPalette.h"
#include "gui/display/HistoryGridModel.h"
#include "support_draws.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {

// The palette as the players' colour table gives it, already turned into red, green, blue.
const QColor kStrong[7] = {QColor(0xC3, 0x65, 0x09), QColor(0x00, 0x8B, 0x8B),
                           QColor(0xB2, 0x22, 0x22), QColor(0x48, 0x3D, 0x8B),
                           QColor(0x22, 0x8B, 0x22), QColor(0x15, 0x48, 0x8A),
                           QColor(0x66, 0x66, 0x66)};
const QColor kPale[7] = {QColor(0xF9, 0xC9, 0x9A), QColor(0xC5, 0xE9, 0xE2),
                         QColor(0xF5, 0xC2, 0xB9), QColor(0xCE, 0xB4, 0xDE),
                         QColor(0xBA, 0xE2, 0xB8), QColor(0xB2, 0xD0, 0xEC),
                         QColor(0xCD, 0xCD, 0xCD)};

struct ColumnColours {
    int first, last;
    QColor unmarked, marked;
};

// The colour table of the grid, column range by column range.
const ColumnColours kColourTable[] = {
    {3, 5, kPale[0], kStrong[0]},   {6, 9, QColor(Qt::white), kStrong[0]},
    {10, 12, kPale[6], kStrong[0]}, {13, 16, kPale[5], kStrong[5]},
    {17, 26, kPale[1], kStrong[1]}, {27, 30, kPale[5], kStrong[5]},
    {31, 40, kPale[2], kStrong[2]}, {41, 44, kPale[5], kStrong[5]},
    {45, 54, kPale[3], kStrong[3]}, {55, 58, kPale[5], kStrong[5]},
    {59, 68, kPale[4], kStrong[4]},
};

ColumnColours expectedColours(int col) {
    for (const auto& range : kColourTable)
        if (col >= range.first && col <= range.last) return range;
    return {};
}

GridRow rowOf(bool marked) {
    GridRow row;
    row[1] = Cell::ofText("202612080931");
    row[2] = Cell::ofText("69562");
    for (int c = 3; c <= 68; ++c)
        row[std::size_t(c)] = marked ? Cell::mark(std::to_string(c % 10)) : Cell::ofNumber(c);
    return row;
}

QColor background(const HistoryGridModel& m, int gridRow, int col) {
    return m.data(m.index(gridRow - 2, col), Qt::BackgroundRole).value<QColor>();
}
QColor foreground(const HistoryGridModel& m, int gridRow, int col) {
    return m.data(m.index(gridRow - 2, col), Qt::ForegroundRole).value<QColor>();
}
bool bold(const HistoryGridModel& m, int gridRow, int col) {
    return m.data(m.index(gridRow - 2, col), Qt::FontRole).value<QFont>().bold();
}

} // namespace

class TestHistoryGridModel : public QObject {
    Q_OBJECT
private slots:
    void paletteIsReadBlueGreenRed() {
        for (int i = 0; i < kPaletteSize; ++i) {
            QCOMPARE(GridPalette()[std::size_t(i)].strong, kStrong[i]);
            QCOMPARE(GridPalette()[std::size_t(i)].pale, kPale[i]);
        }
    }

    void headersFollowTheCaption_data() {
        QTest::addColumn<QString>("cap");
        QTest::newRow("千百个") << QStringLiteral(" 千百个");
        QTest::newRow("后四星") << QStringLiteral(" 后四星");
    }
    void headersFollowTheCaption() {
        QFETCH(QString, cap);
        HistoryGridModel m;
        m.PrepareHistoryGrid(5, QStringLiteral("腾讯分分彩"), QStringLiteral(" 万千百"));
        m.PrepareHistoryGrid(5, QStringLiteral("腾讯分分彩"), cap);
        const struct {
            int first, last;
            const char* title;
        } blocks[] = {{3, 16, "10期冷热"},
                      {17, 30, "任三码合走势"},
                      {31, 44, "任二码合走势"},
                      {45, 58, "任二码差走势"},
                      {59, 68, "和尾走势"}};
        for (const auto& b : blocks)
            for (int c = b.first; c <= b.last; ++c)
                QCOMPARE(m.cellText(0, c), cap + QString::fromUtf8(b.title));
        QCOMPARE(m.cellText(0, 1), QStringLiteral("腾讯分分彩"));
        QCOMPARE(m.cellText(1, 1), QStringLiteral("腾讯分分彩"));
        QCOMPARE(m.cellText(0, 2), QStringLiteral("号码"));
        QCOMPARE(m.cellText(1, 2), QStringLiteral("号码"));
        QCOMPARE(m.columnCount(), 69);
        QCOMPARE(m.gridRowCount(), 5);
        QCOMPARE(m.rowCount(), 3);
    }

    void columnLabels() {
        HistoryGridModel m;
        m.PrepareHistoryGrid(2, QStringLiteral("VR3分彩"), QStringLiteral(" 千百个"));
        QStringList expected; // labels of columns 3 .. 68
        for (int c = 3; c <= 5; ++c)
            expected << QStringLiteral("热码");
        for (int c = 6; c <= 9; ++c)
            expected << QStringLiteral("温码");
        for (int c = 10; c <= 12; ++c)
            expected << QStringLiteral("冷码");
        const QStringList four{"0", "1", "2", "3"};
        const QStringList ten{"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
        expected << four << ten << four << ten << four << ten << four << ten;
        QCOMPARE(expected.size(), 66);
        for (int c = 3; c <= 68; ++c)
            QCOMPARE(m.cellText(1, c), expected[c - 3]);
        QCOMPARE(m.headerData(20, Qt::Horizontal).toString(), QStringLiteral("3"));
        QVERIFY(m.headerData(20, Qt::Horizontal, Qt::FontRole).value<QFont>().bold());
    }

    void everyColumnHasItsColour_data() {
        QTest::addColumn<bool>("marked");
        QTest::newRow("unmarked") << false;
        QTest::newRow("marked") << true;
    }
    void everyColumnHasItsColour() {
        QFETCH(bool, marked);
        HistoryGridModel m;
        m.PrepareHistoryGrid(3, QStringLiteral("腾讯分分彩"), QStringLiteral(" 万千百"));
        m.FillHistoryRow(rowOf(marked), 2);
        for (int c = 3; c <= 68; ++c) {
            const auto colours = expectedColours(c);
            QVERIFY2(colours.unmarked.isValid(), qPrintable(QString::number(c)));
            QCOMPARE(background(m, 2, c), marked ? colours.marked : colours.unmarked);
            QCOMPARE(foreground(m, 2, c), marked ? QColor(Qt::white) : QColor(Qt::black));
            QCOMPARE(bold(m, 2, c), marked);
            QCOMPARE(m.isMarked(2, c), marked);
            QCOMPARE(m.cellText(2, c), marked ? QString::number(c % 10) : QString::number(c));
        }
        // Period and number keep the grid's own colours.
        for (int c = 1; c <= 2; ++c) {
            QVERIFY(!m.data(m.index(0, c), Qt::BackgroundRole).isValid());
            QVERIFY(!m.data(m.index(0, c), Qt::ForegroundRole).isValid());
        }
        QCOMPARE(m.cellText(2, 1), QStringLiteral("202612080931"));
        QCOMPARE(m.cellText(2, 2), QStringLiteral("69562"));
    }

    void markCharacterIsRemovedWherever() {
        HistoryGridModel m;
        m.PrepareHistoryGrid(3, {}, {});
        GridRow row;
        row[20] = Cell::ofText("\x1e"
                               "7"); // a hit
        row[21] = Cell::ofText("1\x1e"
                               "2"); // a stray mark inside: not a hit
        row[22] = Cell::ofText("\x1e"
                               "1\x1e"
                               "5"); // a hit with another mark inside
        row[23] = Cell::ofNumber(12);
        m.FillHistoryRow(row, 2);
        QCOMPARE(m.cellText(2, 20), QStringLiteral("7"));
        QCOMPARE(background(m, 2, 20), kStrong[1]);
        QCOMPARE(foreground(m, 2, 20), QColor(Qt::white));
        QVERIFY(bold(m, 2, 20));
        QCOMPARE(m.cellText(2, 21), QStringLiteral("12"));
        QCOMPARE(background(m, 2, 21), kPale[1]);
        QCOMPARE(foreground(m, 2, 21), QColor(Qt::black));
        QVERIFY(!bold(m, 2, 21));
        QCOMPARE(m.cellText(2, 22), QStringLiteral("15"));
        QVERIFY(m.isMarked(2, 22));
        QCOMPARE(m.cellText(2, 23), QStringLiteral("12"));
        QVERIFY(!m.isMarked(2, 23));
    }

    void refillForgetsTheOldRow() {
        HistoryGridModel m;
        m.PrepareHistoryGrid(3, {}, {});
        m.FillHistoryRow(rowOf(true), 2);
        m.FillHistoryRow(rowOf(false), 2);
        for (int c = 3; c <= 68; ++c)
            QVERIFY(!m.isMarked(2, c));
        m.PrepareHistoryGrid(3, {}, {});
        for (int c = 1; c <= 68; ++c)
            QVERIFY(m.cellText(2, c).isEmpty());
    }

    void aNewDrawWritesOverTheRowsInPlace_data() {
        QTest::addColumn<int>("rows");
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("cap");
        QTest::addColumn<bool>("reset");
        QTest::newRow("same grid")
            << 4 << QStringLiteral("腾讯分分彩") << QStringLiteral(" 千百个") << false;
        QTest::newRow("more rows")
            << 5 << QStringLiteral("腾讯分分彩") << QStringLiteral(" 千百个") << true;
        QTest::newRow("other lottery")
            << 4 << QStringLiteral("VR3分彩") << QStringLiteral(" 千百个") << true;
        QTest::newRow("other group")
            << 4 << QStringLiteral("腾讯分分彩") << QStringLiteral(" 后四星") << true;
    }
    void aNewDrawWritesOverTheRowsInPlace() {
        QFETCH(int, rows);
        QFETCH(QString, name);
        QFETCH(QString, cap);
        QFETCH(bool, reset);
        HistoryGridModel m;
        m.PrepareHistoryGrid(4, QStringLiteral("腾讯分分彩"), QStringLiteral(" 千百个"));
        m.FillHistoryRow(rowOf(true), 2);
        m.FillHistoryRow(rowOf(true), 3);
        QSignalSpy resets(&m, &QAbstractItemModel::modelReset);
        QSignalSpy changes(&m, &QAbstractItemModel::dataChanged);
        QCOMPARE(m.PrepareHistoryGrid(rows, name, cap), reset);
        QCOMPARE(resets.count(), reset ? 1 : 0);
        // Whichever way, the rows are empty and the views are told.
        QVERIFY(reset || changes.count() == 1);
        for (int r = 2; r < m.gridRowCount(); ++r)
            for (int c = 1; c <= 68; ++c)
                QVERIFY(m.cellText(r, c).isEmpty() && !m.isMarked(r, c));
        QCOMPARE(m.cellText(0, 1), name);
    }

    void rowsOutsideTheGridAreIgnored() {
        HistoryGridModel m;
        m.PrepareHistoryGrid(3, QStringLiteral("腾讯分分彩"), QStringLiteral(" 万千百"));
        m.FillHistoryRow(rowOf(true), 1); // a header row
        m.FillHistoryRow(rowOf(true), 3); // past the last row
        QCOMPARE(m.cellText(1, 3), QStringLiteral("热码"));
        QVERIFY(m.cellText(2, 3).isEmpty());
    }

    void firstHeldDrawShowsEmptyCellsFromColumn13() {
        LotteryClass cls;
        QCOMPARE(test::FeedSampleDraws(cls, 1), 1);
        const LotteryItem& first = *cls.heldDraws().front().second;
        HistoryGridModel m;
        m.PrepareHistoryGrid(3, {}, QStringLiteral(" 千百个"));
        m.FillHistoryRow(first, 2, 7);
        QCOMPARE(m.cellText(2, 1), QString::fromStdString(first.Qishu));
        QCOMPARE(m.cellText(2, 2), QString::fromStdString(first.Haoma));
        for (int c = 13; c <= 68; ++c) {
            QVERIFY2(m.cellText(2, c).isEmpty(), qPrintable(QString::number(c)));
            QVERIFY(!m.isMarked(2, c));
            QCOMPARE(background(m, 2, c), expectedColours(c).unmarked);
            QCOMPARE(foreground(m, 2, c), QColor(Qt::black));
        }
        // Without a hot order yet, the ten hot cells are bare hits: nothing to print.
        for (int c = 3; c <= 12; ++c)
            QVERIFY(m.cellText(2, c).isEmpty());
    }

    void heldDrawsFollowTheColourTable() {
        LotteryClass cls;
        test::FeedSampleDraws(cls);
        const auto items = test::HeldDraws(cls);
        QCOMPARE(int(items.size()), 100);
        HistoryGridModel m;
        m.PrepareHistoryGrid(102, {}, {});
        int hits = 0;
        for (int i = 0; i < 100; ++i) {
            const GridRow cells = items[std::size_t(i)]->GetGridArray(7);
            m.FillHistoryRow(*items[std::size_t(i)], i + 2, 7);
            for (int c = 3; c <= 68; ++c) {
                const bool hit = cells[std::size_t(c)].isMark();
                hits += hit;
                QCOMPARE(m.isMarked(i + 2, c), hit);
                const auto colours = expectedColours(c);
                QCOMPARE(background(m, i + 2, c), hit ? colours.marked : colours.unmarked);
                QCOMPARE(m.cellText(i + 2, c),
                         QString::fromStdString(cells[std::size_t(c)].shown()));
                QVERIFY(!m.cellText(i + 2, c).contains(QChar(0x1e)));
            }
            // Columns 6 to 9 are white unless a hit.
            for (int c = 6; c <= 9; ++c)
                QCOMPARE(background(m, i + 2, c) == QColor(Qt::white), !m.isMarked(i + 2, c));
        }
        QVERIFY(hits > 100); // the sample has hits in every block
    }

    void chineseTextHasGlyphs() {
        const QFont font = HistoryGridModel().headerFont();
        QCOMPARE(font.family(), ChineseFontFamily());
        QCOMPARE(QFontInfo(font).family(), ChineseFontFamily()); // installed, not a stand-in
        QCOMPARE(font.pointSize(), 9);
        const QFontMetrics metrics(font);
        for (QChar ch : QStringLiteral("号码热温冷期走势和尾腾讯分彩"))
            QVERIFY2(metrics.inFont(ch), qPrintable(QString(ch)));
    }
};

QTEST_MAIN(TestHistoryGridModel)
#include "test_history_grid_model.moc"
