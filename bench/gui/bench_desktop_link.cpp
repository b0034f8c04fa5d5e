// Timings of reading another program's window on an X11 desktop through the accessibility
// bus: the hit test under a point and one read of a line edit through the number filter.
// Runs on the desktop of tests/gui/winlink_desktop/run_desktop.sh.
#include <QGuiApplication>
#include <QTest>

#include "support_desktop_target.h"

using namespace zuohao::gui;

class BenchDesktopLink : public QObject {
    Q_OBJECT
    zuohao::test::DesktopTarget m_target;
    std::unique_ptr<DesktopWindowLink> m_link;
    WindowHandle m_editHandle = 0;

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        const QString started = m_target.start();
        QVERIFY2(started.isEmpty(), qPrintable(started));
        QString why;
        m_link = zuohao::test::ReadyDesktopLink(why);
        QVERIFY2(m_link, qPrintable(why));
        const auto hit = zuohao::test::HitUntilRead(*m_link, m_target.edit().center(),
                                                    QStringLiteral("123 456 789"));
        QVERIFY2(hit, "the target's line edit was not found on the accessibility bus");
        m_editHandle = hit->handle;
    }
    void cleanupTestCase() { m_target.stop(); }

    void hitTest() {
        const QPoint p = m_target.edit().center();
        QBENCHMARK {
            m_link->windowAt(p);
        }
    }

    void read() {
        QBENCHMARK {
            ReadWindowText(*m_link, m_editHandle, QStringLiteral("3"));
        }
    }
};

QTEST_MAIN(BenchDesktopLink)
#include "bench_desktop_link.moc"
