#pragma once
// The main window's link to the draw archive: opens it at start-up, writes every draw that
// enters a lottery in the same poll (one transaction per poll), records corrected numbers,
// and opens the "历史" window. Trouble with the archive never stops the program: it is told
// in the status line and the program goes on without (or with a fresh) archive.
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "store/DrawArchive.h"

class QLineEdit;
class QPushButton;
class QWidget;

namespace zuohao::gui {

class ArchiveHistoryWindow;
class DemoFeed;
class LotteryForm;
struct AppOptions;

class ArchiveLink : public QObject {
    Q_OBJECT
public:
    // `window` parents the history window. `sourceName` names where the draws of the current poll
    // come from (the draw file, or "demo"); `showStatus` writes the status line.
    ArchiveLink(QWidget* window, std::function<std::string()> sourceName,
                std::function<void(const QString&)> showStatus);
    ~ArchiveLink() override;

    // The main window's archive: --archive PATH, else the demo's own in its folder, else the
    // user's; draws are named after the path box (or "demo"); the "历史" button goes beside
    // `beside` and opens the history of the active lottery.
    static std::unique_ptr<ArchiveLink> attach(LotteryForm& form, const AppOptions& options,
                                               const DemoFeed* demo, const QLineEdit* pathBox,
                                               QWidget* beside);

    // draws.sqlite in the user's data folder (made when missing).
    static QString defaultPath();
    // Opens the archive at `path`; on failure the program runs without one.
    void open(const QString& path);

    // Called by the lottery observers.
    void drawEntered(const std::string& lottery, const std::string& qishu,
                     const std::string& haoma);
    void drawCorrected(const std::string& lottery, const std::string& qishu,
                       const std::string& newHaoma);
    // Writes the draws of the poll that has just ended (nothing when none entered).
    void flush();

    // A short text for the end of the status line while something about the archive is worth
    // telling (it was set aside, a write failed); empty otherwise.
    QString notice();

    // Puts the "历史" button beside `neighbour` in its layout.
    QPushButton* addHistoryButton(QWidget* neighbour);
    // Opens (or raises) the history window on `lottery`.
    void showHistory(const std::string& lottery);

    store::Archive* archive() const { return m_archive.get(); }
    QString path() const { return m_path; }
    ArchiveHistoryWindow* historyWindow() const { return m_history; }

private:
    struct Pending {
        std::string lottery;
        std::vector<store::DrawIn> draws;
    };
    void tell(const QString& text, int polls);

    QWidget* m_window;
    std::function<std::string()> m_sourceName;
    std::function<void(const QString&)> m_showStatus;
    std::unique_ptr<store::Archive> m_archive;
    QString m_path;
    QString m_unavailable; // why there is no archive
    std::vector<Pending> m_pending;
    QString m_notice;
    int m_noticePolls = 0; // polls the notice stays on
    ArchiveHistoryWindow* m_history = nullptr;
};

} // namespace zuohao::gui
