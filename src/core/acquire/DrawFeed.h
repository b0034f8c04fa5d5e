#pragma once
// Draw acquisition for one lottery: the history load and the new-draw fetch from the betting
// program's file, under the draw feed's rule of trust (core/acquire/Trust.h).
#include <chrono>
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/acquire/RefreshEvents.h"
#include "core/model/LotteryState.h"

namespace zuohao {

class DrawSource;

// Summary of a parsed draw text.
struct TextReport {
    int lines = 0;   // considered lines
    int draws = 0;   // new draws that entered
    int skipped = 0; // considered lines that are not a draw
    std::vector<std::string> errors;
};

// Polls in a row without usable text before the status line turns red.
inline constexpr int kFailedPollsBeforeAlarm = 10;

// The shortest time a read that is not whole must stay unchanged before it is believed: long
// enough for any writer that pauses inside a rewrite, on a loaded machine too.
inline constexpr std::chrono::milliseconds kLeastQuietTime{1000};

// The feed's clock: steady time, injectable so that the quiet time can be stepped in tests.
using FeedClock = std::function<std::chrono::steady_clock::time_point()>;

// Whether a history load that finds no text asks the user for the file (start-up and the
// path button) or only says so in the status line (the refresh timer).
enum class AskForFile { Yes, No };

// Enters the draws of a text, oldest first (GetTxtStringArray).
TextReport EnterDrawText(LotteryState& lottery, std::string_view txt);

// The draw file of one lottery as read so far: what was believed, what was held back, and
// what the status line should say.
class DrawFeed {
public:
    void setSource(DrawSource* source) { m_source = source; }
    void setClock(FeedClock clock) { m_clock = std::move(clock); }
    // How often the file is polled: a read that is not whole is believed once it has stayed
    // the same for this long, or for kLeastQuietTime when that is longer.
    void setPollInterval(std::chrono::milliseconds interval);
    std::chrono::milliseconds quietTime() const { return m_quietTime; }

    // Empties the held draws and loads them from the file (GetLotteryHisroty). The monitor is
    // restarted when a plan's base set renewed while it is on; no alarm is told for a load.
    RefreshEvents LoadHistory(LotteryState& lottery, AskForFile ask);
    // One poll of the refresh cycle (GetLotteryNew): enters the file's new draws, restarts
    // the monitor over them while it is on (unless a monitor plan runs and follows them
    // itself), and returns what happened, every period that raised the alarm included.
    RefreshEvents FetchNew(LotteryState& lottery);
    // Reads the file once and enters what it believes (读取挂机文本).
    RefreshEvents ReadFile(LotteryState& lottery);

    const FeedStatus& status() const { return m_feed; }
    // Errors left by the last history load or fetch (already swallowed; for the caller's log).
    const std::vector<std::string>& lastErrors() const { return m_lastErrors; }

private:
    void readFile(LotteryState& lottery, RefreshEvents& events);
    // The monitor restart that came due, the flags and the status, at the end of a call.
    void finish(LotteryState& lottery, RefreshEvents& events);
    void restartMonitor(LotteryState& lottery, RefreshEvents& events);
    void takeText(LotteryState& lottery, const std::string& text, RefreshEvents& events);
    void noteNoText();
    void setNotice(std::string text, bool sticky);

    DrawSource* m_source = nullptr;
    std::vector<std::string> m_lastErrors;
    FeedClock m_clock = [] { return std::chrono::steady_clock::now(); };
    std::chrono::milliseconds m_quietTime = kLeastQuietTime;
    std::string m_heldBackText; // the last read that was not whole, believed once it stays quiet
    std::chrono::steady_clock::time_point m_heldBackSince; // when it was first read
    std::string m_takenText; // the last text believed: read again, it changes nothing
    FeedStatus m_feed;
    bool m_stickyNotice = false; // a gap or correction: kept until new draws enter cleanly
    int m_failedPolls = 0;
    AskForFile m_ask = AskForFile::No;
    bool m_restartDue = false; // the draws of this call made a monitor restart due
};

} // namespace zuohao
