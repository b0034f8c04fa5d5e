// Dragging a hand icon over a window and releasing it: the outline while dragging, the
// picked handle in LabelHwnd_i, the signal, the pictures, early releases and second
// buttons. The pointer position comes from the test (offscreen has no real pointer).
#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "gui/winlink/HandPicker.h"
#include "gui/winlink/OutlineFrame.h"
#include "gui/winlink/OwnWidgetLink.h"

using namespace zuohao::gui;

namespace {
QPoint centreOf(const QWidget* w) {
    return w->mapToGlobal(w->rect().center());
}
QImage pictureOf(const QLabel* l) {
    return l->pixmap().toImage();
}
} // namespace

class HandPickerTest : public QObject {
    Q_OBJECT
    std::unique_ptr<OwnWidgetLink> m_link;
    std::unique_ptr<QWidget> m_target;
    QLineEdit* m_edit = nullptr;
    std::unique_ptr<HandPicker> m_picker;
    QPoint m_pointer;

    void waitForLook() {
        // One tick of TimerHwnd looks under the pointer.
        QSignalSpy tick(m_picker->highlightTimer(), &QTimer::timeout);
        QVERIFY(tick.wait(2000));
    }

private slots:
    void init() {
        m_link = std::make_unique<OwnWidgetLink>();
        m_target = std::make_unique<QWidget>();
        auto* layout = new QVBoxLayout(m_target.get());
        m_edit = new QLineEdit(QStringLiteral("123 456 789"));
        layout->addWidget(m_edit);
        m_target->setGeometry(300, 100, 250, 80);
        m_target->show();
        m_picker = std::make_unique<HandPicker>(*m_link);
        m_picker->setGeometry(20, 100, 120, 220);
        m_picker->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_target.get()));
        QVERIFY(QTest::qWaitForWindowExposed(m_picker.get()));
        m_pointer = QPoint(-1000, -1000);
        m_picker->setPointerSource([this] { return m_pointer; });
    }
    void cleanup() {
        m_picker.reset();
        m_target.reset();
        m_link.reset();
    }

    void controlsAtStart() {
        for (int i = 0; i < HandPicker::HandCount; ++i) {
            auto* hand = m_picker->findChild<QLabel*>(QStringLiteral("PictureHand_%1").arg(i));
            auto* label = m_picker->findChild<QLabel*>(QStringLiteral("LabelHwnd_%1").arg(i));
            QCOMPARE(hand, m_picker->hand(i));
            QCOMPARE(label, m_picker->handleLabel(i));
            QCOMPARE(label->text(), QStringLiteral("0"));
            QCOMPARE(m_picker->pickedWindow(i), WindowHandle(0));
            QVERIFY(!hand->pixmap().isNull());
        }
        QCOMPARE(m_picker->highlightTimer()->objectName(), QStringLiteral("TimerHwnd"));
        QCOMPARE(m_picker->highlightTimer()->interval(), 300);
        QVERIFY(!m_picker->highlightTimer()->isActive());
    }

    void dragOverALineEditAndRelease() {
        QSignalSpy picked(m_picker.get(), &HandPicker::windowPicked);
        const QImage atRest = pictureOf(m_picker->hand(0));
        QTest::mousePress(m_picker->hand(0), Qt::LeftButton);
        QVERIFY(m_picker->isDragging());
        QVERIFY(m_picker->highlightTimer()->isActive());
        QCOMPARE(QWidget::mouseGrabber(), m_picker->hand(0));
        const QImage dragging = pictureOf(m_picker->hand(0));
        QVERIFY(dragging != atRest);

        m_pointer = centreOf(m_edit);
        waitForLook();
        QVERIFY(m_picker->hoverWindow() != 0);
        QCOMPARE(m_link->widget(m_picker->hoverWindow()), m_edit);
        const QRect editRect(m_edit->mapToGlobal(QPoint(0, 0)), m_edit->size());
        QCOMPARE(m_picker->hoverRect(), editRect);
        QVERIFY(m_picker->outline()->isVisible());
        QCOMPARE(m_picker->outline()->geometry(), editRect);
        QVERIFY(
            !m_picker->outline()->mask().contains(QRect(QPoint(0, 0), editRect.size()).center()));
        QVERIFY(m_picker->outline()->mask().contains(QPoint(1, 1)));
        QCOMPARE(picked.count(), 0);

        QTest::mouseRelease(m_picker->hand(0), Qt::LeftButton);
        QVERIFY(!m_picker->isDragging());
        QVERIFY(!m_picker->highlightTimer()->isActive());
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QVERIFY(!m_picker->outline()->isVisible());
        const WindowHandle h = m_picker->hoverWindow();
        QCOMPARE(m_picker->handleLabel(0)->text(), QString::number(h));
        QCOMPARE(m_picker->pickedWindow(0), h);
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toInt(), 0);
        QCOMPARE(picked.at(0).at(1).toULongLong(), h);
        const QImage afterPick = pictureOf(m_picker->hand(0));
        QVERIFY(afterPick != atRest && afterPick != dragging);
        QCOMPARE(ReadWindowText(*m_link, h, QStringLiteral("3")), QStringLiteral("123 456 789"));
        // The other hands are untouched.
        for (int i = 1; i < HandPicker::HandCount; ++i)
            QCOMPARE(m_picker->handleLabel(i)->text(), QStringLiteral("0"));
    }

    void theLabelIsSetWhenTheSignalArrives() {
        QString seen;
        connect(m_picker.get(), &HandPicker::windowPicked, this,
                [&](int i, quint64) { seen = m_picker->handleLabel(i)->text(); });
        m_pointer = centreOf(m_edit);
        QTest::mousePress(m_picker->hand(3), Qt::LeftButton);
        waitForLook();
        QTest::mouseRelease(m_picker->hand(3), Qt::LeftButton);
        QVERIFY(seen != QStringLiteral("0"));
        QCOMPARE(HandleFromText(seen), m_picker->hoverWindow());
    }

    void firstDragReleasedAtOncePicksNothing() {
        QSignalSpy picked(m_picker.get(), &HandPicker::windowPicked);
        m_pointer = centreOf(m_edit);
        QTest::mousePress(m_picker->hand(1), Qt::LeftButton);
        const QImage dragging = pictureOf(m_picker->hand(1));
        QTest::mouseRelease(m_picker->hand(1), Qt::LeftButton);
        QCOMPARE(picked.count(), 0);
        QCOMPARE(m_picker->handleLabel(1)->text(), QStringLiteral("0"));
        QVERIFY(!m_picker->isDragging());
        QCOMPARE(QWidget::mouseGrabber(), nullptr);
        QCOMPARE(pictureOf(m_picker->hand(1)), dragging); // keeps the dragging picture
    }

    void earlyReleasePicksWhatThePreviousDragFound() {
        m_pointer = centreOf(m_edit);
        QTest::mousePress(m_picker->hand(2), Qt::LeftButton);
        waitForLook();
        QTest::mouseRelease(m_picker->hand(2), Qt::LeftButton);
        const WindowHandle first = m_picker->pickedWindow(2);
        QVERIFY(first != 0);

        QSignalSpy picked(m_picker.get(), &HandPicker::windowPicked);
        m_pointer = QPoint(-1000, -1000); // never looked at: released before the first tick
        QTest::mousePress(m_picker->hand(4), Qt::LeftButton);
        QTest::mouseRelease(m_picker->hand(4), Qt::LeftButton);
        QCOMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toInt(), 4);
        QCOMPARE(m_picker->pickedWindow(4), first);
    }

    void nothingUnderThePointerPicksNothing() {
        QSignalSpy picked(m_picker.get(), &HandPicker::windowPicked);
        QTest::mousePress(m_picker->hand(0), Qt::LeftButton);
        m_pointer = QPoint(-1000, -1000);
        waitForLook();
        QCOMPARE(m_picker->hoverWindow(), WindowHandle(0));
        QVERIFY(!m_picker->outline()->isVisible());
        QTest::mouseRelease(m_picker->hand(0), Qt::LeftButton);
        QCOMPARE(picked.count(), 0);
        QCOMPARE(m_picker->handleLabel(0)->text(), QStringLiteral("0"));
    }

    void aSecondButtonDoesNotStartASecondDrag() {
        m_pointer = centreOf(m_edit);
        QTest::mousePress(m_picker->hand(0), Qt::LeftButton);
        const QImage otherHandBefore = pictureOf(m_picker->hand(1));
        QTest::mousePress(m_picker->hand(0), Qt::RightButton, Qt::NoModifier);
        QTest::mousePress(m_picker->hand(1), Qt::MiddleButton, Qt::NoModifier);
        QVERIFY(m_picker->isDragging());
        QCOMPARE(QWidget::mouseGrabber(), m_picker->hand(0));
        QCOMPARE(pictureOf(m_picker->hand(1)), otherHandBefore);
        waitForLook();
        QTest::mouseRelease(m_picker->hand(0), Qt::LeftButton);
        QVERIFY(!m_picker->isDragging());
        QVERIFY(m_picker->pickedWindow(0) != 0);
        QCOMPARE(m_picker->pickedWindow(1), WindowHandle(0));
    }

    void theOutlineStaysOnTheScreen() {
        // A window partly off the screen's left and top edges is outlined only on the screen.
        const QRect screen = m_target->screen()->geometry();
        m_target->move(screen.left() - 100, screen.top() - 20);
        QTRY_COMPARE(m_target->pos(), QPoint(screen.left() - 100, screen.top() - 20));
        m_pointer = m_edit->mapToGlobal(QPoint(m_edit->width() - 5, m_edit->height() / 2));
        QVERIFY(screen.contains(m_pointer));
        QTest::mousePress(m_picker->hand(0), Qt::LeftButton);
        waitForLook();
        const QRect editRect(m_edit->mapToGlobal(QPoint(0, 0)), m_edit->size());
        QVERIFY(editRect.left() < screen.left());
        QCOMPARE(m_picker->hoverRect(), editRect.intersected(screen));
        QCOMPARE(m_picker->outline()->geometry().left(), screen.left());
        QTest::mouseRelease(m_picker->hand(0), Qt::LeftButton);
    }

    void clampToScreen_data() {
        QTest::addColumn<QRect>("rect");
        QTest::addColumn<QRect>("expected");
        const QRect s(0, 0, 800, 600);
        QTest::newRow("inside") << QRect(10, 10, 50, 50) << QRect(10, 10, 50, 50);
        QTest::newRow("off left and top") << QRect(-30, -5, 100, 50) << QRect(0, 0, 70, 45);
        QTest::newRow("off right and bottom") << QRect(780, 590, 50, 50) << QRect(780, 590, 20, 10);
        QTest::newRow("larger than the screen") << QRect(-5, -5, 900, 700) << s;
        QTest::newRow("wholly off") << QRect(900, 10, 50, 50) << QRect();
    }
    void clampToScreen() {
        QFETCH(QRect, rect);
        QFETCH(QRect, expected);
        QCOMPARE(ClampToScreen(rect, QRect(0, 0, 800, 600)), expected);
    }

    void clearPickForgetsTheWindow() {
        m_pointer = centreOf(m_edit);
        const QImage atRest = pictureOf(m_picker->hand(1));
        QTest::mousePress(m_picker->hand(1), Qt::LeftButton);
        waitForLook();
        QTest::mouseRelease(m_picker->hand(1), Qt::LeftButton);
        QVERIFY(m_picker->pickedWindow(1) != 0);
        m_picker->clearPick(1);
        QCOMPARE(m_picker->handleLabel(1)->text(), QStringLiteral("0"));
        QCOMPARE(pictureOf(m_picker->hand(1)), atRest);
    }

    void handsMovedIntoAnotherPanelStillDrag() {
        QWidget panel;
        auto* layout = new QVBoxLayout(&panel);
        layout->addWidget(m_picker->hand(0));
        layout->addWidget(m_picker->handleLabel(0));
        panel.setGeometry(20, 350, 100, 100);
        panel.show();
        QVERIFY(QTest::qWaitForWindowExposed(&panel));
        QSignalSpy picked(m_picker.get(), &HandPicker::windowPicked);
        m_pointer = centreOf(m_edit);
        QTest::mousePress(m_picker->hand(0), Qt::LeftButton);
        waitForLook();
        QTest::mouseRelease(m_picker->hand(0), Qt::LeftButton);
        QCOMPARE(picked.count(), 1);
        QVERIFY(m_picker->pickedWindow(0) != 0);
        layout->removeWidget(m_picker->hand(0));
        m_picker->hand(0)->setParent(m_picker.get());
        m_picker->handleLabel(0)->setParent(m_picker.get());
    }
};

QTEST_MAIN(HandPickerTest)
#include "test_hand_picker.moc"
