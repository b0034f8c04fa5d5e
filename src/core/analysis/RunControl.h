#pragma once
// How a long analysis is stopped and watched from another thread: a flag the caller sets to
// stop it, and reports of the share done. An analysis looks at both every kDrawsPerLook
// draws, which on the slowest analysis is a few milliseconds of work.
#include <atomic>
#include <cstddef>
#include <functional>

namespace zuohao {

struct RunControl {
    const std::atomic<bool>* cancel = nullptr;  // true: stop at the next look
    std::function<void(double share)> progress; // share of the work done, 0 to 1

    bool cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }
    void report(double share) const {
        if (progress) progress(share);
    }
};

// The control of one part of a longer job: the same flag, its shares mapped onto [from, to]
// of the whole.
inline RunControl PartOf(const RunControl& whole, double from, double to) {
    RunControl part{whole.cancel, {}};
    if (whole.progress)
        part.progress = [whole, from, to](double share) {
            whole.progress(from + (to - from) * share);
        };
    return part;
}

// Draws an analysis handles between two looks at its control.
inline constexpr std::size_t kDrawsPerLook = 1024;

} // namespace zuohao
