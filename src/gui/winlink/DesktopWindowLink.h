#pragma once
// The window link the main window uses: this program's own widgets first, then other
// programs' windows through the backend this desktop offers (X11 with the accessibility
// bus; Win32 on Windows). It hands out its own handles and keeps which backend each came
// from; on Windows another program's window keeps its HWND as handle. Problems go to the status
// line through statusMessage: once why other programs cannot be read, and every time a window does
// not answer in time.
#include <QObject>
#include <map>
#include <memory>

#include "gui/winlink/WindowLink.h"

namespace zuohao::gui {

class DesktopWindowLink : public QObject, public WindowLink {
    Q_OBJECT
public:
    // `own` finds this program's widgets; `other` other programs' windows (may be null,
    // then `otherMissing` says why).
    DesktopWindowLink(std::unique_ptr<WindowLink> own, std::unique_ptr<WindowLink> other,
                      const QString& otherMissing, QObject* parent = nullptr);
    ~DesktopWindowLink() override;

    // The link for the desktop the program runs on.
    static std::unique_ptr<DesktopWindowLink> create(QObject* parent = nullptr);

    std::optional<WindowHit> windowAt(const QPoint& screenPos) override;
    bool exists(WindowHandle handle) override;
    WindowRead readText(WindowHandle handle) override;
    // Why other programs' windows cannot be read; empty when they can.
    QString unavailableReason() override;

    // Other programs' windows keep the backend's own handles (Windows: the HWND, which the
    // hand's label then shows); this program's widgets get numbers above the 32-bit range
    // that window handles use.
    void keepOtherHandles();

    // The backend a handle came from (nullptr for an unknown handle) and its own handle.
    WindowLink* backendOf(WindowHandle handle, WindowHandle* inner = nullptr) const;
    WindowLink* ownLink() const { return m_own.get(); }
    WindowLink* otherLink() const { return m_other.get(); }

signals:
    void statusMessage(const QString& text);

private:
    WindowHandle handleOf(WindowLink* backend, WindowHandle inner);
    bool otherUsable();
    void reportNoAnswer(WindowHandle handle);

    std::unique_ptr<WindowLink> m_own;
    std::unique_ptr<WindowLink> m_other;
    QString m_problem;   // why there is no backend for other programs
    bool m_told = false; // the problem has been shown once
    struct Entry {
        WindowLink* backend;
        WindowHandle inner;
    };
    std::map<WindowHandle, Entry> m_entries;
    WindowHandle m_next = 1;
    bool m_keepOtherHandles = false;
};

// The status-line texts of the link.
QString CannotReadOthersText(const QString& reason);
QString NoAnswerText(WindowHandle handle);

} // namespace zuohao::gui
