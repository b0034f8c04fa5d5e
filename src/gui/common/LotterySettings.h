#pragma once
// Where the list of lotteries is kept between runs. The draw file of the first lottery stays
// where it always was, key "zelkc" of section "网址" in the shared initialisation file, so
// that the file other programs read is unchanged; everything else (the second lottery's draw
// file, the player's own lotteries with their names, draw files and period naming) is kept in
// the program's own file lotteries.ini beside work.ini. That file is replaced whole on every
// save; at start each lottery's section is checked, and one that cannot be read (a bad or
// taken name, an unknown naming, a section cut short) is copied aside into a ".bad-" file and
// left out, with a note saying so. Nothing here ever ends the program.
#include <QByteArray>
#include <QString>
#include <QStringList>

#include "core/model/LotteryRegistry.h"

namespace zuohao::gui {

// lotteries.ini in the user's configuration folder of zuohao.
QString DefaultLotteryListPath();

// The program's own file for a list (the first lottery's draw file is not in it).
QByteArray LotteryListBytes(const LotteryRegistry& registry);

// The list the bytes describe, built on the built-in lotteries; the sections that could not
// be read are returned whole, as they stood in the file.
struct LotteryListParse {
    LotteryRegistry registry;
    QList<QByteArray> badSections;
    bool foreign = false; // the bytes are no list of this program at all
};
LotteryListParse ParseLotteryList(const QByteArray& bytes);

// Where the list is kept: the program's own file, and the shared initialisation file with
// the user's copy of it (see Settings.h, IniReadPath).
struct LotteryListPaths {
    QString listPath;
    QString iniPath;
    QString userIniCopy;
};

struct LotteryListLoad {
    LotteryRegistry registry;
    QString setAsideTo; // where unreadable sections (or a foreign file) went; empty: none
    int setAsideCount = 0;
};
LotteryListLoad LoadLotteryList(const LotteryListPaths& paths);

struct LotteryListSave {
    bool ok = false;
    QString note; // for the status line: where the settings went, or why they did not
};
// Writes the program's file (replacing it whole) and, when it changed, the first lottery's
// draw file into the shared initialisation file.
LotteryListSave SaveLotteryList(const LotteryRegistry& registry, const LotteryListPaths& paths);

// The status-line note of sections set aside.
QString LotteryListSetAsideText(const LotteryListLoad& load);

} // namespace zuohao::gui
