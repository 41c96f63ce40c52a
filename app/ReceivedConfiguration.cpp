#include "app/ReceivedConfiguration.h"

#include <exception>

void ReceivedConfiguration::take(QByteArray bytes) {
    bytes_ = std::move(bytes);
    parsed_.setActive(false);
    parseTried_ = false;
}

IXMLNode ReceivedConfiguration::root() {
    if (!parseTried_) {
        parseTried_ = true;
        try {
            parsed_.loadFromBytes(bytes_);
        } catch (const std::exception&) {
            // Nothing to compare with: every setting counts as new.
        }
    }
    return parsed_.active() ? parsed_.documentElement() : IXMLNode();
}
