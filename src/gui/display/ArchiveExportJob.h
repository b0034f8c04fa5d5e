#pragma once
// An export of the archive as a job of a background lane: it reads through a connection of its
// own, so that a year of draws never holds up the window; it stops when cancelled, and a
// cancelled or failed export leaves no file (and any old file as it was).
#include <QString>
#include <functional>

#include "gui/common/BackgroundWork.h"
#include "store/CsvExport.h"

namespace zuohao::gui {

struct ExportEnd {
    qint64 written = 0;
    QString error; // empty on success; "已取消" when cancelled
};

// The job that writes `request` of the archive at `archivePath` into `outPath`. Post it with
// BackgroundWork::Mode::Report: `progress` gets the draws written so far and `finished` the
// outcome, both on the GUI thread, and `finished` also when it was cancelled.
BackgroundWork::TellingJob ArchiveExportJob(QString archivePath, store::ExportRequest request,
                                            QString outPath, std::function<void(qint64)> progress,
                                            std::function<void(const ExportEnd&)> finished);

} // namespace zuohao::gui
