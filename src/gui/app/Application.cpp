#include "gui/app/Application.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTextStream>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <optional>

#include "gui/app/LotteryForm.h"
#include "gui/common/Fonts.h"
#include "gui/common/QtTranslations.h"
#include "gui/common/Seams.h"
#include "gui/monitor/AlarmSound.h"

#ifndef ZUOHAO_VERSION
#define ZUOHAO_VERSION "unknown"
#endif

namespace zuohao::gui {

namespace {

// Qt's own options: QApplication reads and removes them; the parser only lets them pass.
struct QtOption {
    const char* name;
    bool valued;
};
constexpr QtOption kQtOptions[] = {
    {"platform", true},        {"platformpluginpath", true},
    {"platformtheme", true},   {"plugin", true},
    {"qwindowgeometry", true}, {"qwindowicon", true},
    {"qwindowtitle", true},    {"reverse", false},
    {"session", true},         {"display", true},
    {"geometry", true},        {"style", true},
    {"stylesheet", true},      {"widgetcount", false},
    {"qmljsdebugger", true},   {"nograb", false},
    {"dograb", false},         {"sync", false},
};

QString usageErrorText(const QString& message) {
    return message + QStringLiteral("\nsee `zuohao --help`\n");
}

bool readNumber(const QString& text, int lowest, int* out) {
    bool ok = false;
    *out = text.toInt(&ok);
    return ok && *out >= lowest;
}

// A number of seconds, fractions allowed (a soak test feeds draws faster than one a second).
bool readSeconds(const QString& text, double* out) {
    bool ok = false;
    *out = text.toDouble(&ok);
    return ok && *out >= kShortestDemoInterval;
}

} // namespace

CommandLine ParseCommandLine(const QStringList& args) {
    using Action = CommandLine::Action;
    QCommandLineParser p;
    p.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    p.setApplicationDescription(QStringLiteral(
        "做号计划 (zuohao): the desktop number-making and plan tool for minute lotteries.\n"
        "It reads the draws from the file an auto-betting program keeps writing, shows\n"
        "their statistics, reduces the number space to a base set, runs a plan scored\n"
        "中/挂 and monitors it with an alarm. zuohao-cli does the same work headless.\n\n"
        "Exit status: 0 when the window was closed, 2 for a usage error."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")},
                                  QStringLiteral("Show this help."));
    const QCommandLineOption version(QStringLiteral("version"),
                                     QStringLiteral("Show the version."));
    const QCommandLineOption demo(
        QStringLiteral("demo"),
        QStringLiteral("Run on a draw file of its own in a temporary folder, "
                       "with a new draw on top at intervals, and an "
                       "archive of its own: no betting program needed."));
    const QCommandLineOption demoInterval(
        QStringLiteral("demo-interval"),
        QStringLiteral("With --demo: a new draw every S seconds (default 60; fractions such as "
                       "0.1 allowed)."),
        QStringLiteral("S"));
    const QCommandLineOption drawFile(
        QStringLiteral("draw-file"),
        QStringLiteral("The draw file for this run instead of the stored setting."),
        QStringLiteral("PATH"));
    const QCommandLineOption timeUrl(
        QStringLiteral("time-url"),
        QStringLiteral("The time service asked at every refresh (an HTTP(S) GET answering a "
                       "date-time text). Without it the local clock is the server time and no "
                       "request is sent."),
        QStringLiteral("URL"));
    const QCommandLineOption ini(
        QStringLiteral("ini"),
        QStringLiteral("The settings file (default zelkwt.ini in the user's configuration "
                       "folder)."),
        QStringLiteral("PATH"));
    const QCommandLineOption archive(
        QStringLiteral("archive"),
        QStringLiteral("The draw archive for this run instead of the user's draws.sqlite."),
        QStringLiteral("PATH"));
    const QCommandLineOption poll(
        QStringLiteral("poll-interval"),
        QStringLiteral("How often the draw file is read, in milliseconds (default %1, at least "
                       "%2).")
            .arg(kDefaultPollMs)
            .arg(kShortestPollMs),
        QStringLiteral("MS"));
    const QCommandLineOption feedLog(
        QStringLiteral("feed-log"),
        QStringLiteral("Append a line per draw as it enters or is corrected to PATH."),
        QStringLiteral("PATH"));
    p.addOptions(
        {help, version, demo, demoInterval, drawFile, timeUrl, ini, archive, poll, feedLog});
    for (const QtOption& q : kQtOptions) {
        QCommandLineOption o(QString::fromLatin1(q.name));
        if (q.valued) o.setValueName(QStringLiteral("VALUE"));
        o.setFlags(QCommandLineOption::HiddenFromHelp);
        p.addOption(o);
    }

    CommandLine line;
    if (!p.parse(args)) {
        line.action = Action::UsageError;
        line.text = usageErrorText(p.errorText());
        return line;
    }
    if (p.isSet(help)) {
        line.action = Action::Help;
        line.text =
            p.helpText().replace(QStringLiteral("<executable_name>"), QStringLiteral("zuohao"));
        return line;
    }
    if (p.isSet(version)) {
        line.action = Action::Version;
        line.text = QStringLiteral("zuohao %1\n").arg(QStringLiteral(ZUOHAO_VERSION));
        return line;
    }
    auto error = [&line](const QString& message) {
        line.action = Action::UsageError;
        line.text = usageErrorText(message);
        return line;
    };
    if (!p.positionalArguments().isEmpty())
        return error(
            QStringLiteral("unexpected argument: %1").arg(p.positionalArguments().first()));
    AppOptions& o = line.options;
    o.demo = p.isSet(demo);
    if (p.isSet(demoInterval) && !readSeconds(p.value(demoInterval), &o.demoInterval))
        return error(QStringLiteral("--demo-interval needs a number of seconds (at least %1): %2")
                         .arg(kShortestDemoInterval)
                         .arg(p.value(demoInterval)));
    if (p.isSet(poll) && !readNumber(p.value(poll), kShortestPollMs, &o.pollMs))
        return error(QStringLiteral("--poll-interval needs milliseconds (at least %1): %2")
                         .arg(kShortestPollMs)
                         .arg(p.value(poll)));
    o.feedLog = p.value(feedLog);
    o.drawFile = p.value(drawFile);
    o.timeUrl = p.value(timeUrl);
    o.iniPath = p.value(ini);
    o.archivePath = p.value(archive);
    return line;
}

int AnswerCommandLine(const CommandLine& line) {
    const bool failed = line.action == CommandLine::Action::UsageError;
    FILE* out = failed ? stderr : stdout;
    const QByteArray text = line.text.toLocal8Bit();
    errno = 0;
    const bool written = std::fwrite(text.constData(), 1, std::size_t(text.size()), out) ==
                             std::size_t(text.size()) &&
                         std::fflush(out) == 0 && !std::ferror(out);
    if (!written) {
        // Output that never reached its file is a failure, as in zuohao-cli.
        std::fprintf(stderr, "zuohao: cannot write the %s: %s\n",
                     failed ? "standard error" : "standard output",
                     errno ? std::strerror(errno) : "write error");
        return 1;
    }
    return failed ? 2 : 0;
}

namespace {
// Why the windows cannot be shown on this system, or nothing. Qt would abort (exit 134) with
// an advice to reinstall; one line that names the cause is clearer.
std::optional<QString> missingDisplay(const QStringList& args) {
#if defined(Q_OS_UNIX) && !defined(Q_OS_MACOS)
    if (args.contains(QStringLiteral("-platform"))) return std::nullopt; // chosen by the caller
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    const bool onDisplay =
        platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
    if (!onDisplay || !qEnvironmentVariableIsEmpty("DISPLAY") ||
        !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        return std::nullopt;
    return QStringLiteral("zuohao: no display: set DISPLAY or run under Xvfb; `zuohao --help` "
                          "needs none\n");
#else
    Q_UNUSED(args);
    return std::nullopt;
#endif
}
} // namespace

void UseChineseFont() {
    QFont f(ChineseFontFamily());
    f.setPointSize(9);
    QApplication::setFont(f);
}

int RunApplication(int argc, char** argv) {
    // The command line first: --help, --version and a usage error need no display.
    QStringList raw;
    for (int i = 0; i < argc; ++i)
        raw << QString::fromLocal8Bit(argv[i]);
    if (const CommandLine early = ParseCommandLine(raw); early.action != CommandLine::Action::Run)
        return AnswerCommandLine(early);
    if (const auto why = missingDisplay(raw)) {
        std::fputs(why->toLocal8Bit().constData(), stderr);
        return 1;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("zuohao"));
    // Parsed again from Qt's arguments, which carry file names whole on every system.
    const CommandLine line = ParseCommandLine(QApplication::arguments());
    if (line.action != CommandLine::Action::Run) return AnswerCommandLine(line);
    UseChineseFont();
    InstallQtTranslations();
    setAlarmPlayer([] { AlarmSound::instance().play(); });
    LotteryForm form(line.options);
    form.show();
    return app.exec();
}

} // namespace zuohao::gui
