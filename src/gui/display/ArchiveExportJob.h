#pragma once
// An export of the archive that runs on a thread of its own with a connection of its own, so
// that a year of draws never holds up the window; it can be cancelled, and a cancelled or
// failed export leaves no file (and any old file as it was).
#include <QObject>
#include <QString>
#include <QThread>
#include <atomic>
#include <memory>

#include "store/CsvExport.h"

namespace zuohao::gui {

class ArchiveExportJob : public QObject {
    Q_OBJECT
public:
    ArchiveExportJob(QString archivePath, store::ExportRequest request, QString outPath,
                     QObject* parent = nullptr);
    ~ArchiveExportJob() override; // cancels and waits for the thread

    void start();
    void cancel() { m_cancel = true; }
    bool running() const { return m_thread && m_thread->isRunning(); }

signals:
    void progress(qint64 written);
    // `error` is empty on success.
    void finished(qint64 written, const QString& error);

private:
    void run(); // on the job's thread

    QString m_archivePath;
    store::ExportRequest m_request;
    QString m_outPath;
    std::atomic<bool> m_cancel{false};
    std::unique_ptr<QThread> m_thread;
};

} // namespace zuohao::gui
