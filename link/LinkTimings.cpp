#include "link/LinkTimings.h"

#include <utility>

namespace {

LinkTimings& timingsInForce() {
    static LinkTimings timings;
    return timings;
}

} // namespace

const LinkTimings& LinkTimings::current() {
    return timingsInForce();
}

LinkTimings LinkTimings::replace(const LinkTimings& timings) {
    return std::exchange(timingsInForce(), timings);
}
