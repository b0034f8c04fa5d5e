// Another program's window on a real X11 desktop (Xvfb) read through the accessibility bus:
// hit test and read, a changed text, a closed program, and the hand dragged with the real
// pointer (xdotool) onto the other program's line edit.
#include <QElapsedTimer>
#include <QLabel>
#include <QProcess>
#include <QSignalSpy>
#include <QTest>
#include <QWidget>
#include <memory>

#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/HandPicker.h"
#include "gui/winlink/OutlineFrame.h"
#include "gui/winlink/X11AtspiLink.h"
#include "support_desktop_target.h"
#include "support_xdotool.h"

using namespace zuohao::gui;
using zuohao::test::movePointer;
using zuohao::test::xdotool;

class DesktopLinkTest : public QObject {
    Q_OBJECT
    zuohao::test::DesktopTarget m_target;
    QRect m_edit;  // the target's line edit on the screen
    QRect m_plain; // its two-line text box
    std::unique_ptr<DesktopWindowLink> m_link;
    WindowHandle m_editHandle = 0;

    QString ask(const QString& command) { return m_target.ask(command); }
    std::optional<WindowHit> hitUntilRead(const QPoint& p, const QString& expected) {
        return zuohao::test::HitUntilRead(*m_link, p, expected);
    }

private slots:
    void initTestCase() {
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
        const QString started = m_target.start();
        QVERIFY2(started.isEmpty(), qPrintable(started));
        m_edit = m_target.edit();
        m_plain = m_target.plain();
        QString why;
        m_link = zuohao::test::ReadyDesktopLink(why);
        QVERIFY2(m_link, qPrintable(why));
        QCOMPARE(m_link->unavailableReason(), QString());
    }

    void cleanupTestCase() { m_target.stop(); }

    void hitTestAndReadTheLineEdit() {
        movePointer(m_edit.center());
        QTRY_COMPARE(QCursor::pos(), m_edit.center());
        const auto hit = hitUntilRead(QCursor::pos(), QStringLiteral("123 456 789"));
        QVERIFY2(hit, "the target's line edit was not found on the accessibility bus");
        m_editHandle = hit->handle;
        // The outline rectangle is the line edit's own, not its window's.
        QVERIFY2((hit->rect & m_edit).size() == m_edit.size() &&
                     hit->rect.width() <= m_edit.width() + 2,
                 qPrintable(QStringLiteral("rect %1,%2 %3x%4")
                                .arg(hit->rect.x())
                                .arg(hit->rect.y())
                                .arg(hit->rect.width())
                                .arg(hit->rect.height())));
        QVERIFY(m_link->exists(m_editHandle));
        QCOMPARE(ReadWindowText(*m_link, m_editHandle, QStringLiteral("3")),
                 QStringLiteral("123 456 789"));
        auto* other = static_cast<X11AtspiLink*>(m_link->otherLink());
        WindowHandle inner = 0;
        m_link->backendOf(m_editHandle, &inner);
        const X11AtspiLink::Picked* picked = other->picked(inner);
        QVERIFY(picked && picked->window != 0 && picked->object != 0);
        QVERIFY(!picked->busName.empty());
        QVERIFY(!picked->path.empty());
    }

    void aChangedTextIsReadAgain() {
        QVERIFY(m_editHandle != 0);
        QCOMPARE(ask(QStringLiteral("set 123 4567")), QStringLiteral("ok"));
        QTRY_COMPARE(ReadWindowText(*m_link, m_editHandle), QStringLiteral("123 4567"));
        QCOMPARE(ReadWindowText(*m_link, m_editHandle, QStringLiteral("3")), QString());
        QCOMPARE(ReadWindowText(*m_link, m_editHandle, QStringLiteral("3,4")),
                 QStringLiteral("123 4567"));
        QCOMPARE(ask(QStringLiteral("set 123 456 789")), QStringLiteral("ok"));
        QTRY_COMPARE(ReadWindowText(*m_link, m_editHandle), QStringLiteral("123 456 789"));
    }

    void theTextBoxIsFoundThroughItsViewport() {
        const auto hit = hitUntilRead(m_plain.center(), QStringLiteral("3 5 7\n9"));
        QVERIFY2(hit, "the target's text box was not read");
        QVERIFY(hit->handle != m_editHandle);
        QCOMPARE(ReadWindowDigits(*m_link, hit->handle), QStringLiteral("357"));
    }

    void dragTheHandOntoTheOtherProgram() {
        QWidget window;
        window.setWindowTitle(QStringLiteral("手形图标"));
        HandPicker picker(*m_link, &window);
        window.setGeometry(40, 120, 160, 240);
        picker.setGeometry(10, 10, 140, 220);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QSignalSpy picked(&picker, &HandPicker::windowPicked);
        QString readAtSignal;
        connect(&picker, &HandPicker::windowPicked, this, [&](int, quint64 h) {
            readAtSignal = ReadWindowText(*m_link, h, QStringLiteral("3"));
        });

        QLabel* hand = picker.hand(0);
        movePointer(hand->mapToGlobal(hand->rect().center()));
        xdotool({QStringLiteral("mousedown"), QStringLiteral("1")});
        QTRY_VERIFY(picker.isDragging());
        QTRY_COMPARE(QWidget::mouseGrabber(), hand);
        // Over to the other program's line edit, in a few steps as a hand would move.
        const QPoint from = hand->mapToGlobal(hand->rect().center());
        for (int step = 1; step <= 5; ++step) {
            const QPoint at = from + (m_edit.center() - from) * step / 5;
            movePointer(at);
            QTRY_COMPARE(QCursor::pos(), at);
        }
        QTRY_VERIFY_WITH_TIMEOUT(picker.outline() && picker.outline()->isVisible(), 3000);
        QTRY_VERIFY(picker.hoverRect().contains(m_edit.center()));
        QVERIFY(window.isVisible());
        const QString shot = qEnvironmentVariableIsSet("ZUOHAO_OUTLINE_SHOT")
                                 ? qEnvironmentVariable("ZUOHAO_OUTLINE_SHOT")
                                 : QStringLiteral(ZUOHAO_BUILD_DIR "/tests/outline-drag.png");
        // The screen shows the blue frame where the line edit is, once the X server drew it.
        const QRect r = picker.hoverRect();
        QImage screen;
        const auto frameOnScreen = [&] {
            if (QProcess::execute(QStringLiteral("import"),
                                  {QStringLiteral("-window"), QStringLiteral("root"), shot}) != 0)
                return false;
            screen = QImage(shot);
            return !screen.isNull() &&
                   screen.pixelColor(r.left() + 1, r.center().y()) == QColor(0, 0, 255);
        };
        QTRY_VERIFY_WITH_TIMEOUT(frameOnScreen(), 10000);
        QVERIFY(screen.pixelColor(r.center()) != QColor(0, 0, 255));

        xdotool({QStringLiteral("mouseup"), QStringLiteral("1")});
        QTRY_COMPARE(picked.count(), 1);
        QVERIFY(!picker.isDragging());
        QCOMPARE(picked.at(0).at(0).toInt(), 0);
        const WindowHandle h = picked.at(0).at(1).toULongLong();
        QVERIFY(h != 0);
        QCOMPARE(picker.handleLabel(0)->text(), QString::number(h));
        QCOMPARE(m_link->backendOf(h), m_link->otherLink());
        QCOMPARE(readAtSignal, QStringLiteral("123 456 789"));
        QTRY_VERIFY(!picker.outline()->isVisible());
    }

    void aProgramOffTheBusReadsItsTitle() {
        // A program that is not on the accessibility bus still has a window and a title.
        QProcess bare;
        bare.setProcessEnvironment(QProcessEnvironment::systemEnvironment());
        bare.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        bare.start(QStringLiteral(ZUOHAO_WINLINK_TARGET),
                   {QStringLiteral("400"), QStringLiteral("420"), QStringLiteral("123 456")});
        QVERIFY(bare.waitForStarted(5000));
        QRect edit;
        while (!edit.isValid() && bare.waitForReadyRead(10000)) {
            while (bare.canReadLine()) {
                const QStringList p = QString::fromUtf8(bare.readLine()).trimmed().split(u' ');
                if (p.size() == 5 && p[0] == QLatin1String("edit"))
                    edit = QRect(p[1].toInt(), p[2].toInt(), p[3].toInt(), p[4].toInt());
            }
        }
        QVERIFY(edit.isValid());
        // Until the window manager has it on the screen.
        std::optional<WindowHit> hit;
        QTRY_VERIFY_WITH_TIMEOUT((hit = m_link->windowAt(edit.center())) &&
                                     m_link->backendOf(hit->handle) == m_link->otherLink(),
                                 10000);
        QCOMPARE(m_link->backendOf(hit->handle), m_link->otherLink());
        // The outline is the window's: nothing finer is known.
        QVERIFY(hit->rect.contains(edit));
        QCOMPARE(ReadWindowText(*m_link, hit->handle), QStringLiteral("123 456"));
        QCOMPARE(ReadWindowText(*m_link, hit->handle, QStringLiteral("3")),
                 QStringLiteral("123 456"));
        bare.closeWriteChannel(); // end of its input: it quits
        QVERIFY(bare.waitForFinished(5000));
        QTRY_COMPARE(ReadWindowText(*m_link, hit->handle), QString());
    }

    void aProgramThatDoesNotAnswerReadsEmpty() {
        QVERIFY(m_editHandle != 0);
        QCOMPARE(ask(QStringLiteral("hang 6")), QStringLiteral("ok"));
        QSignalSpy status(m_link.get(), &DesktopWindowLink::statusMessage);
        QElapsedTimer clock;
        clock.start();
        QCOMPARE(ReadWindowText(*m_link, m_editHandle, QStringLiteral("3")), QString());
        const qint64 firstRead = clock.elapsed();
        QCOMPARE(status.count(), 1);
        QCOMPARE(status.at(0).at(0).toString(), NoAnswerText(m_editHandle));
        // The window is still there: it only does not answer.
        QVERIFY(m_link->exists(m_editHandle));
        // The link gives up after its answer time instead of waiting out the six seconds.
        QVERIFY2(firstRead < 4000, qPrintable(QString::number(firstRead)));
        clock.restart();
        QCOMPARE(ReadWindowText(*m_link, m_editHandle), QString());
        const qint64 secondRead = clock.elapsed();
        qInfo("no answer: first read gave up after %lld ms, the next one after %lld ms", firstRead,
              secondRead);
        QCOMPARE(status.count(), 2);
        // Once the program answers again, so does the link.
        QTRY_COMPARE_WITH_TIMEOUT(ReadWindowText(*m_link, m_editHandle),
                                  QStringLiteral("123 456 789"), 20000);
    }

    void aClosedProgramReadsEmpty() {
        QVERIFY(m_editHandle != 0);
        m_target.process().write("quit\n");
        QVERIFY(m_target.process().waitForFinished(5000));
        QTRY_VERIFY(!m_link->exists(m_editHandle));
        QCOMPARE(ReadWindowText(*m_link, m_editHandle), QString());
        QCOMPARE(ReadWindowText(*m_link, m_editHandle, QStringLiteral("3")), QString());
        QCOMPARE(ReadWindowDigits(*m_link, m_editHandle), QString());
        // Nothing of it is found on the screen any more.
        const auto hit = m_link->windowAt(m_edit.center());
        QVERIFY(!hit || ReadWindowText(*m_link, hit->handle) != QStringLiteral("123 456 789"));
    }
};

QTEST_MAIN(DesktopLinkTest)
#include "test_desktop_link.moc"
