#include "gui/acquire/DemoFeed.h"

#include <QDate>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRandomGenerator>
#include <algorithm>

#include "core/acquire/Feed.h"

namespace zuohao::gui {

DemoFeed::DemoFeed(double intervalSeconds, QObject* parent)
    : DemoFeed(std::chrono::milliseconds(intervalSeconds > 0
                                             ? std::max<qint64>(1, qint64(intervalSeconds * 1000))
                                             : 60000),
               parent) {}

DemoFeed::DemoFeed(std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), m_interval(interval),
      m_dir(QDir(QDir::tempPath()).filePath(QStringLiteral("zuohao-demo-XXXXXX"))) {
    connect(&m_timer, &QTimer::timeout, this, &DemoFeed::addDraw);
}

DemoFeed::~DemoFeed() {
    if (m_lock) m_lock->unlock(); // before the folder goes
}

int DemoFeed::removeStaleFolders(const QString& tempFolder) {
    // A folder without a lock file is from a version that kept none, or one being made this
    // moment: it goes only when it is plainly old.
    constexpr qint64 kLocklessAgeSeconds = 24 * 3600;
    const QDateTime now = QDateTime::currentDateTime();
    int removed = 0;
    const QFileInfoList folders =
        QDir(tempFolder).entryInfoList({QString::fromLatin1(kFolderPattern)}, QDir::Dirs);
    for (const QFileInfo& folder : folders) {
        const QString lockPath = QDir(folder.filePath()).filePath(QString::fromLatin1(kLockName));
        bool stale = false;
        if (QFileInfo::exists(lockPath)) {
            // A lock whose process is gone is taken over at once.
            QLockFile lock(lockPath);
            lock.setStaleLockTime(0); // a live demo's lock is never stale for its age
            stale = lock.tryLock(0);
            if (stale) lock.unlock();
        } else {
            stale = folder.lastModified().secsTo(now) > kLocklessAgeSeconds;
        }
        if (stale && QDir(folder.filePath()).removeRecursively()) ++removed;
    }
    return removed;
}

bool DemoFeed::start() {
    if (m_writer) return true;
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("无法建立临时文件夹: ") + m_dir.errorString();
        return false;
    }
    m_lock = std::make_unique<QLockFile>(m_dir.filePath(QString::fromLatin1(kLockName)));
    m_lock->setStaleLockTime(0); // only a dead owner makes it stale, never its age
    m_lock->tryLock(0);
    removeStaleFolders(QFileInfo(m_dir.path()).absolutePath());
    m_path = m_dir.filePath(QStringLiteral("demo-draws.txt"));
    // Period labels of today, numbered by the minute as a minute lottery counts them.
    const QString firstLabel =
        QDate::currentDate().toString(QStringLiteral("yyyyMMdd")) + QStringLiteral("0001");
    m_writer = std::make_unique<FeedWriter>(QFile::encodeName(m_path).toStdString(),
                                            QRandomGenerator::global()->generate64(),
                                            firstLabel.toStdString());
    m_writer->addDraws(kHistory);
    if (auto r = m_writer->write(); !r) {
        m_error = QString::fromStdString(r.error());
        m_writer.reset();
        return false;
    }
    // The first new draw comes at once, not an interval later: a player trying the demo
    // sees a draw arrive before deciding anything.
    m_timer.start(std::min(m_interval, kFirstDrawDelay));
    return true;
}

void DemoFeed::addDraw() {
    if (m_timer.interval() != int(m_interval.count())) m_timer.setInterval(m_interval);
    m_writer->addDraws(1);
    if (auto r = m_writer->write(); !r) {
        m_error = QString::fromStdString(r.error());
        return;
    }
    emit drawAdded();
}

} // namespace zuohao::gui
