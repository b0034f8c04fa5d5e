#pragma once
// The player's work kept between runs in the program's own file (never in the shared
// initialisation file other programs read): per lottery the conditions, the kill lists, the
// monitor's settings, lock period and record box (the windows' places are kept by WindowPlacement).
// Written whenever something of it changes, by replacing the whole file (a kill -9 loses at most
// the change being written); read at start, every value checked, so a damaged or foreign value
// falls back to its default.
#include <QByteArray>
#include <QString>
#include <array>
#include <optional>
#include <string>
#include <vector>

#include "core/making/KillList.h"
#include "core/model/ConditionSet.h"
#include "core/model/MonitorState.h"
#include "core/model/Period.h"

namespace zuohao::gui {

// What is kept of one lottery, known by its name: its conditions (the base set, its
// complement and the plan are not kept: a plan is started anew by the player), the newest period
// when its selection texts (SEL) were kept (after a restart on the same draws they come back as
// they were, not derived afresh) and its monitor's settings.
struct LotteryWork {
    std::string name;
    ConditionSet conditions;
    std::string selectionPeriod;
    std::array<int, 4> segmentSettings{};   // the monitor's SZCom(0..3)
    int segmentPeriod = 0;                  // ZhuoQiTxt
    Period lockPeriod;                      // QSCom
    bool monitorKept = false;               // the monitor's settings were in the file
    std::vector<MonitorLogLine> monitorLog; // the monitor's record box (记录), oldest first
    // The number transfer's boxes: lottery 0's in the sections the first versions wrote
    // (kill, panel), the others' in their own lottery sections.
    KillTexts kill{};                         // the two kill-list panels, as accepted
    std::array<std::string, 3> extraDigits{}; // the extra-digit boxes of groups 5, 1 and 2
};

struct SavedWork {
    // In tab order; the two built-in lotteries are always there (sections lottery0 and
    // lottery1 as files of earlier versions have them, their monitor settings of lottery 0 in
    // section monitor), the player's own follow in sections lottery2, lottery3, ... with their
    // names.
    std::vector<LotteryWork> lotteries;
    bool alarmSound = true; // CheckSound

    SavedWork();
    // The lottery called `name`; nullptr when none is kept.
    const LotteryWork* find(const std::string& name) const;
    LotteryWork& lottery(const std::string& name); // added when missing
};

// The file of the running program: work.ini in the user's configuration folder of zuohao.
QString DefaultSavedWorkPath();

// The file's bytes.
QByteArray SavedWorkBytes(const SavedWork& work);

// Reads the bytes of a file: nothing when they are not a file of this kind, or one cut short
// (it lacks its end marker and count; then the file is set aside); values out of range take
// their defaults. A file of the first format, which had no end marker, is read as whole.
std::optional<SavedWork> ParseSavedWork(const QByteArray& bytes);

// Writes the file by replacing it (temporary file, flush, sync, rename); false on failure.
bool WriteSavedWork(const SavedWork& work, const QString& path);

// What reading the file at start gave.
struct SavedWorkLoad {
    std::optional<SavedWork> work; // nothing: no file, or one set aside
    QString setAsideTo;            // where a file that could not be read was moved
};

// Reads the file; one that cannot be read is renamed beside itself (".bad" and the time)
// so that it is neither lost nor read again.
SavedWorkLoad LoadSavedWork(const QString& path);

// The status-line note of a file set aside.
QString SavedWorkSetAsideText(const QString& movedTo);

} // namespace zuohao::gui
