// The link the main window uses: own widgets before other programs, one set of handles
// over both, the status-line messages (once why other programs cannot be read, every time a
// window does not answer).
#include <QSignalSpy>
#include <QTest>

#include "gui/winlink/DesktopWindowLink.h"
#include "support_fake_link.h"

using namespace zuohao::gui;
using zuohao::gui::test::FakeLink;

namespace {
struct Links {
    FakeLink* own;
    FakeLink* other;
    std::unique_ptr<DesktopWindowLink> link;
};

Links make(bool withOther = true, const QString& missing = {}) {
    auto own = std::make_unique<FakeLink>();
    auto other = withOther ? std::make_unique<FakeLink>() : nullptr;
    Links l{own.get(), other.get(), nullptr};
    l.link = std::make_unique<DesktopWindowLink>(std::move(own), std::move(other), missing);
    return l;
}
} // namespace

class DesktopWindowLinkTest : public QObject {
    Q_OBJECT
private slots:
    void ownWidgetsComeFirst() {
        Links l = make();
        l.own->hit = WindowHit{5, QRect(1, 2, 3, 4)};
        l.own->windows[5] = {QStringLiteral("own"), ReadStatus::Ok};
        l.other->hit = WindowHit{5, QRect(9, 9, 9, 9)};
        const auto hit = l.link->windowAt(QPoint(10, 10));
        QVERIFY(hit);
        QCOMPARE(hit->rect, QRect(1, 2, 3, 4));
        QCOMPARE(l.other->windowAtCalls, 0);
        QCOMPARE(ReadWindowText(*l.link, hit->handle), QStringLiteral("own"));
    }

    // Windows: another program's window keeps its HWND as handle (the label shows it); own
    // widgets are numbered above every 32-bit window handle.
    void otherHandlesKeptWhenAsked() {
        Links l = make();
        l.link->keepOtherHandles();
        l.own->hit = WindowHit{5, QRect(1, 2, 3, 4)};
        l.own->windows[5] = {QStringLiteral("own"), ReadStatus::Ok};
        const WindowHandle ownHandle = l.link->windowAt(QPoint(1, 1))->handle;
        QVERIFY(ownHandle > 0xFFFFFFFFu);
        l.own->hit.reset();
        l.other->hit = WindowHit{0x2004C, QRect(9, 9, 9, 9)};
        l.other->windows[0x2004C] = {QStringLiteral("other"), ReadStatus::Ok};
        QCOMPARE(l.link->windowAt(QPoint(100, 100))->handle, WindowHandle(0x2004C));
        QCOMPARE(ReadWindowText(*l.link, 0x2004C), QStringLiteral("other"));
        QCOMPARE(ReadWindowText(*l.link, ownHandle), QStringLiteral("own"));
    }

    void otherProgramsWhereNoOwnWidget() {
        Links l = make();
        l.own->hit = WindowHit{5, QRect(1, 2, 3, 4)};
        l.own->windows[5] = {QStringLiteral("own"), ReadStatus::Ok};
        const WindowHandle ownHandle = l.link->windowAt(QPoint(1, 1))->handle;
        l.own->hit.reset();
        // The other backend numbers its windows itself; the same inner number must not be
        // confused with the own widget's.
        l.other->hit = WindowHit{5, QRect(9, 9, 9, 9)};
        l.other->windows[5] = {QStringLiteral("other"), ReadStatus::Ok};
        const auto hit = l.link->windowAt(QPoint(100, 100));
        QVERIFY(hit);
        QVERIFY(hit->handle != 0);
        QVERIFY(hit->handle != ownHandle);
        QCOMPARE(ReadWindowText(*l.link, hit->handle), QStringLiteral("other"));
        QCOMPARE(ReadWindowText(*l.link, ownHandle), QStringLiteral("own"));
        QCOMPARE(l.link->windowAt(QPoint(100, 100))->handle, hit->handle);
        WindowHandle inner = 0;
        QCOMPARE(l.link->backendOf(hit->handle, &inner), l.other);
        QCOMPARE(inner, WindowHandle(5));
    }

    void unknownHandlesAreGone() {
        Links l = make();
        QVERIFY(!l.link->exists(0));
        QVERIFY(!l.link->exists(42));
        QCOMPARE(l.link->readText(42).status, ReadStatus::Gone);
    }

    void aClosedWindowReadsEmpty() {
        Links l = make();
        l.other->hit = WindowHit{3, QRect(0, 0, 5, 5)};
        l.other->windows[3] = {QStringLiteral("123 456"), ReadStatus::Ok};
        const WindowHandle h = l.link->windowAt(QPoint(2, 2))->handle;
        QCOMPARE(ReadWindowText(*l.link, h, QStringLiteral("3")), QStringLiteral("123 456"));
        l.other->windows.erase(3);
        QVERIFY(!l.link->exists(h));
        QCOMPARE(ReadWindowText(*l.link, h, QStringLiteral("3")), QString());
    }

    void whyOthersCannotBeReadIsToldOnce() {
        Links l = make();
        l.other->unavailable = QStringLiteral("辅助功能总线不可用");
        l.own->hit = WindowHit{1, QRect(0, 0, 2, 2)};
        QSignalSpy spy(l.link.get(), &DesktopWindowLink::statusMessage);
        QVERIFY(l.link->windowAt(QPoint(1, 1))); // own widget: nothing to tell yet
        QCOMPARE(spy.count(), 0);
        l.own->hit.reset();
        l.other->hit = WindowHit{1, QRect(0, 0, 2, 2)};
        QVERIFY(!l.link->windowAt(QPoint(50, 50)));
        QVERIFY(!l.link->windowAt(QPoint(60, 60)));
        QCOMPARE(l.other->windowAtCalls, 0);
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(),
                 CannotReadOthersText(QStringLiteral("辅助功能总线不可用")));
        QCOMPARE(l.link->unavailableReason(), QStringLiteral("辅助功能总线不可用"));
    }

    void noOtherBackendAtAll() {
        Links l = make(false, QStringLiteral("桌面不是 X11"));
        QSignalSpy spy(l.link.get(), &DesktopWindowLink::statusMessage);
        QVERIFY(!l.link->windowAt(QPoint(5, 5)));
        QVERIFY(!l.link->windowAt(QPoint(5, 5)));
        QCOMPARE(spy.count(), 1);
        QVERIFY(spy.at(0).at(0).toString().contains(QStringLiteral("桌面不是 X11")));
    }

    void aWindowThatDoesNotAnswerIsReportedAndReadsEmpty() {
        Links l = make();
        l.other->hit = WindowHit{8, QRect(0, 0, 5, 5)};
        l.other->windows[8] = {QStringLiteral("123"), ReadStatus::NoAnswer};
        QSignalSpy spy(l.link.get(), &DesktopWindowLink::statusMessage);
        const WindowHandle h = l.link->windowAt(QPoint(1, 1))->handle;
        QCOMPARE(spy.count(), 0);
        QCOMPARE(ReadWindowText(*l.link, h), QString());
        QCOMPARE(spy.count(), 1);
        QCOMPARE(spy.at(0).at(0).toString(), NoAnswerText(h));
        // A hit test that got no answer inside the window says so as well.
        l.other->hit = WindowHit{9, QRect(0, 0, 5, 5), false};
        const WindowHandle bare = l.link->windowAt(QPoint(1, 1))->handle;
        QCOMPARE(spy.count(), 2);
        QCOMPARE(spy.at(1).at(0).toString(), NoAnswerText(bare));
    }

    void createdForThisDesktop() {
        auto link = DesktopWindowLink::create();
        QVERIFY(link->ownLink());
#ifdef _WIN32
        // Windows reads every program's windows through Win32.
        QVERIFY(link->otherLink());
#else
        // Offscreen there is no X11 desktop: own widgets only, and a reason for the rest.
        QVERIFY(!link->otherLink());
        QVERIFY(!link->unavailableReason().isEmpty());
#endif
    }
};

QTEST_MAIN(DesktopWindowLinkTest)
#include "test_desktop_window_link.moc"
