#pragma once
// The lotteries of the main window, one lottery object per entry of the lottery list, each
// with its own draw source. The list is read at start; a lottery's draw file is kept here (the
// path box only shows it): the first lottery's in the shared settings file as always, the
// others in the program's own list. Beside each lottery is its record of the number transfer.
// When the list changes (彩票设置), the lotteries are matched to it by name: a renamed lottery
// keeps its draws, plan and transfer, a removed one goes and an added one starts empty.
#include <QString>
#include <chrono>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/acquire/LotteryClass.h"
#include "core/model/LotteryRegistry.h"
#include "gui/app/LotteryTransfer.h"
#include "gui/common/LotterySettings.h"

namespace zuohao::gui {

class LotteryFileSource;

class LotteryDesk {
public:
    // `archivePath` names the draw archive, which is never read as a draw file.
    LotteryDesk(std::function<std::string()> archivePath, std::chrono::milliseconds pollInterval);
    ~LotteryDesk();

    // Reads the list; the note of sections set aside (empty when none).
    QString load(const LotteryListPaths& paths);
    // The first lottery reads `path` this run without keeping it (--draw-file, the demo).
    void overrideFirstDrawFile(const QString& path);

    int count() const { return int(m_slots.size()); }
    LotteryClass& lottery(int index) const;
    const LotteryRegistry& registry() const { return m_registry; }
    // The lottery's index; -1 for one not of the desk.
    int indexOf(const LotteryClass* lottery) const;
    // The lottery's picked windows, kill texts, extra digits and countdown.
    LotteryTransfer& transfer(int index) const;
    QString name(int index) const;
    // The draw file the lottery reads; empty: none.
    QString drawFile(int index) const;
    // Whether draws can come: the first lottery always reads (without a file it asks for one),
    // another only with a draw file.
    bool hasSource(int index) const;

    // Sets a lottery's draw file (a file chosen on its tab) and, unless `keep` is false, keeps
    // it: the first in the shared settings file (`storeFirst` does that), the others in the
    // list. The status-line note of the save; empty when it went as usual.
    QString setDrawFile(int index, const QString& path, bool keep = true);
    // Keeps the first lottery's draw file in the shared file (set by the caller, as always).
    void setStoreFirst(std::function<QString(const QString&)> storeFirst) {
        m_storeFirst = std::move(storeFirst);
    }
    // The first lottery's draw file as it was kept (the list's own copy follows the file).
    void firstDrawFileKept(const QString& path);

    // What taking a new list did.
    struct ListChange {
        std::vector<int> reload; // lotteries to load afresh (new, or given another draw file)
        std::vector<int> added;  // lotteries new to the list
        std::vector<std::pair<std::string, std::string>> renamed; // old name, new name
        std::vector<std::string> removed;
        QString note; // the status-line note of the save; empty when it went as usual
    };
    // Takes the list `next`: saved, then the lotteries remapped.
    ListChange apply(const LotteryRegistry& next);

private:
    struct Slot;
    std::unique_ptr<Slot> makeSlot(const LotteryEntry& entry) const;
    void placeAt(Slot& slot, int index, const LotteryEntry& entry);

    std::function<std::string()> m_archivePath;
    std::chrono::milliseconds m_poll;
    LotteryListPaths m_paths;
    LotteryRegistry m_registry;
    std::vector<std::unique_ptr<Slot>> m_slots;
    std::function<QString(const QString&)> m_storeFirst;
};

} // namespace zuohao::gui
