#include "gui/display/ArchiveExportJob.h"

#include <QDir>

namespace zuohao::gui {

namespace {
// On the lane. The output file is closed, or removed when unfinished, before it returns.
ExportEnd Export(const QString& archivePath, const store::ExportRequest& request,
                 const QString& outPath, const RunControl& control,
                 const std::function<void(std::int64_t)>& written) {
    ExportEnd end;
    auto archive = store::Archive::open(QDir::toNativeSeparators(archivePath).toStdString(),
                                        nullptr, store::OpenMode::ReadOnly);
    auto out = store::OutputFile::create(QDir::toNativeSeparators(outPath).toStdString());
    if (!archive) {
        end.error = QString::fromStdString(archive.error());
    } else if (!out) {
        end.error = QString::fromStdString(out.error());
    } else {
        auto done = store::ExportDraws(**archive, request, **out, [&](std::int64_t n) {
            written(n);
            return !control.cancelled();
        });
        if (done)
            end.written = *done;
        else
            end.error = control.cancelled() ? QStringLiteral("已取消")
                                            : QString::fromStdString(done.error());
    }
    return end;
}
} // namespace

BackgroundWork::TellingJob ArchiveExportJob(QString archivePath, store::ExportRequest request,
                                            QString outPath, std::function<void(qint64)> progress,
                                            std::function<void(const ExportEnd&)> finished) {
    return [archivePath = std::move(archivePath), request = std::move(request),
            outPath = std::move(outPath), progress = std::move(progress),
            finished = std::move(finished)](const RunControl& control,
                                            const BackgroundWork::Tell& tell) {
        const ExportEnd end = Export(archivePath, request, outPath, control,
                                     [&](std::int64_t n) { tell([progress, n] { progress(n); }); });
        return BackgroundWork::Apply([finished, end] { finished(end); });
    };
}

} // namespace zuohao::gui
