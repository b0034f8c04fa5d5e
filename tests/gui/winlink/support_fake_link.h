#pragma once
// A window link whose windows are whatever the test says: fixed hits, texts, answers.
#include <map>

#include "gui/winlink/WindowLink.h"

namespace zuohao::gui::test {

class FakeLink : public WindowLink {
public:
    std::optional<WindowHit> hit;               // what windowAt answers
    std::map<WindowHandle, WindowRead> windows; // existing windows and what they read as
    QString unavailable;
    int windowAtCalls = 0;
    int readCalls = 0;

    std::optional<WindowHit> windowAt(const QPoint&) override {
        ++windowAtCalls;
        return hit;
    }
    bool exists(WindowHandle h) override { return windows.count(h) > 0; }
    WindowRead readText(WindowHandle h) override {
        ++readCalls;
        auto it = windows.find(h);
        return it == windows.end() ? WindowRead{{}, ReadStatus::Gone} : it->second;
    }
    QString unavailableReason() override { return unavailable; }
};

} // namespace zuohao::gui::test
