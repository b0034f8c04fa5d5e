#pragma once
// Start-up of the desktop program: options, fonts, the process-wide state and the main window.
#include <QString>
#include <QStringList>

namespace zuohao::gui {

// How often the draw file is read unless --poll-interval says otherwise.
inline constexpr int kDefaultPollMs = 6000;
inline constexpr int kShortestPollMs = 20;
inline constexpr double kShortestDemoInterval = 0.05; // seconds: a soak test runs this fast

struct AppOptions {
    bool demo = false;           // --demo: run on a draw feed of our own
    double demoInterval = 60;    // --demo-interval S (fractions allowed)
    QString drawFile;            // --draw-file PATH: the path box at load instead of the settings
    QString timeUrl;             // --time-url URL: the time service; none = the local clock
    QString iniPath;             // --ini PATH: the settings file
    QString archivePath;         // --archive PATH: the draw archive instead of the user's
    int pollMs = kDefaultPollMs; // --poll-interval MS: how often the draw file is read
    QString feedLog;             // --feed-log PATH: a line per draw entered or corrected
    QString workPath;            // the file the player's work is kept in; empty: the user's own
    QString iniCopyPath;         // the user's copy of the settings file; empty: this platform's
    QString lotteryListPath;     // the list of lotteries (lotteries.ini); empty: the user's own
};

// What the command line asks for: to run with the options, or only to print a text.
struct CommandLine {
    enum class Action { Run, Help, Version, UsageError };
    Action action = Action::Run;
    AppOptions options;
    QString text; // the help, the version line or the usage error
};

// Parses the program's arguments (the first is the program); needs no QApplication, so
// --help, --version and usage errors are answered before a display is opened. Qt's own
// options (-platform, -style, ...) are accepted and left to QApplication.
CommandLine ParseCommandLine(const QStringList& args);

// Prints what a command line that does not run asks for and returns the exit code: 0 for
// the help and the version, 2 for a usage error.
int AnswerCommandLine(const CommandLine& line);

// Picks "微软雅黑" where installed, else a CJK font that is.
void UseChineseFont();

// Main(): shows the main window and runs the event loop.
int RunApplication(int argc, char** argv);

} // namespace zuohao::gui
