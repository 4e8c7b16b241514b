// Which calls of a kind a fault loop makes fail: every one up to a limit,
// else `limit` of them spread evenly with the first and the last.
#pragma once

#include <vector>

namespace lm::test {

inline std::vector<int> FaultTrials(int calls, int limit) {
    std::vector<int> ns;
    if (calls <= limit) {
        for (int n = 1; n <= calls; ++n) ns.push_back(n);
        return ns;
    }
    for (int i = 0; i < limit; ++i)
        ns.push_back(1 + static_cast<int>((calls - 1LL) * i / (limit - 1)));
    return ns;
}

}  // namespace lm::test
