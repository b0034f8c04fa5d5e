#include "gui/app/RefreshRouter.h"

namespace zuohao::gui {

void RefreshRouter::subscribe(Stage stage, Subscriber subscriber) {
    m_stages.at(std::size_t(stage)).push_back(std::move(subscriber));
}

void RefreshRouter::route(LotteryClass& lottery, const RefreshEvents& events, Stage first,
                          Stage end) const {
    for (std::size_t s = std::size_t(first); s < std::size_t(end); ++s)
        for (const Subscriber& subscriber : m_stages.at(s))
            subscriber(lottery, events);
}

} // namespace zuohao::gui
