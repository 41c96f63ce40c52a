#include "app/ChangesSource.h"

#include "app/ReceivedConfiguration.h"
#include "app/SheetSide.h"
#include "platform/Error.h"
#include "sheets/SettingChanges.h"

ChangesPage::Source ChangesSource::pageSource() {
    return {
        .rows = [this](const QString& storedFile,
                       bool documentChanged) { return rows(storedFile, documentChanged); },
        .save = [this](const QString& file) { save(file); },
    };
}

void ChangesSource::requireConfiguration() const {
    if (!device_.active())
        throw Error(QStringLiteral("Zatím není načtena žádná konfigurace zařízení."));
}

std::vector<SettingState> ChangesSource::rows(const QString& storedFile, bool documentChanged) {
    requireConfiguration();
    if (documentChanged || storedFile != storedFile_) {
        unbound_.reset();
        stored_.setActive(false);
        storedFile_ = storedFile;
    }
    const IXMLNode baseline = baselineRoot(storedFile);
    std::vector<SettingState> states = sheets_.boundSettingStates(baseline);
    if (!unbound_)
        unbound_ = sheets_.unboundSettingStates(baseline, states);
    states.insert(states.end(), unbound_->begin(), unbound_->end());
    return states;
}

// A stored file that does not load raises each time, until another is named.
IXMLNode ChangesSource::baselineRoot(const QString& storedFile) {
    if (storedFile.isEmpty())
        return received_.root();
    if (!stored_.active())
        LoadStoredConfiguration(stored_, storedFile);
    return stored_.documentElement();
}

void ChangesSource::save(const QString& file) {
    requireConfiguration();
    sheets_.saveAsSetWouldWrite(file);
}
