#pragma once

class QKeyEvent;

// Tells a key press that only repeats a held key from one the operator made.
//
// The X server repeats a held key as a release and a press with the same time. Qt
// flags such a press as auto-repeated only when it finds the press already queued
// behind the release, which a busy or nested event loop can miss. A press with the
// time of the last release of the same key is therefore a repeat as well.
namespace KeyRepeat {

// Remembers a release; every key event a control handles comes here first.
void note(const QKeyEvent& key);

bool isRepeat(const QKeyEvent& key);

} // namespace KeyRepeat
