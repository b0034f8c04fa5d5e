#include "gui/app/LotteryDesk.h"

#include <QDir>

#include "core/acquire/DrawSource.h"
#include "core/model/LotteryName.h"
#include "store/FileIdentity.h"

namespace zuohao::gui {

// A lottery's draw file, read at every poll from the path kept here. The archive (or its log)
// named as the draw file is never read: closing a file SQLite holds, opened by other means,
// drops this process's locks on it and lets another program delete the live log.
class LotteryFileSource : public DrawSource {
public:
    explicit LotteryFileSource(std::function<std::string()> archivePath)
        : m_archivePath(std::move(archivePath)) {}
    void setPath(const QString& path) { m_file.setPath(path.toStdString()); }
    std::optional<std::string> ReadText() override {
        m_isArchive =
            m_archivePath && store::ArchivePartAt(m_file.path(), m_archivePath()).has_value();
        if (m_isArchive) return std::nullopt;
        return m_file.ReadText();
    }
    std::string lastProblem() const override {
        return m_isArchive ? std::string("开奖文件是本程序的历史库，不能读取")
                           : m_file.lastProblem();
    }

private:
    std::function<std::string()> m_archivePath;
    FileDrawSource m_file;
    bool m_isArchive = false;
};

struct LotteryDesk::Slot {
    std::unique_ptr<LotteryClass> lottery;
    std::unique_ptr<LotteryFileSource> source;
    QString path;
    LotteryTransfer transfer;
};

LotteryDesk::LotteryDesk(std::function<std::string()> archivePath,
                         std::chrono::milliseconds pollInterval)
    : m_archivePath(std::move(archivePath)), m_poll(pollInterval) {
    for (int i = 0; i < m_registry.size(); ++i) {
        m_slots.push_back(makeSlot(*m_registry.at(i)));
        placeAt(*m_slots.back(), i, *m_registry.at(i));
    }
}

LotteryDesk::~LotteryDesk() = default;

std::unique_ptr<LotteryDesk::Slot> LotteryDesk::makeSlot(const LotteryEntry& entry) const {
    auto slot = std::make_unique<Slot>();
    slot->lottery = std::make_unique<LotteryClass>();
    slot->source = std::make_unique<LotteryFileSource>(m_archivePath);
    slot->lottery->setPollInterval(m_poll);
    // Shown and kept as the old program and its peers write it (C:\...).
    slot->path = QDir::toNativeSeparators(QString::fromStdString(entry.drawFile));
    return slot;
}

void LotteryDesk::placeAt(Slot& slot, int index, const LotteryEntry& entry) {
    LotteryClass& lot = *slot.lottery;
    lot.setName(entry.name);
    lot.setIndex(index);
    lot.setPeriodNaming(entry.naming, entry.periodsPerDay);
    slot.source->setPath(slot.path);
    lot.setDrawSource(index == 0 || !slot.path.isEmpty() ? slot.source.get() : nullptr);
}

QString LotteryDesk::load(const LotteryListPaths& paths) {
    m_paths = paths;
    const LotteryListLoad loaded = LoadLotteryList(paths);
    m_registry = loaded.registry;
    m_slots.clear();
    for (int i = 0; i < m_registry.size(); ++i) {
        m_slots.push_back(makeSlot(*m_registry.at(i)));
        placeAt(*m_slots.back(), i, *m_registry.at(i));
    }
    return LotteryListSetAsideText(loaded);
}

void LotteryDesk::overrideFirstDrawFile(const QString& path) {
    (void)setDrawFile(0, path, false);
}

LotteryClass& LotteryDesk::lottery(int index) const {
    return *m_slots.at(std::size_t(index))->lottery;
}

LotteryTransfer& LotteryDesk::transfer(int index) const {
    return m_slots.at(std::size_t(index))->transfer;
}

int LotteryDesk::indexOf(const LotteryClass* lottery) const {
    for (std::size_t i = 0; i < m_slots.size(); ++i)
        if (m_slots[i]->lottery.get() == lottery) return int(i);
    return -1;
}

QString LotteryDesk::name(int index) const {
    const LotteryEntry* e = m_registry.at(index);
    return e ? QString::fromStdString(e->name) : QString();
}

QString LotteryDesk::drawFile(int index) const {
    return index >= 0 && index < count() ? m_slots[std::size_t(index)]->path : QString();
}

bool LotteryDesk::hasSource(int index) const {
    return index == 0 || !drawFile(index).isEmpty();
}

QString LotteryDesk::setDrawFile(int index, const QString& path, bool keep) {
    if (index < 0 || index >= count()) return {};
    // Kept as the old program and its peers write it (C:\...), whatever was typed.
    const QString native = QDir::toNativeSeparators(path);
    Slot& slot = *m_slots[std::size_t(index)];
    slot.path = native;
    placeAt(slot, index, *m_registry.at(index));
    if (!keep) return {};
    if (index == 0) {
        const QString note = m_storeFirst ? m_storeFirst(native) : QString();
        firstDrawFileKept(native);
        return note;
    }
    (void)m_registry.setDrawFile(index, native.toStdString());
    const LotteryListSave saved = SaveLotteryList(m_registry, m_paths);
    return saved.note;
}

void LotteryDesk::firstDrawFileKept(const QString& path) {
    (void)m_registry.setDrawFile(0, path.toStdString());
}

LotteryDesk::ListChange LotteryDesk::apply(const LotteryRegistry& next) {
    ListChange change;
    change.note = SaveLotteryList(next, m_paths).note;
    // Matched by name; one lottery left over on each side at the same place was renamed.
    std::vector<std::unique_ptr<Slot>> old = std::move(m_slots);
    std::vector<int> from(std::size_t(next.size()), -1);
    std::vector<bool> taken(old.size(), false);
    for (int i = 0; i < next.size(); ++i)
        for (std::size_t k = 0; k < old.size(); ++k)
            if (!taken[k] && SameLotteryName(m_registry.at(int(k))->name, next.at(i)->name)) {
                from[std::size_t(i)] = int(k);
                taken[k] = true;
            }
    std::vector<int> newOnes;
    std::vector<std::size_t> oldLeft;
    for (int i = 0; i < next.size(); ++i)
        if (from[std::size_t(i)] < 0) newOnes.push_back(i);
    for (std::size_t k = 0; k < old.size(); ++k)
        if (!taken[k]) oldLeft.push_back(k);
    if (newOnes.size() == 1 && oldLeft.size() == 1 && next.size() == int(old.size()) &&
        std::size_t(newOnes[0]) == oldLeft[0]) {
        from[std::size_t(newOnes[0])] = int(oldLeft[0]);
        change.renamed.emplace_back(m_registry.at(int(oldLeft[0]))->name,
                                    next.at(newOnes[0])->name);
    } else {
        for (std::size_t k : oldLeft)
            change.removed.push_back(m_registry.at(int(k))->name);
    }

    for (int i = 0; i < next.size(); ++i) {
        const LotteryEntry& entry = *next.at(i);
        const int k = from[std::size_t(i)];
        const QString file = QDir::toNativeSeparators(QString::fromStdString(entry.drawFile));
        if (k < 0) {
            m_slots.push_back(makeSlot(entry));
            change.added.push_back(i);
            if (!file.isEmpty()) change.reload.push_back(i);
        } else {
            m_slots.push_back(std::move(old[std::size_t(k)]));
            // The first lottery keeps a file given for this run unless the list names another.
            const bool changed = m_registry.at(k)->drawFile != entry.drawFile;
            if (changed || i != 0) {
                if (m_slots.back()->path != file) change.reload.push_back(i);
                m_slots.back()->path = file;
            }
        }
        placeAt(*m_slots.back(), i, entry);
    }
    m_registry = next;
    return change;
}

} // namespace zuohao::gui
