#include "gui/app/RefreshRouter.h"

namespace zuohao::gui {

void RefreshRouter::subscribe(Stage stage, Subscriber subscriber) {
    m_stages.at(std::size_t(stage)).push_back(std::move(subscriber));
}

void RefreshRouter::route(LotteryClass& lottery, const RefreshEvents& events) const {
    for (const auto& stage : m_stages)
        for (const Subscriber& subscriber : stage)
            subscriber(lottery, events);
}

} // namespace zuohao::gui
