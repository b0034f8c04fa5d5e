#pragma once
// Test support for the monitor window: seams that record what the window asked for, and a
// lottery fed with draws that hit or miss a small base set.
#include <QList>
#include <QString>
#include <QStringList>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/acquire/LotteryClass.h"
#include "core/monitor/Monitor.h"
#include "gui/common/Seams.h"
#include "gui/monitor/JianKongForm.h"

class QTableView;

namespace zuohao::gui::test {

class RecordingSeams : public Seams {
public:
    RecordingSeams() { setSeams(this); }
    ~RecordingSeams() override { setSeams(nullptr); }

    void information(QWidget*, const QString& text) override { messages << text; }
    std::optional<QString> openFileName(QWidget*, const QString&) override { return std::nullopt; }
    std::optional<QString> clipboardText() override { return clipboard; }
    bool setClipboardText(const QString& text) override {
        clipboard = text;
        ++clipboardWrites;
        return true;
    }
    void playAlarm() override { ++alarms; }

    QStringList messages;
    QString clipboard;
    int clipboardWrites = 0;
    int alarms = 0;
};

// The monitor's base set in the tests: position group 9 (百十个) of a draw ending in 123
// or 456 is a hit, anything else a miss.
inline constexpr const char* kBase = "123 456";
inline constexpr const char* kHitDraw = "00123";
inline constexpr const char* kMissDraw = "00999";

// Period label of the n-th test draw (n from 1).
std::string periodLabel(int n);

// A monitor window over a lottery and its own monitor; `tabs` are the lotteries the window
// lists (the rig's lottery alone at first). Settings: hit counts 0 to 30, plan length 3,
// trigger on a miss run of 2, segments of 5 periods. With these, the draws H M M H M M raise
// the alarm on the sixth period.
struct MonitorRig {
    MonitorRig();
    ~MonitorRig();

    // Offers draws to the lottery: 'H' a hit, 'M' a miss, one period each, numbered on
    // from the last one fed.
    void feed(const std::string& pattern);
    // Sets the monitor settings through the window's boxes, as the user would.
    void chooseSettings();

    QTableView* grid() const;
    QString cell(int row, int column) const;
    int gridRows() const;

    template <class T> T* child(const QString& name) const { return form->findChild<T*>(name); }

    RecordingSeams seams;
    LotteryClass lottery;
    MonitorState& state = lottery.monitor();
    // The base set the monitor starts from.
    void setMainBase(NumberList base) { lottery.setBaseSet(std::move(base)); }
    std::vector<LotteryClass*> tabs{&lottery};
    int fed = 0;
    std::unique_ptr<JianKongForm> form;
};

// The texts of a grid row, of every grid row, and the first row whose column shows `text`.
QStringList rowTexts(const MonitorRig& rig, int row);
QList<QStringList> gridTexts(const MonitorRig& rig);
int findRow(const MonitorRig& rig, int column, const QString& text);

} // namespace zuohao::gui::test
