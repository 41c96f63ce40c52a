#include "tools/devsim/RecordedSession.h"

#include "platform/Error.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>

namespace {

using Step = RecordedSession::Step;

class Reader {
public:
    Reader(const QString& fileName, RecordedSession& session)
        : fileName_(fileName), session_(session) {}

    [[noreturn]] void fail(int line, const QString& what) const {
        throw Error(QStringLiteral("%1:%2: %3").arg(fileName_).arg(line).arg(what));
    }

    void header(const QJsonObject& object, int line) const {
        if (!object.contains(QStringLiteral("konfidor")))
            fail(line, QStringLiteral("not a recording: the first line is no recording header"));
    }

    void entry(const QJsonObject& object, int line) {
        const QJsonValue t = object.value(QStringLiteral("t"));
        if (!t.isDouble() || t.toDouble() < 0)
            fail(line, QStringLiteral("no time (\"t\") in milliseconds"));
        Step step{Step::Kind::DeviceSends, static_cast<qint64>(t.toDouble()), {}, {}, line};
        if (object.contains(QStringLiteral("event"))) {
            event(object, step);
            return;
        }
        const QString dir = object.value(QStringLiteral("dir")).toString();
        if (dir != QLatin1String("in") && dir != QLatin1String("out"))
            fail(line, QStringLiteral("neither bytes (\"dir\": \"in\" or \"out\") nor an event"));
        const auto decoded = QByteArray::fromBase64Encoding(
            object.value(QStringLiteral("data")).toString().toLatin1(),
            QByteArray::AbortOnBase64DecodingErrors);
        if (!object.value(QStringLiteral("data")).isString() || !decoded)
            fail(line, QStringLiteral("the data is not base64"));
        step.bytes = *decoded;
        if (!connection_)
            fail(line, QStringLiteral("bytes outside a connection (no \"connect\" before them)"));
        if (dir == QLatin1String("out")) {
            step.kind = Step::Kind::ClientSends;
            QByteArray message = step.bytes;
            if (message.endsWith('\r'))
                message.chop(1);
            step.message = DeviceWire::kindOf(message, loggedIn_);
            loggedIn_ = true;
        }
        connection_->steps.push_back(step);
    }

private:
    void event(const QJsonObject& object, Step& step) {
        const QString name = object.value(QStringLiteral("event")).toString();
        if (name == QLatin1String("connect")) {
            session_.connections.push_back({{}, step.line});
            connection_ = &session_.connections.back();
            loggedIn_ = false;
            return;
        }
        if (name == QLatin1String("disconnect")) {
            const bool byClient =
                object.value(QStringLiteral("by")).toString() == QLatin1String("client");
            step.kind = byClient ? Step::Kind::ClientCloses : Step::Kind::DeviceCloses;
        } else if (name == QLatin1String("error")) {
            step.kind = Step::Kind::DeviceResets;
        } else {
            fail(step.line, QStringLiteral("an unknown event \"%1\"").arg(name));
        }
        // A failed attempt that never connected ends nothing the device has.
        if (connection_)
            connection_->steps.push_back(step);
        connection_ = nullptr;
    }

    const QString& fileName_;
    RecordedSession& session_;
    RecordedSession::Connection* connection_ = nullptr;
    bool loggedIn_ = false;
};

} // namespace

RecordedSession RecordedSession::read(const QString& fileName) {
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw Error(QStringLiteral("%1: %2").arg(fileName, file.errorString()));
    return parse(file.readAll(), fileName);
}

RecordedSession RecordedSession::parse(const QByteArray& text, const QString& fileName) {
    RecordedSession session;
    Reader reader(fileName, session);
    const QList<QByteArray> lines = text.split('\n');
    // A complete file ends with a line end, so its last piece is empty.
    const qsizetype complete = lines.size() - 1;
    for (qsizetype i = 0; i < lines.size(); ++i) {
        const int line = static_cast<int>(i + 1);
        if (lines[i].trimmed().isEmpty()) {
            if (i == 0)
                reader.fail(line, QStringLiteral("not a recording: the first line is empty"));
            continue;
        }
        QJsonParseError error{};
        const QJsonDocument document = QJsonDocument::fromJson(lines[i], &error);
        if (error.error != QJsonParseError::NoError || !document.isObject()) {
            if (i == complete && i > 0) {
                session.unfinishedNote =
                    QStringLiteral("%1:%2: the last line is unfinished (the recording was cut "
                                   "off); replaying what comes before it")
                        .arg(fileName)
                        .arg(line);
                break;
            }
            reader.fail(line, QStringLiteral("not a JSON object"));
        }
        if (i == 0)
            reader.header(document.object(), line);
        else
            reader.entry(document.object(), line);
    }
    return session;
}
