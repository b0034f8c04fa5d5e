// Timings of reading this program's own widgets as picked windows: the hit test under the
// pointer and one read of a line edit through the number filter.
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QVBoxLayout>

#include "gui/winlink/OwnWidgetLink.h"

using namespace zuohao::gui;

class BenchWindowLink : public QObject {
    Q_OBJECT
    QWidget m_window;
    QLineEdit* m_edit = nullptr;
    QPlainTextEdit* m_plain = nullptr;

    static QPoint centreOf(const QWidget* w) { return w->mapToGlobal(w->rect().center()); }

private slots:
    void initTestCase() {
        auto* layout = new QVBoxLayout(&m_window);
        m_edit = new QLineEdit(QStringLiteral("123 456 789"));
        m_plain = new QPlainTextEdit(QStringLiteral("3 5 7\n9"));
        layout->addWidget(m_edit);
        layout->addWidget(m_plain);
        m_window.setGeometry(40, 40, 300, 400);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
    }

    void hitTest() {
        OwnWidgetLink link;
        const QPoint p = centreOf(m_plain);
        QVERIFY(link.windowAt(p));
        QBENCHMARK {
            link.windowAt(p);
        }
    }

    void read() {
        OwnWidgetLink link;
        const auto hit = link.windowAt(centreOf(m_edit));
        QVERIFY(hit);
        QCOMPARE(ReadWindowText(link, hit->handle, QStringLiteral("3")),
                 QStringLiteral("123 456 789"));
        QBENCHMARK {
            ReadWindowText(link, hit->handle, QStringLiteral("3"));
        }
    }
};

QTEST_MAIN(BenchWindowLink)
#include "bench_window_link.moc"
