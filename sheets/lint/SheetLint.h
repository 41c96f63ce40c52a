#pragma once

#include "platform/xml/IXMLNode.h"

#include <QByteArray>
#include <QMetaObject>
#include <QString>
#include <optional>
#include <vector>

// One thing a sheet holds that the program would reject, fail or silently drop
// when it builds or runs the sheet, at the element, attribute or text at fault.
struct LintFinding {
    enum class Severity { Warning, Error };

    QString file;
    int line = 0;
    int column = 0;
    Severity severity = Severity::Error;
    QString text;
};

// A device configuration the sheet's bindings are checked against.
struct LintDevice {
    QString file;
    IXMLNode root;
};

// Reads a device configuration for LintSheet; one that does not load adds its
// parse error to `findings` and gives none.
std::optional<LintDevice> LintDeviceConfiguration(const QString& file, const QByteArray& bytes,
                                                  std::vector<LintFinding>& findings);

// Checks one sheet file's bytes with the builder's own rules (the class registry,
// the published properties and their conversions, the binding syntax), without
// building a widget. The sheet classes must be registered. Findings come in
// document order.
std::vector<LintFinding> LintSheet(const QString& file, const QByteArray& bytes,
                                   const std::vector<LintDevice>& devices);

// The finding's text for a value that a property's conversion refuses, saying what
// the property takes.
QString InvalidValueText(const QMetaObject& widgetClass, const QByteArray& name,
                         const QByteArray& value);
