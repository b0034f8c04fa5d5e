#pragma once
// Random draws and random condition sets of every kind, for comparing the analysis with
// the reduction and the plan pipeline.
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/acquire/LineRule.h"
#include "core/model/ConditionSet.h"

namespace zuohao::testing {

inline std::vector<DrawLine> RandomDraws(int n, unsigned seed) {
    std::mt19937 rng(seed);
    std::vector<DrawLine> out;
    for (int i = 0; i < n; ++i) {
        char num[8];
        std::snprintf(num, sizeof num, "%05u", unsigned(rng() % 100000u));
        out.push_back({std::to_string(20261208000LL + i), num});
    }
    return out;
}

// A digit text of about `density` of the ten digits (possibly empty).
inline std::string RandomDigits(std::mt19937& rng, double density, char top = '9') {
    std::string s;
    std::bernoulli_distribution pick(density);
    for (char c = '0'; c <= top; ++c)
        if (pick(rng)) s.push_back(c);
    return s;
}

inline ConditionSet RandomSet(std::mt19937& rng) {
    ConditionSet set;
    std::bernoulli_distribution half(0.5), rare(0.2);
    set.IDX = int(rng() % 12);
    for (int g = 0; g < kSelGroups; ++g) {
        set.SEL[std::size_t(g)] = half(rng) ? RandomDigits(rng, 0.5) : "";
        set.CNT[std::size_t(g)] = rare(rng) ? "" : RandomDigits(rng, 0.6, '6');
    }
    for (int b = 0; b < 2; ++b) {
        if (rare(rng)) set.DAN[std::size_t(b)] = RandomDigits(rng, 0.2);
        set.DCC[std::size_t(b)] = half(rng) ? RandomDigits(rng, 0.5, '4') : "";
    }
    if (rare(rng)) set.KUA = RandomDigits(rng, 0.2);
    for (int k = 0; k < 4; ++k)
        set.KLU[std::size_t(k)] = rare(rng) ? 1 : 0;
    const int size = set.fourDigit() ? 10000 : 1000;
    std::string kill;
    for (int i = 0, n = half(rng) ? int(rng() % 40) : 0; i < n; ++i) {
        char buf[8];
        std::snprintf(buf, sizeof buf, set.fourDigit() ? "%04d" : "%03d",
                      int(rng() % unsigned(size)));
        if (i > 0) kill += ' ';
        kill += buf;
    }
    (set.fourDigit() ? set.KL1 : set.KL0) = kill;
    set.FAN = rare(rng);
    for (int c = 0; c < kCheckCount; ++c)
        set.CHK[std::size_t(c)] = rng() % 9 == 0;
    set.PLA = !rare(rng);
    return set;
}

} // namespace zuohao::testing
