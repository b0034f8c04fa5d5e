#pragma once
// Where a refresh's events go: the notifier first (its request leaves before anything is
// redrawn), then the draw archive, the feed log, the monitor's sound, and last the windows'
// redraw. Each subscriber is wired once, by the main window; a refresh is handed on in one
// pass and nobody asks the lottery again what happened.
#include <array>
#include <cstddef>
#include <functional>
#include <vector>

#include "core/acquire/RefreshEvents.h"

namespace zuohao {
class LotteryClass;
}

namespace zuohao::gui {

class RefreshRouter {
public:
    // In the order a refresh reaches them.
    enum class Stage : std::size_t { Notify, Archive, FeedLog, Sound, Repaint, Count };
    using Subscriber = std::function<void(LotteryClass&, const RefreshEvents&)>;

    void subscribe(Stage stage, Subscriber subscriber);
    // Hands `events` of `lottery` to the subscribers of the stages from `first` up to, not
    // including, `end`, stage by stage.
    void route(LotteryClass& lottery, const RefreshEvents& events, Stage first = Stage::Notify,
               Stage end = Stage::Count) const;

private:
    std::array<std::vector<Subscriber>, std::size_t(Stage::Count)> m_stages;
};

} // namespace zuohao::gui
