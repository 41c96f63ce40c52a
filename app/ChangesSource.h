#pragma once

#include "diagnostics/ChangesPage.h"
#include "platform/xml/TXMLDocument.h"

#include <QString>
#include <optional>
#include <vector>

class ReceivedConfiguration;
class SheetSide;

// What the diagnostics window's "Změny" page lists and saves: the settings against
// the configuration the device sent, or against a stored one. The settings only the
// document holds differently cost a walk of both documents, which on a large
// configuration takes long; they are taken again only when the page says the
// document may have changed, not at every edit in the widgets. A stored file is
// read once for as long as it is compared with.
class ChangesSource {
public:
    ChangesSource(SheetSide& sheets, TXMLDocument& device, ReceivedConfiguration& received)
        : sheets_(sheets), device_(device), received_(received) {}

    ChangesPage::Source pageSource();

private:
    std::vector<SettingState> rows(const QString& storedFile, bool documentChanged);
    IXMLNode baselineRoot(const QString& storedFile);
    void save(const QString& file);
    void requireConfiguration() const;

    SheetSide& sheets_;
    TXMLDocument& device_;
    ReceivedConfiguration& received_;
    QString storedFile_;
    TXMLDocument stored_;
    std::optional<std::vector<SettingState>> unbound_;
};
