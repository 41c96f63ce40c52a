#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <functional>

class QJsonObject;

// A device session written down for support, as JSON lines: first a header
// (program version, the address as typed, the port, the UTC start time), then one
// object per socket read or send, {"t": milliseconds since the connection's start,
// "dir": "in"|"out", "data": base64}, and one per connection start and end
// ({"t", "event": "connect"|"disconnect"|"error"}, with "code", the Windows
// Sockets code, for an error, and "by": "client"|"device" for a disconnection, so
// that a replay knows which side closed). Every object is flushed as it is written, so a
// crash keeps what came before. A file that cannot be written costs one report;
// the session goes on without recording.
class SessionRecording {
public:
    // Takes the report's text in Windows-1250, as the log does.
    using Report = std::function<void(const QByteArray& text)>;

    SessionRecording(const QString& file, Report report);

    // The header, before the first connection attempt; later calls add nothing.
    void begin(const QString& address, quint16 port);
    void connected();
    void received(const QByteArray& bytes);
    // `bytes` as sent, with the login line's password already masked.
    void sent(const QByteArray& bytes);
    void disconnected(bool byClient);
    void failed(int errorCode);

    QString fileName() const { return file_.fileName(); }

    // The login line "S" PASSWORD CR as it goes into the file: the password's
    // characters as "*". Other bytes stay as they are.
    static QByteArray masked(const QByteArray& bytes, const QByteArray& password);

private:
    void write(QJsonObject object);
    // The file failed: one report, and nothing more is written.
    void stop();

    QFile file_;
    Report report_;
    QElapsedTimer sinceConnect_;
    bool begun_ = false;
    bool broken_ = false;
};
