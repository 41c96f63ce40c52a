#include "link/ConfigurationHistory.h"

#include "platform/Win1250.h"
#include "platform/xml/TXMLDocument.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <exception>

namespace {

// Letters, digits, dot, dash and underscore; anything else becomes "_", so that a
// device's own text cannot reach outside its folder.
QString safeName(const QString& text) {
    QString name;
    for (const QChar c : text)
        name += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'.' || c == u'-' || c == u'_'
                    ? c
                    : u'_';
    return name.isEmpty() || name.startsWith(u'.') ? QStringLiteral("_") + name : name;
}

const char* answerName(ConfigurationHistory::Answer answer) {
    switch (answer) {
    case ConfigurationHistory::Answer::Applied:
        return "sent-applied";
    case ConfigurationHistory::Answer::PartlyApplied:
        return "sent-partly-applied";
    case ConfigurationHistory::Answer::NotConfirmed:
        break;
    }
    return "sent-not-confirmed";
}

} // namespace

ConfigurationHistory::ConfigurationHistory(const QString& directory,
                                           std::function<void(const QByteArray&)> report,
                                           std::function<qint64()> clockMs)
    : directory_(directory.isEmpty()
                     ? QDir(QStandardPaths::writableLocation(QStandardPaths::AppDataLocation))
                           .filePath(QStringLiteral("history"))
                     : directory),
      report_(std::move(report)),
      clockMs_(clockMs ? std::move(clockMs) : [] { return QDateTime::currentMSecsSinceEpoch(); }) {}

QString ConfigurationHistory::deviceFolder(const QByteArray& configuration,
                                           const QString& address) const {
    try {
        TXMLDocument document;
        document.loadFromBytes(configuration);
        const IXMLNode device = document.documentElement().childNodes().find(QStringLiteral("DEVICE"));
        const auto text = [&device](const char* name) {
            const Variant value = device.isNull() ? Variant() : device.attribute(QLatin1String(name));
            return value.isNull() ? QString() : value.toWideText();
        };
        const QString type = text("type");
        const QString serial = text("serial");
        if (!type.isEmpty() && !serial.isEmpty())
            return safeName(type + u'-' + serial);
    } catch (const std::exception&) {
        // A configuration that does not load is kept under the device's address.
    }
    return safeName(address);
}

void ConfigurationHistory::keepReceived(const QByteArray& configuration, const QString& address) {
    lastFolder_ = deviceFolder(configuration, address);
    lastAddress_ = address;
    keep(configuration, lastFolder_, "received");
}

void ConfigurationHistory::keepSent(const QByteArray& document, const QString& address,
                                    Answer answer) {
    keep(document, address == lastAddress_ ? lastFolder_ : safeName(address), answerName(answer));
}

void ConfigurationHistory::keep(const QByteArray& bytes, const QString& folderName, const char* what) {
    const QDir folder(QDir(directory_).filePath(folderName));
    const QString time = QDateTime::fromMSecsSinceEpoch(clockMs_(), Qt::UTC)
                             .toString(QStringLiteral("yyyyMMdd'T'HHmmss.zzz'Z'"));
    QString fileName = folder.filePath(time + u'-' + QLatin1String(what) + QStringLiteral(".xm"));
    for (int n = 2; QFile::exists(fileName); ++n)
        fileName = folder.filePath(QStringLiteral("%1-%2-%3.xm").arg(time, QLatin1String(what)).arg(n));
    QFile file(fileName);
    if (!folder.mkpath(QStringLiteral(".")) || !file.open(QIODevice::WriteOnly) ||
        file.write(bytes) != bytes.size() || !file.flush()) {
        report_("Nelze ulozit historii konfiguraci do " + Win1250::fromWide(folder.path()) + ": " +
                Win1250::fromWide(file.errorString()));
        return;
    }
    file.close();
    QStringList files = folder.entryList({QStringLiteral("*.xm")}, QDir::Files, QDir::Name);
    while (files.size() > FilesPerDevice)
        QFile::remove(folder.filePath(files.takeFirst()));
}
