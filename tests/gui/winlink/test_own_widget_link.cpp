// This program's own widgets as pickable windows: hit tests in a shown window, reading the
// line edit, the text boxes and the label, widgets that have gone, the length limit.
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextEdit>
#include <QVBoxLayout>
#include <memory>

#include "gui/winlink/OutlineFrame.h"
#include "gui/winlink/OwnWidgetLink.h"

using namespace zuohao::gui;

namespace {
QPoint centreOf(const QWidget* w) {
    return w->mapToGlobal(w->rect().center());
}
QRect screenRectOf(const QWidget* w) {
    return QRect(w->mapToGlobal(QPoint(0, 0)), w->size());
}
} // namespace

class OwnWidgetLinkTest : public QObject {
    Q_OBJECT
    std::unique_ptr<QWidget> m_window;
    QLineEdit* m_edit = nullptr;
    QPlainTextEdit* m_plain = nullptr;
    QTextEdit* m_rich = nullptr;
    QLabel* m_label = nullptr;

private slots:
    void init() {
        m_window = std::make_unique<QWidget>();
        m_window->setWindowTitle(QStringLiteral("目标窗口"));
        auto* layout = new QVBoxLayout(m_window.get());
        m_edit = new QLineEdit(QStringLiteral("123 456 789"));
        m_plain = new QPlainTextEdit(QStringLiteral("3 5 7\n9"));
        m_rich = new QTextEdit();
        m_rich->setPlainText(QStringLiteral("111 222\n333"));
        m_label = new QLabel(QStringLiteral("0 1 2"));
        for (QWidget* w : {static_cast<QWidget*>(m_edit), static_cast<QWidget*>(m_plain),
                           static_cast<QWidget*>(m_rich), static_cast<QWidget*>(m_label)})
            layout->addWidget(w);
        m_window->setGeometry(40, 40, 300, 400);
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
    }
    void cleanup() { m_window.reset(); }

    void hitsTheReadableWidgetUnderThePoint_data() {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("text");
        QTest::newRow("line edit") << 0 << "123 456 789";
        QTest::newRow("plain text box (through its viewport)") << 1 << "3 5 7\n9";
        QTest::newRow("rich text box (through its viewport)") << 2 << "111 222\n333";
        QTest::newRow("label") << 3 << "0 1 2";
    }
    void hitsTheReadableWidgetUnderThePoint() {
        QFETCH(int, which);
        QFETCH(QString, text);
        QWidget* target = QList<QWidget*>{m_edit, m_plain, m_rich, m_label}.at(which);
        OwnWidgetLink link;
        const auto hit = link.windowAt(centreOf(target));
        QVERIFY(hit);
        QVERIFY(hit->handle != 0);
        QCOMPARE(link.widget(hit->handle), target);
        QCOMPARE(hit->rect, screenRectOf(target));
        QVERIFY(link.exists(hit->handle));
        QCOMPARE(ReadWindowText(link, hit->handle), text);
    }

    void sameWidgetSameHandle() {
        OwnWidgetLink link;
        const auto a = link.windowAt(centreOf(m_edit));
        const auto b = link.windowAt(centreOf(m_edit) + QPoint(3, 0));
        const auto c = link.windowAt(centreOf(m_label));
        QVERIFY(a && b && c);
        QCOMPARE(a->handle, b->handle);
        QVERIFY(c->handle != a->handle);
    }

    void nothingOutsideOurWindows() {
        OwnWidgetLink link;
        QVERIFY(!link.windowAt(m_window->frameGeometry().bottomRight() + QPoint(50, 50)));
    }

    void theOutlineIsNeverHit() {
        // The outline lies over the very window it marks; the pointer goes through it.
        OutlineFrame outline;
        outline.showAt(m_window->frameGeometry());
        QVERIFY(QTest::qWaitForWindowExposed(&outline));
        outline.setMask(QRegion()); // cover everything, mask or not
        OwnWidgetLink link;
        const auto hit = link.windowAt(centreOf(m_edit));
        QVERIFY(hit);
        QCOMPARE(link.widget(hit->handle), m_edit);
    }

    void killListWidthOnALineEdit() {
        OwnWidgetLink link;
        const WindowHandle h = link.windowAt(centreOf(m_edit))->handle;
        QCOMPARE(ReadWindowText(link, h, QStringLiteral("3")), QStringLiteral("123 456 789"));
        m_edit->setText(QStringLiteral("123 4567"));
        QCOMPARE(ReadWindowText(link, h, QStringLiteral("3")), QString());
        QCOMPARE(ReadWindowText(link, h, QStringLiteral("3,4")), QStringLiteral("123 4567"));
    }

    void digitsOfAPlainTextBox() {
        OwnWidgetLink link;
        const WindowHandle h = link.windowAt(centreOf(m_plain))->handle;
        QCOMPARE(ReadWindowDigits(link, h), QStringLiteral("357"));
    }

    void aDestroyedWidgetReadsEmpty() {
        OwnWidgetLink link;
        const WindowHandle h = link.windowAt(centreOf(m_edit))->handle;
        QCOMPARE(ReadWindowText(link, h), QStringLiteral("123 456 789"));
        delete m_edit;
        m_edit = nullptr;
        QVERIFY(!link.exists(h));
        QCOMPARE(link.readText(h).status, ReadStatus::Gone);
        QCOMPARE(ReadWindowText(link, h, QStringLiteral("3")), QString());
        QCOMPARE(ReadWindowDigits(link, h), QString());
        // A new widget is never read through the old handle.
        auto* again = new QLineEdit(QStringLiteral("999"), m_window.get());
        again->show();
        QVERIFY(link.handleOf(again) != h);
        QCOMPARE(ReadWindowText(link, h), QString());
    }

    void longTextIsCut() {
        OwnWidgetLink link;
        m_plain->setPlainText(QString(70000, u'7'));
        const WindowHandle h = link.windowAt(centreOf(m_plain))->handle;
        QCOMPARE(link.readText(h).text.size(), MaxWindowTextLength);
        QCOMPARE(ReadWindowText(link, h).size(), MaxWindowTextLength);
    }

    void aTopLevelWithoutTextReadsItsTitle() {
        QWidget bare;
        bare.setWindowTitle(QStringLiteral("123 456"));
        bare.setGeometry(500, 300, 120, 80);
        bare.show();
        QVERIFY(QTest::qWaitForWindowExposed(&bare));
        OwnWidgetLink link;
        const auto hit = link.windowAt(bare.geometry().center());
        QVERIFY(hit);
        QCOMPARE(link.widget(hit->handle), &bare);
        QCOMPARE(ReadWindowText(link, hit->handle, QStringLiteral("3")), QStringLiteral("123 456"));
    }
};

QTEST_MAIN(OwnWidgetLinkTest)
#include "test_own_widget_link.moc"
