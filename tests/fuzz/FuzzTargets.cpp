#include "FuzzTargets.h"

#include <cstdio>
#include <cstdlib>

namespace FuzzTargets {

const std::vector<Target>& all() {
    static const std::vector<Target> targets{{"xml", xmlDocument},
                                             {"receive", receive},
                                             {"script", script},
                                             {"sheet", sheet},
                                             {"variant", variant}};
    return targets;
}

void check(bool condition, const char* what) {
    if (condition)
        return;
    std::fprintf(stderr, "fuzz check failed: %s\n", what);
    std::abort();
}

} // namespace FuzzTargets
