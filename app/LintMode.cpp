#include "app/LintMode.h"

#include "sheets/lint/SheetLint.h"

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <algorithm>
#include <cstdio>
#include <optional>
#include <tuple>

namespace LintMode {

namespace {

using Severity = LintFinding::Severity;

// A file that cannot be read is a finding of its own, at its start.
std::optional<QByteArray> readFile(const QString& file, std::vector<LintFinding>& findings) {
    QFile input(file);
    if (!input.open(QIODevice::ReadOnly)) {
        findings.push_back({file, 1, 1, Severity::Error,
                            QStringLiteral("cannot be read: ") + input.errorString()});
        return std::nullopt;
    }
    return input.readAll();
}

QString severityName(Severity severity) {
    return severity == Severity::Error ? QStringLiteral("error") : QStringLiteral("warning");
}

QByteArray asText(const std::vector<LintFinding>& findings) {
    QByteArray text;
    for (const LintFinding& finding : findings)
        text += QStringLiteral("%1:%2:%3: %4: %5\n")
                    .arg(finding.file)
                    .arg(finding.line)
                    .arg(finding.column)
                    .arg(severityName(finding.severity), finding.text)
                    .toUtf8();
    return text;
}

QByteArray asJson(const std::vector<LintFinding>& findings) {
    QJsonArray array;
    for (const LintFinding& finding : findings)
        array.append(QJsonObject{{QStringLiteral("file"), finding.file},
                                 {QStringLiteral("line"), finding.line},
                                 {QStringLiteral("column"), finding.column},
                                 {QStringLiteral("severity"), severityName(finding.severity)},
                                 {QStringLiteral("message"), finding.text}});
    return QJsonDocument(array).toJson(QJsonDocument::Indented);
}

} // namespace

int run(const StartOptions& options) {
    std::vector<LintFinding> findings;
    std::vector<LintDevice> devices;
    for (const QString& file : options.lintDevices) {
        if (std::optional<QByteArray> bytes = readFile(file, findings)) {
            if (std::optional<LintDevice> device = LintDeviceConfiguration(file, *bytes, findings))
                devices.push_back(std::move(*device));
        }
    }
    for (const QString& file : options.lintFiles) {
        if (std::optional<QByteArray> bytes = readFile(file, findings)) {
            std::vector<LintFinding> own = LintSheet(file, *bytes, devices);
            findings.insert(findings.end(), own.begin(), own.end());
        }
    }
    std::stable_sort(
        findings.begin(), findings.end(), [](const LintFinding& a, const LintFinding& b) {
            return std::tie(a.file, a.line, a.column) < std::tie(b.file, b.line, b.column);
        });
    const QByteArray output = options.lintJson ? asJson(findings) : asText(findings);
    std::fwrite(output.constData(), 1, std::size_t(output.size()), stdout);
    const bool errors = std::any_of(findings.begin(), findings.end(), [](const LintFinding& f) {
        return f.severity == Severity::Error;
    });
    return errors ? Errors : findings.empty() ? Clean : WarningsOnly;
}

} // namespace LintMode
