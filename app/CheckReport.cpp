#include "app/CheckReport.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

QJsonValue optionalText(const std::optional<QString>& text) {
    return text ? QJsonValue(*text) : QJsonValue(QJsonValue::Null);
}

} // namespace

QString CheckReport::resultName(Result result) {
    switch (result) {
    case Result::Unchanged:
        return QStringLiteral("unchanged");
    case Result::Applied:
        return QStringLiteral("applied");
    case Result::PartiallyApplied:
        return QStringLiteral("partially-applied");
    case Result::NotConfirmed:
        return QStringLiteral("not-confirmed");
    case Result::DryRun:
        return QStringLiteral("dry-run");
    case Result::Failed:
        break;
    }
    return QStringLiteral("failed");
}

QByteArray CheckReport::toJson() const {
    QJsonObject device{{QStringLiteral("address"), address}};
    for (const auto& [name, value] : {std::pair{"type", type}, std::pair{"version", version},
                                      std::pair{"serial", serial}}) {
        if (!value.isEmpty())
            device.insert(QLatin1String(name), value);
    }
    QJsonArray changeList;
    for (const SettingChange& change : changes)
        changeList.append(QJsonObject{{QStringLiteral("setting"), change.setting},
                                      {QStringLiteral("before"), optionalText(change.before)},
                                      {QStringLiteral("after"), optionalText(change.after)}});
    const QJsonObject report{{QStringLiteral("device"), device},
                             {QStringLiteral("changes"), changeList},
                             {QStringLiteral("result"), resultName(result)},
                             {QStringLiteral("messages"), QJsonArray::fromStringList(messages)},
                             {QStringLiteral("exit"), exit}};
    return QJsonDocument(report).toJson(QJsonDocument::Compact) + '\n';
}
