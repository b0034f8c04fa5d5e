#include "gui/display/ArchiveExportJob.h"

#include <QDir>

namespace zuohao::gui {

ArchiveExportJob::ArchiveExportJob(QString archivePath, store::ExportRequest request,
                                   QString outPath, QObject* parent)
    : QObject(parent), m_archivePath(std::move(archivePath)), m_request(std::move(request)),
      m_outPath(std::move(outPath)) {}

ArchiveExportJob::~ArchiveExportJob() {
    m_cancel = true;
    if (m_thread) m_thread->wait();
}

void ArchiveExportJob::start() {
    if (m_thread) return;
    m_thread.reset(QThread::create([this] { run(); }));
    m_thread->start();
}

void ArchiveExportJob::run() {
    qint64 written = 0;
    QString error;
    auto archive = store::Archive::open(QDir::toNativeSeparators(m_archivePath).toStdString(),
                                        nullptr, store::OpenMode::ReadOnly);
    auto out = store::OutputFile::create(QDir::toNativeSeparators(m_outPath).toStdString());
    if (!archive) {
        error = QString::fromStdString(archive.error());
    } else if (!out) {
        error = QString::fromStdString(out.error());
    } else {
        auto done = store::ExportDraws(**archive, m_request, **out, [this](std::int64_t n) {
            QMetaObject::invokeMethod(this, [this, n] { emit progress(n); });
            return !m_cancel;
        });
        if (done)
            written = *done;
        else
            error = m_cancel ? QStringLiteral("已取消") : QString::fromStdString(done.error());
    }
    // Reported on the window's thread; dropped if the job is gone by then.
    QMetaObject::invokeMethod(this, [this, written, error] { emit finished(written, error); });
}

} // namespace zuohao::gui
