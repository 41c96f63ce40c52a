#include "platform/widgets/KeyRepeat.h"

#include <QKeyEvent>

namespace {

struct Release {
    int key = 0;
    quint64 timestamp = 0;
};

// Key events arrive on the GUI thread only.
Release lastRelease;

} // namespace

namespace KeyRepeat {

void note(const QKeyEvent& key) {
    if (key.type() == QEvent::KeyRelease)
        lastRelease = {key.key(), key.timestamp()};
}

bool isRepeat(const QKeyEvent& key) {
    if (key.isAutoRepeat())
        return true;
    return key.type() == QEvent::KeyPress && key.timestamp() != 0 &&
           key.key() == lastRelease.key && key.timestamp() == lastRelease.timestamp;
}

} // namespace KeyRepeat
