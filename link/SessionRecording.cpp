#include "link/SessionRecording.h"

#include "platform/Win1250.h"

#include <QDateTime>
#include <QJsonDocument>
#include <QJsonObject>

SessionRecording::SessionRecording(const QString& file, Report report)
    : file_(file), report_(std::move(report)) {}

void SessionRecording::begin(const QString& address, quint16 port) {
    if (begun_)
        return;
    begun_ = true;
    if (!file_.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        stop();
        return;
    }
    write({{QStringLiteral("konfidor"), QStringLiteral(KONFIDOR_VERSION)},
           {QStringLiteral("address"), address},
           {QStringLiteral("port"), port},
           {QStringLiteral("start"), QDateTime::currentDateTimeUtc().toString(Qt::ISODateWithMs)}});
}

void SessionRecording::connected() {
    sinceConnect_.start();
    write({{QStringLiteral("event"), QStringLiteral("connect")}});
}

void SessionRecording::received(const QByteArray& bytes) {
    write({{QStringLiteral("dir"), QStringLiteral("in")},
           {QStringLiteral("data"), QString::fromLatin1(bytes.toBase64())}});
}

void SessionRecording::sent(const QByteArray& bytes) {
    write({{QStringLiteral("dir"), QStringLiteral("out")},
           {QStringLiteral("data"), QString::fromLatin1(bytes.toBase64())}});
}

void SessionRecording::disconnected(bool byClient) {
    write({{QStringLiteral("event"), QStringLiteral("disconnect")},
           {QStringLiteral("by"), byClient ? QStringLiteral("client") : QStringLiteral("device")}});
}

void SessionRecording::failed(int errorCode) {
    write(
        {{QStringLiteral("event"), QStringLiteral("error")}, {QStringLiteral("code"), errorCode}});
}

QByteArray SessionRecording::masked(const QByteArray& bytes, const QByteArray& password) {
    if (bytes != "S" + password + "\r")
        return bytes;
    return "S" + QByteArray(password.size(), '*') + "\r";
}

void SessionRecording::write(QJsonObject object) {
    if (broken_ || !file_.isOpen())
        return;
    if (!object.contains(QStringLiteral("konfidor")))
        object.insert(QStringLiteral("t"), sinceConnect_.isValid() ? sinceConnect_.elapsed() : 0);
    const QByteArray line = QJsonDocument(object).toJson(QJsonDocument::Compact) + '\n';
    if (file_.write(line) != line.size() || !file_.flush())
        stop();
}

void SessionRecording::stop() {
    broken_ = true;
    if (report_)
        report_(Win1250::fromWide(QStringLiteral("Nelze zapisovat zaznam komunikace do %1: %2")
                                      .arg(file_.fileName(), file_.errorString())));
}
