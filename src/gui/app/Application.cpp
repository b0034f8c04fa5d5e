#include "gui/app/Application.h"

#include <QApplication>
#include <QTextStream>

#include "gui/app/LotteryForm.h"
#include "gui/common/Fonts.h"
#include "gui/common/Seams.h"
#include "gui/monitor/AlarmSound.h"

namespace zuohao::gui {

std::optional<AppOptions> ParseAppOptions(const QStringList& args, QString* error) {
    AppOptions o;
    for (int i = 1; i < args.size(); ++i) {
        const QString& a = args[i];
        auto value = [&](QString* out) {
            if (i + 1 >= args.size()) {
                *error = QStringLiteral("missing value for %1").arg(a);
                return false;
            }
            *out = args[++i];
            return true;
        };
        QString v;
        if (a == QLatin1String("--demo")) {
            o.demo = true;
        } else if (a == QLatin1String("--demo-interval")) {
            if (!value(&v)) return std::nullopt;
            bool ok = false;
            o.demoInterval = v.toDouble(&ok);
            if (!ok || o.demoInterval < kShortestDemoInterval) {
                *error =
                    QStringLiteral("--demo-interval needs a number of seconds (at least %1): %2")
                        .arg(kShortestDemoInterval)
                        .arg(v);
                return std::nullopt;
            }
        } else if (a == QLatin1String("--poll-interval")) {
            if (!value(&v)) return std::nullopt;
            bool ok = false;
            o.pollMs = v.toInt(&ok);
            if (!ok || o.pollMs < kShortestPollMs) {
                *error = QStringLiteral("--poll-interval needs milliseconds (at least %1): %2")
                             .arg(kShortestPollMs)
                             .arg(v);
                return std::nullopt;
            }
        } else if (a == QLatin1String("--feed-log")) {
            if (!value(&o.feedLog)) return std::nullopt;
        } else if (a == QLatin1String("--draw-file")) {
            if (!value(&o.drawFile)) return std::nullopt;
        } else if (a == QLatin1String("--time-url")) {
            if (!value(&o.timeUrl)) return std::nullopt;
        } else if (a == QLatin1String("--ini")) {
            if (!value(&o.iniPath)) return std::nullopt;
        } else if (a == QLatin1String("--archive")) {
            if (!value(&o.archivePath)) return std::nullopt;
        } else {
            *error = QStringLiteral("unknown option: %1").arg(a);
            return std::nullopt;
        }
    }
    return o;
}

void UseChineseFont() {
    QFont f(ChineseFontFamily());
    f.setPointSize(9);
    QApplication::setFont(f);
}

int RunApplication(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuohao"));
    QString error;
    auto options = ParseAppOptions(QApplication::arguments(), &error);
    if (!options) {
        QTextStream(stderr) << error << "\nusage: zuohao [--demo] [--demo-interval S] "
                            << "[--draw-file PATH] [--time-url URL] [--ini PATH] [--archive PATH] "
                            << "[--poll-interval MS] [--feed-log PATH]\n";
        return 2;
    }
    UseChineseFont();
    setAlarmPlayer([] { AlarmSound::instance().play(); });
    LotteryForm form(*options);
    form.show();
    return app.exec();
}

} // namespace zuohao::gui
