#pragma once
// The demonstration draw feed: a draw file of its own in a temporary folder, written the way
// the betting program writes its file (newest draw first), with a new draw on top every
// interval, the first one a moment after the start. The folder and file go when the feed is
// destroyed; a folder left behind by a demo that was killed is removed when the next demo starts
// (each live demo holds a lock file in its folder).
#include <QLockFile>
#include <QObject>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>
#include <chrono>
#include <memory>

namespace zuohao {
class FeedWriter;
}

namespace zuohao::gui {

class DemoFeed : public QObject {
    Q_OBJECT
public:
    explicit DemoFeed(double intervalSeconds = 60, QObject* parent = nullptr);
    DemoFeed(std::chrono::milliseconds interval, QObject* parent);
    ~DemoFeed() override;

    // Writes the history (kHistory draws) and starts adding draws. False, with error()
    // telling why, when the file cannot be written.
    bool start();
    // The draw file.
    QString path() const { return m_path; }
    QString error() const { return m_error; }

    static constexpr int kHistory = 120;
    // The first new draw after the history: soon, whatever the interval.
    static constexpr std::chrono::milliseconds kFirstDrawDelay{3000};
    static constexpr const char* kFolderPattern = "zuohao-demo-*"; // in the temporary folder
    static constexpr const char* kLockName = "demo.lock";

    // Removes the demo folders in `tempFolder` whose demo is gone; how many went.
    static int removeStaleFolders(const QString& tempFolder);

signals:
    // A new draw has been written on top of the file.
    void drawAdded();

private:
    void addDraw();

    std::chrono::milliseconds m_interval;
    QTemporaryDir m_dir;
    std::unique_ptr<QLockFile> m_lock; // held while the demo runs
    QString m_path;
    QString m_error;
    std::unique_ptr<FeedWriter> m_writer;
    QTimer m_timer;
};

} // namespace zuohao::gui
