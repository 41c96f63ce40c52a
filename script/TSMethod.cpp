#include "script/TSMethod.h"

#include "script/ScriptHost.h"

namespace {

// The diagnostics log draws this colour ($00BBGGRR) as a blue background.
constexpr std::uint32_t DefinitionColour = 0xFF0000;

QByteArray headOf(const QByteArray& definition) {
    const qsizetype brace = definition.indexOf('{');
    return brace < 0 ? QByteArray() : definition.left(brace + 1);
}

} // namespace

TSMethod::TSMethod(const QByteArray& definition, ScriptHost& host)
    : definition_(definition), callWord_(GetName() + "()") {
    host.LogColor(DefinitionColour, headOf(definition_));
}

QByteArray TSMethod::GetName() const {
    // Only a blank (code 32) starts the name; a line break after the keyword
    // makes the name start at some later blank.
    QByteArray name = definition_.mid(definition_.indexOf(' ') + 1);
    const qsizetype bracket = name.indexOf('(');
    if (bracket >= 0)
        name.truncate(bracket);
    return name;
}

QByteArray TSMethod::GetBody() const {
    const qsizetype open = definition_.indexOf('{');
    const qsizetype close = definition_.indexOf('}');
    if (close < 0)
        return {};
    if (open < 0)
        return definition_.left(close + 1);
    if (close < open)
        return {};
    return definition_.mid(open, close - open);
}
