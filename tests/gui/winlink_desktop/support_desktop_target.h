#pragma once
// The other program of the desktop tests (support_target_window.cpp) on this X11 desktop: it
// is started with accessibility on, tells where its line edit and two-line text box are, and
// answers commands on its standard input. And a desktop link whose accessibility bus is
// ready. Needs the desktop of run_desktop.sh.
#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
#include <QStringList>
#include <QTest>
#include <memory>
#include <optional>

#include "gui/winlink/DesktopWindowLink.h"
#include "gui/winlink/X11AtspiLink.h"

namespace zuohao::test {

class DesktopTarget {
public:
    ~DesktopTarget() { stop(); }

    // Starts the program at (400, 120); empty when it runs and has told its boxes, else why
    // not.
    QString start() {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("QT_LINUX_ACCESSIBILITY_ALWAYS_ON"), QStringLiteral("1"));
        env.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("xcb"));
        m_process.setProcessEnvironment(env);
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start(QStringLiteral(ZUOHAO_WINLINK_TARGET),
                        {QStringLiteral("400"), QStringLiteral("120")});
        if (!m_process.waitForStarted(5000)) return QStringLiteral("the target did not start");
        for (int lines = 0; lines < 3;) {
            if (!m_process.canReadLine()) {
                if (!m_process.waitForReadyRead(10000))
                    return QStringLiteral("the target program did not start");
                continue;
            }
            const QStringList parts = QString::fromUtf8(m_process.readLine()).trimmed().split(u' ');
            ++lines;
            if (parts.size() == 5) {
                const QRect r(parts[1].toInt(), parts[2].toInt(), parts[3].toInt(),
                              parts[4].toInt());
                (parts[0] == QLatin1String("edit") ? m_edit : m_plain) = r;
            }
        }
        if (!m_edit.isValid() || !m_plain.isValid())
            return QStringLiteral("the target did not tell its boxes");
        return {};
    }

    void stop() {
        if (m_process.state() == QProcess::NotRunning) return;
        m_process.kill();
        m_process.waitForFinished(3000);
    }

    // Sends a command to the program and waits for its answer line.
    QString ask(const QString& command) {
        m_process.write((command + u'\n').toUtf8());
        if (!m_process.waitForReadyRead(5000)) return {};
        return QString::fromUtf8(m_process.readLine()).trimmed();
    }

    QProcess& process() { return m_process; }
    QRect edit() const { return m_edit; }   // the line edit on the screen
    QRect plain() const { return m_plain; } // the two-line text box

private:
    QProcess m_process;
    QRect m_edit;
    QRect m_plain;
};

// A desktop link whose accessibility side is ready; null, with `why` set, when it is not.
inline std::unique_ptr<gui::DesktopWindowLink> ReadyDesktopLink(QString& why) {
    auto link = gui::DesktopWindowLink::create();
    auto* other = dynamic_cast<gui::X11AtspiLink*>(link->otherLink());
    if (!other || !other->waitReady(10000)) {
        why = other ? other->unavailableReason() : link->unavailableReason();
        return nullptr;
    }
    return link;
}

// The target registers on the accessibility bus some time after it shows its window: looks
// until the object under `p` is the other program's and reads `expected`, 20 seconds at most.
inline std::optional<gui::WindowHit> HitUntilRead(gui::DesktopWindowLink& link, const QPoint& p,
                                                  const QString& expected) {
    QElapsedTimer clock;
    clock.start();
    while (clock.elapsed() < 20000) {
        const auto hit = link.windowAt(p);
        if (hit && link.backendOf(hit->handle) == link.otherLink() &&
            gui::ReadWindowText(link, hit->handle) == expected)
            return hit;
        QTest::qWait(200);
    }
    return std::nullopt;
}

} // namespace zuohao::test
