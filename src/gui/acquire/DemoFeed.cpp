#include "gui/acquire/DemoFeed.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QRandomGenerator>

#include "core/acquire/Feed.h"

namespace zuohao::gui {

DemoFeed::DemoFeed(int intervalSeconds, QObject* parent)
    : DemoFeed(std::chrono::seconds(intervalSeconds > 0 ? intervalSeconds : 60), parent) {}

DemoFeed::DemoFeed(std::chrono::milliseconds interval, QObject* parent)
    : QObject(parent), m_interval(interval),
      m_dir(QDir(QDir::tempPath()).filePath(QStringLiteral("zuohao-demo-XXXXXX"))) {
    connect(&m_timer, &QTimer::timeout, this, &DemoFeed::addDraw);
}

DemoFeed::~DemoFeed() = default;

bool DemoFeed::start() {
    if (m_writer) return true;
    if (!m_dir.isValid()) {
        m_error = QStringLiteral("无法建立临时文件夹: ") + m_dir.errorString();
        return false;
    }
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
    m_timer.start(m_interval);
    return true;
}

void DemoFeed::addDraw() {
    m_writer->addDraws(1);
    if (auto r = m_writer->write(); !r) {
        m_error = QString::fromStdString(r.error());
        return;
    }
    emit drawAdded();
}

} // namespace zuohao::gui
