// An X11 desktop without an accessibility bus: other programs cannot be read, the status
// line is told so once, and the hands still pick this program's own widgets with the real
// pointer.
#include <QElapsedTimer>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>
#include <memory>

#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"
#include "gui/winlink/OwnWidgetLink.h"
#include "support_xdotool.h"

using namespace zuohao::gui;
using zuohao::test::movePointer;
using zuohao::test::xdotool;

class NoBusTest : public QObject {
    Q_OBJECT
private slots:
    void ownWidgetsOnlyAndToldWhy() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        auto link = DesktopWindowLink::create();
        QVERIFY(link->otherLink()); // there is an X server
        QSignalSpy status(link.get(), &DesktopWindowLink::statusMessage);

        QWidget window;
        auto* layout = new QVBoxLayout(&window);
        auto* edit = new QLineEdit(QStringLiteral("123 456 789"));
        layout->addWidget(edit);
        HandPicker picker(*link);
        layout->addWidget(&picker);
        window.setGeometry(100, 100, 300, 300);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));

        // Over this program's line edit the own widget is found, with nothing to tell.
        const QPoint onEdit = edit->mapToGlobal(edit->rect().center());
        const auto own = link->windowAt(onEdit);
        QVERIFY(own);
        QCOMPARE(link->backendOf(own->handle), link->ownLink());
        QCOMPARE(ReadWindowText(*link, own->handle, QStringLiteral("3")),
                 QStringLiteral("123 456 789"));
        QCOMPARE(status.count(), 0);

        // Elsewhere on the screen another program would be asked: it cannot be, said once.
        QVERIFY(!link->windowAt(QPoint(700, 600)));
        QVERIFY(!link->windowAt(QPoint(710, 610)));
        QCOMPARE(status.count(), 1);
        const QString told = status.at(0).at(0).toString();
        QVERIFY2(told.contains(QStringLiteral("AT-SPI")), qPrintable(told));
        QCOMPARE(told, CannotReadOthersText(link->unavailableReason()));

        // The real drag with the real pointer onto the line edit.
        QSignalSpy picked(&picker, &HandPicker::windowPicked);
        QLabel* hand = picker.hand(2);
        movePointer(hand->mapToGlobal(hand->rect().center()));
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        QTRY_VERIFY(picker.isDragging());
        movePointer(onEdit);
        QTRY_VERIFY(picker.hoverWindow() != 0 && picker.hoverRect().contains(onEdit));
        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTRY_COMPARE(picked.count(), 1);
        QCOMPARE(picked.at(0).at(0).toInt(), 2);
        const WindowHandle h = picker.pickedWindow(2);
        QCOMPARE(h, own->handle);
        QCOMPARE(ReadWindowDigits(*link, h), QStringLiteral("123456789"));
        QCOMPARE(status.count(), 1);

        // How long a look under the pointer and a read take for an own widget on X11 (the
        // platform asks the X server which window is on top).
        QElapsedTimer clock;
        clock.start();
        constexpr int rounds = 200;
        for (int i = 0; i < rounds; ++i)
            link->windowAt(onEdit);
        const qint64 hitNs = clock.nsecsElapsed() / rounds;
        clock.restart();
        for (int i = 0; i < rounds; ++i)
            ReadWindowText(*link, h, QStringLiteral("3"));
        const qint64 readNs = clock.nsecsElapsed() / rounds;
        qInfo("own widget on X11: hit test %lld us, read %lld us", hitNs / 1000, readNs / 1000);
    }
};

QTEST_MAIN(NoBusTest)
#include "test_nobus.moc"
