#pragma once

#include <QString>
#include <optional>

// A device setting as the diagnostics window lists it: as a configuration to
// compare with holds it, and as "Set" would write it now.
struct SettingState {
    QString setting; // NODE.attribute, as bindings name it
    std::optional<QString> before; // none: that configuration lacks the setting
    std::optional<QString> now;
    QString widget; // the bound widget's name; empty for a setting only the document changed
    bool changed() const { return before != now; }
};
