// Windows stay inside the screen and come back where the player left them.
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QWidget>

#include "gui/common/WindowPlacement.h"

using namespace zuohao::gui;

class TestWindowPlacement : public QObject {
    Q_OBJECT

    QTemporaryDir m_dir;

private slots:
    void init() { WindowPlacement::setStorePath(m_dir.filePath(QStringLiteral("windows.ini"))); }

    void fitInside_data() {
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QRect>("wanted");
        QTest::addColumn<QRect>("fitted");
        const QRect wide(0, 0, 1366, 728); // 1366 x 768 with a 40 pixel task bar
        // The monitor window a window manager put low on the screen: moved up, not cut.
        QTest::newRow("low") << wide << QRect(900, 373, 420, 667) << QRect(900, 53, 420, 667);
        // 1280 x 720 on a 1024 x 700 screen: shrunk to the room there is.
        QTest::newRow("large") << QRect(0, 0, 1024, 700) << QRect(50, 40, 1280, 720)
                               << QRect(8, 32, 1008, 660);
        QTest::newRow("fits") << wide << QRect(100, 100, 400, 300) << QRect(100, 100, 400, 300);
        QTest::newRow("left") << wide << QRect(-300, 100, 400, 300) << QRect(8, 100, 400, 300);
    }
    void fitInside() {
        QFETCH(QRect, screen);
        QFETCH(QRect, wanted);
        QFETCH(QRect, fitted);
        const QMargins frame(kBorderAllowance, kTitleAllowance, kBorderAllowance, kBorderAllowance);
        QCOMPARE(FitInside(wanted, screen, frame), fitted);
        QVERIFY(FitsInside(fitted, screen, frame));
        QVERIFY(!FitsInside(wanted, screen, frame) || wanted == fitted);
    }

    void keptPlaceComesBackWhenItFits() {
        const QRect avail = QGuiApplication::primaryScreen()->availableGeometry();
        const QRect asked(avail.topLeft(), avail.size() * 2); // larger than the screen
        {
            QWidget w;
            new WindowPlacement(&w, QStringLiteral("w"), [asked] { return asked; });
            w.show();
            QVERIFY(QTest::qWaitForWindowExposed(&w));
            QVERIFY(avail.contains(w.geometry())); // nothing cut
            w.setGeometry(avail.x() + 40, avail.y() + 50, 300, 200);
            w.hide(); // written when hidden
        }
        QCOMPARE(WindowPlacement::kept(QStringLiteral("w")),
                 QRect(avail.x() + 40, avail.y() + 50, 300, 200));
        QWidget again;
        new WindowPlacement(&again, QStringLiteral("w"), [asked] { return asked; });
        again.show();
        QVERIFY(QTest::qWaitForWindowExposed(&again));
        QCOMPARE(again.geometry(), QRect(avail.x() + 40, avail.y() + 50, 300, 200));
        // A move ends: the new place is written without a hide.
        again.move(avail.x() + 60, avail.y() + 70);
        QTRY_COMPARE(WindowPlacement::kept(QStringLiteral("w")), again.geometry());
        QVERIFY(again.geometry().topLeft() != QPoint(avail.x() + 40, avail.y() + 50));
    }
};

QTEST_MAIN(TestWindowPlacement)
#include "test_window_placement.moc"
