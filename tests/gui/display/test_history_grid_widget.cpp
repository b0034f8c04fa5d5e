// The grid widget: sizes, the selection boxes over their columns while the grid scrolls and
// its columns change, the selection row, the red separators and the scroll to the end.
#include <QCheckBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QtTest>

#include "gui/common/Fonts.h"
#include "gui/display/GridPalette.h"
#include "gui/display/HistoryGrid.h"
#include "gui/display/HistoryGridHeader.h"
#include "gui/display/HistoryGridModel.h"
#include "gui/display/PlanDisplay.h"
#include "support_draws.h"

using namespace zuohao;
using namespace zuohao::gui;

namespace {

// Horizontal extent [left, right) of something in the grid widget's coordinates.
struct Span {
    int left, right;
};

Span columnSpan(const HistoryGrid& g, int col) {
    QTableView* v = g.view();
    const int left = v->viewport()->mapTo(&g, QPoint(v->columnViewportPosition(col), 0)).x();
    return {left, left + v->columnWidth(col)};
}

Span widgetSpan(const HistoryGrid& g, const QWidget* w) {
    const int left = w->mapTo(&g, QPoint(0, 0)).x();
    return {left, left + w->width()};
}

PlanDisplayOptions opts() {
    PlanDisplayOptions o;
    o.curWei = 9;
    o.cap = QStringLiteral(" 百十个");
    return o;
}

} // namespace

class TestHistoryGridWidget : public QObject {
    Q_OBJECT

    LotteryClass m_cls;

private slots:
    void initTestCase() {
        m_cls.setName("腾讯分分彩");
        test::FeedSampleDraws(m_cls);
        QCOMPARE(int(m_cls.heldDraws().Count()), 100);
    }

    void namesAndSizes() {
        HistoryGrid g;
        RedrawPlanDisplay(g, m_cls, opts());
        QCOMPARE(g.findChild<QTableView*>(QStringLiteral("SortGrid")), g.view());
        QCOMPARE(g.downCommand()->objectName(), QStringLiteral("DownCommand"));
        QCOMPARE(g.downCommand()->text(), QStringLiteral("↓"));
        for (int i = 0; i < 66; ++i) {
            auto* box = g.findChild<QCheckBox*>(QStringLiteral("SelectCheck_%1").arg(i));
            QCOMPARE(box, g.selectCheck(i));
            QVERIFY(box->text().isEmpty());
        }
        QCOMPARE(g.selectCheck(66), nullptr);
        QTableView* v = g.view();
        QVERIFY(v->isColumnHidden(0));
        QCOMPARE(v->columnWidth(1), 90);
        QCOMPARE(v->columnWidth(2), 50);
        for (int c = 3; c <= 68; ++c)
            QCOMPARE(v->columnWidth(c), 18);
        QCOMPARE(v->rowHeight(0), 19);
        QCOMPARE(v->rowHeight(99), 19);
        QCOMPARE(v->horizontalHeader()->height(), 44);
        QCOMPARE(g.model()->gridRowCount(), 102);
        QCOMPARE(v->font().family(), ChineseFontFamily());
        QCOMPARE(v->font().pointSize(), 9);
    }

    void headerCellsMerge() {
        HistoryGrid g;
        RedrawPlanDisplay(g, m_cls, opts());
        HistoryGridHeader* h = g.header();
        using R = std::pair<int, int>;
        QCOMPARE(h->mergedRange(1, 4), R(3, 5));
        QCOMPARE(h->mergedRange(1, 6), R(6, 9));
        QCOMPARE(h->mergedRange(1, 12), R(10, 12));
        QCOMPARE(h->mergedRange(1, 13), R(13, 13));
        QCOMPARE(h->mergedRange(0, 10), R(3, 16));
        QCOMPARE(h->mergedRange(0, 60), R(59, 68));
        QCOMPARE(h->mergedRange(0, 1), R(1, 1)); // the hidden column 0 takes no part
    }

    void boxesStayOverTheirColumns_data() {
        QTest::addColumn<QString>("step");
        for (const char* s :
             {"at the end", "scrolled to the start", "scrolled midway", "window widened",
              "column widened", "column narrowed", "window narrowed"})
            QTest::newRow(s) << QString::fromLatin1(s);
    }
    void boxesStayOverTheirColumns() {
        QFETCH(QString, step);
        HistoryGrid g;
        g.resize(800, 500);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        RedrawPlanDisplay(g, m_cls, opts());
        QScrollBar* bar = g.view()->horizontalScrollBar();
        QVERIFY(bar->maximum() > 0);
        if (step == "scrolled to the start") bar->setValue(0);
        if (step == "scrolled midway") bar->setValue(bar->maximum() / 2 + 7);
        if (step == "window widened") g.resize(1100, 500);
        if (step == "window narrowed") g.resize(500, 500);
        if (step == "column widened") g.view()->horizontalHeader()->resizeSection(20, 40);
        if (step == "column narrowed") g.view()->horizontalHeader()->resizeSection(33, 10);
        QCoreApplication::processEvents();

        const QRect viewport(g.view()->viewport()->mapTo(&g, QPoint(0, 0)),
                             g.view()->viewport()->size());
        const int headerTop = g.view()->horizontalHeader()->mapTo(&g, QPoint(0, 0)).y();
        int seen = 0;
        for (int i = 0; i < 66; ++i) {
            QCheckBox* box = g.selectCheck(i);
            const Span col = columnSpan(g, i + 3);
            const Span b = widgetSpan(g, box);
            QVERIFY2(b.left >= col.left && b.right <= col.right && b.left - col.left <= 2,
                     qPrintable(QStringLiteral("box %1 at %2..%3, column at %4..%5")
                                    .arg(i)
                                    .arg(b.left)
                                    .arg(b.right)
                                    .arg(col.left)
                                    .arg(col.right)));
            QVERIFY(box->mapTo(&g, QPoint(0, box->height())).y() <= headerTop);
            // A box is seen exactly where its place in its column is seen (a column cut at
            // the viewport's edge may show less than its box's inset).
            const bool columnSeen = b.right > viewport.left() && b.left < viewport.right();
            QCOMPARE(!box->visibleRegion().isEmpty(), columnSeen);
            seen += columnSeen;
        }
        QVERIFY(seen > 0);
    }

    void selectionRowStandsAtEveryFourteenthBox() {
        HistoryGrid g;
        g.resize(900, 400);
        QList<QLineEdit*> selects, counts;
        for (int i = 0; i < 5; ++i) {
            selects << new QLineEdit(QStringLiteral("123"));
            selects.last()->setObjectName(QStringLiteral("SelectText_%1").arg(i));
            counts << new QLineEdit(QStringLiteral("2"));
            counts.last()->setObjectName(QStringLiteral("CountText_%1").arg(i));
        }
        g.setSelectionRow(selects, counts);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        RedrawPlanDisplay(g, m_cls, opts());
        for (int scroll : {-1, 0, 333}) {
            if (scroll >= 0) g.view()->horizontalScrollBar()->setValue(scroll);
            QCoreApplication::processEvents();
            for (int i = 0; i < 5; ++i) {
                QLineEdit* s = g.findChild<QLineEdit*>(QStringLiteral("SelectText_%1").arg(i));
                QLineEdit* c = g.findChild<QLineEdit*>(QStringLiteral("CountText_%1").arg(i));
                QVERIFY(s && c);
                QCOMPARE(g.selectText(i), s);
                QCOMPARE(widgetSpan(g, s).left, widgetSpan(g, g.selectCheck(14 * i)).left);
                QCOMPARE(s->size(), QSize(100, 22));
                QCOMPARE(widgetSpan(g, c).left, widgetSpan(g, s).right + 7);
                QCOMPARE(c->size(), QSize(53, 22));
                QCOMPARE(s->mapTo(&g, QPoint(0, 0)).y(), 1);
                QVERIFY(s->text().isEmpty()); // the selection texts start empty
                QCOMPARE(c->text(), QStringLiteral("2"));
                QCOMPARE(s->palette().color(QPalette::Base), GridPalette()[i].pale);
                QCOMPARE(c->palette().color(QPalette::Base), GridPalette()[i].pale);
                QVERIFY(!s->font().bold());
                QVERIFY(c->font().bold());
                QCOMPARE(s->font().pointSize(), 10);
                QCOMPARE(c->font().family(), ChineseFontFamily());
                // Above the boxes, never over them.
                QVERIFY(s->mapTo(&g, QPoint(0, s->height())).y() <=
                        g.selectCheck(0)->mapTo(&g, QPoint(0, 0)).y());
            }
        }
    }

    void selectionRowMayBeDeletedByItsOwner() {
        HistoryGrid g;
        auto* select = new QLineEdit;
        auto* count = new QLineEdit;
        g.setSelectionRow({select}, {count});
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        delete select;
        QCOMPARE(g.selectText(0), nullptr);
        g.resize(g.width() + 50, g.height()); // lays the strip out without the deleted box
        QCoreApplication::processEvents();
        QCOMPARE(g.countText(0), count);
        QCOMPARE(count->parentWidget()->parentWidget()->parentWidget(), &g);
    }

    void downCommandShowsTheLastCell() {
        HistoryGrid g;
        g.resize(700, 400);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        RedrawPlanDisplay(g, m_cls, opts());
        QTableView* v = g.view();
        const QModelIndex last = g.model()->index(99, 68);
        auto lastCellSeen = [&] { return v->viewport()->rect().contains(v->visualRect(last)); };
        // A first showing: the newest row, with its period in sight.
        const QModelIndex newestPeriod = g.model()->index(99, 1);
        QVERIFY(v->viewport()->rect().contains(v->visualRect(newestPeriod)));
        QVERIFY(!lastCellSeen());
        v->horizontalScrollBar()->setValue(0);
        v->verticalScrollBar()->setValue(0);
        QVERIFY(!lastCellSeen());
        QVERIFY(!g.downCommand()->visibleRegion().isEmpty());
        QTest::mouseClick(g.downCommand(), Qt::LeftButton);
        QVERIFY(lastCellSeen());
        // The button never covers a box.
        const QRect down(g.downCommand()->mapTo(&g, QPoint(0, 0)), g.downCommand()->size());
        for (int i = 0; i < 66; ++i) {
            QCheckBox* box = g.selectCheck(i);
            const QRegion seen = box->visibleRegion().translated(box->mapTo(&g, QPoint(0, 0)));
            QVERIFY(!seen.intersects(down));
        }
    }

    void aRedrawKeepsThePlayersPlaceAndWholeRows() {
        HistoryGrid g;
        g.resize(700, 300);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        QTableView* v = g.view();
        QScrollBar* across = v->horizontalScrollBar();
        QScrollBar* down = v->verticalScrollBar();
        LotteryClass earlier; // the draws before the newest one
        earlier.setName(m_cls.name());
        test::FeedSampleDraws(earlier, int(test::SampleDraws().size()) - 1);
        RedrawPlanDisplay(g, earlier, opts());
        QCOMPARE(across->value(), across->minimum()); // the first showing: 期号 in sight
        QCOMPARE(down->value(), down->maximum());
        QTRY_COMPARE(v->rowViewportPosition(v->rowAt(0)), 0); // the top row is whole
        across->setValue(0);
        down->setValue(5);
        const QString top = g.model()->index(5, 1).data().toString();
        RedrawPlanDisplay(g, m_cls, opts()); // a new draw: the oldest leaves the grid
        QCOMPARE(across->value(), 0);
        QCOMPARE(down->value(), 4); // the same draw stays at the top
        QCOMPARE(g.model()->index(4, 1).data().toString(), top);
        down->setValue(down->maximum()); // following the newest rows
        RedrawPlanDisplay(g, m_cls, opts());
        QCOMPARE(down->value(), down->maximum());
        QCOMPARE(across->value(), 0);
    }

    void separatorsAreRedOnEveryRow() {
        HistoryGrid g;
        g.resize(1400, 400);
        g.show();
        QVERIFY(QTest::qWaitForWindowExposed(&g));
        RedrawPlanDisplay(g, m_cls, opts());
        QTableView* v = g.view();
        v->horizontalScrollBar()->setValue(0);
        v->verticalScrollBar()->setValue(0);
        QCOMPARE(v->horizontalScrollBar()->maximum(), 0); // every column in sight
        const QImage image = v->grab().toImage();
        const int vpTop = v->viewport()->y();
        const int headerTop = v->horizontalHeader()->y();
        const QList<int> separated{2, 12, 16, 26, 30, 40, 44, 54, 58};
        // In the block-title row only where a merged title ends: a line inside one would
        // cross the title.
        const QList<int> titleEnds{2, 16, 30, 44, 58};
        const struct {
            int y;
            const QList<int>& red;
        } rows[] = {{headerTop + 4, titleEnds},
                    {headerTop + 22 + 11, separated},
                    {vpTop + 5, separated},
                    {vpTop + 19 + 9, separated},
                    {vpTop + 5 * 19 + 3, separated}};
        for (const auto& row : rows) {
            for (int c = 1; c <= 67; ++c) {
                const int x =
                    v->viewport()->x() + v->columnViewportPosition(c) + v->columnWidth(c) - 1;
                const bool red = image.pixelColor(x, row.y) == QColor(255, 0, 0);
                QVERIFY2(red == row.red.contains(c),
                         qPrintable(QStringLiteral("column %1 at y %2").arg(c).arg(row.y)));
            }
        }
    }
};

QTEST_MAIN(TestHistoryGridWidget)
#include "test_history_grid_widget.moc"
