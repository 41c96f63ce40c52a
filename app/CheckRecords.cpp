#include "app/CheckRecords.h"

#include "diagnostics/LogEntryFormat.h"
#include "platform/Win1250.h"
#include "platform/components/Component.h"
#include "platform/components/Reflection.h"
#include "platform/xml/IXMLNode.h"
#include "sheets/SheetLogColours.h"

#include <QStringList>

namespace CheckRecords {
namespace {

// The message of a stored entry: what follows the time text and " - ".
QString messageOf(const QByteArray& stored) {
    const qsizetype separator = stored.indexOf(" - ");
    return escaped(Win1250::toWide(separator < 0 ? stored : stored.mid(separator + 3)));
}

QString colourDigits(std::uint32_t colour) {
    return QStringLiteral("%1").arg(colour & 0xFFFFFF, 6, 16, QLatin1Char('0')).toUpper();
}

// The node names from the top-level element (a child of the sheet's root) down to
// the element, joined by ".".
QString elementPath(IXMLNode node) {
    QStringList names;
    while (node && node.nodeType() == XMLNodeType::Element) {
        const IXMLNode parent = node.parentNode();
        if (!parent || parent.nodeType() != XMLNodeType::Element)
            break; // the sheet's root element is not part of the path
        names.prepend(node.nodeName());
        node = parent;
    }
    return names.join(u'.');
}

} // namespace

QString escaped(const QString& text) {
    QString result;
    result.reserve(text.size());
    for (const QChar c : text) {
        if (c == u'\\')
            result += QStringLiteral("\\\\");
        else if (c == u'\r')
            result += QStringLiteral("\\r");
        else if (c == u'\n')
            result += QStringLiteral("\\n");
        else
            result += c;
    }
    return result;
}

QString propertyValue(const QString& value) {
    const QString text = escaped(value);
    if (!text.isEmpty() && !text.contains(u' ') && !text.contains(u'=') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\\\"")) + u'"';
}

QString logRecord(const DiagnosticLog::Record& record) {
    const QString message = messageOf(record.text);
    switch (record.kind) {
    case DiagnosticLog::Kind::Info:
        return QStringLiteral("log: O ") + message;
    case DiagnosticLog::Kind::Error:
        return QStringLiteral("log: E ") + message;
    case DiagnosticLog::Kind::Colour:
        return QStringLiteral("log: #%1 %2").arg(colourDigits(record.colour), message);
    case DiagnosticLog::Kind::Communication:
        break;
    }
    return QStringLiteral("comm: %1 %2").arg(colourDigits(record.colour), message);
}

QString dialogRecord(const RecordingDialogs::Record& record) {
    const QString text = escaped(record.text);
    switch (record.kind) {
    case DialogKind::Error:
        return QStringLiteral("dialog: error ") + text;
    case DialogKind::Notice:
        return QStringLiteral("dialog: notice ") + text;
    case DialogKind::Question:
        break;
    }
    return QStringLiteral("dialog: question %1 -> %2")
        .arg(text,
             record.answer == DialogAnswer::Yes ? QStringLiteral("yes") : QStringLiteral("no"));
}

QString widgetRecord(const TSheetComponent& entry) {
    const QString name = Win1250::toWide(entry.Component->Name());
    QStringList fields{
        QStringLiteral("widget:"), QString::fromLatin1(entry.Component->metaObject()->className()),
        name.isEmpty() ? QStringLiteral("-") : escaped(name), escaped(elementPath(entry.Node))};
    for (const char* property : {"Caption", "Text", "ItemIndex", "Value", "Enabled", "Visible"}) {
        if (!IsPublishedProp(entry.Component, property))
            continue;
        const Variant value = GetPropValue(entry.Component, property, true);
        fields.append(QString::fromLatin1(property) + u'=' + propertyValue(value.toWideText()));
    }
    return fields.join(u' ');
}

QString changeRecord(const SettingChange& change) {
    const auto value = [](const std::optional<QString>& v) {
        return v ? propertyValue(*v) : QStringLiteral("(none)");
    };
    return QStringLiteral("change: %1 %2 -> %3")
        .arg(escaped(change.setting), value(change.before), value(change.after));
}

bool isFailure(const DiagnosticLog::Record& record) {
    return record.kind == DiagnosticLog::Kind::Error ||
           (record.kind == DiagnosticLog::Kind::Colour &&
            (record.colour & 0xFFFFFF) == SheetLogColours::Red);
}

} // namespace CheckRecords
