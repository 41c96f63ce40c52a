#pragma once

#include "tools/devsim/RecordedSession.h"

#include <QHostAddress>
#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class QTcpServer;

// Plays the device's side of a recording to a client: the k-th connection it accepts
// plays the k-th recorded connection. It sends the recorded bytes in the recorded
// pieces at the recorded pacing (divided by the speed; speed 0: no waiting), and
// before each part that followed a client message it waits for a message of the same
// kind (the login line, the configuration request, a keep-alive, an apply), whatever
// its bytes. Where the client departs from the recording it reports so and goes on
// where it can.
class SessionReplay : public QObject {
    Q_OBJECT

public:
    struct Options {
        QHostAddress address = QHostAddress::LocalHost;
        // 0 takes any free port.
        quint16 port = 0;
        double speed = 1;
    };
    using Report = std::function<void(const QString& text)>;

    SessionReplay(RecordedSession session, Options options, Report report,
                  QObject* parent = nullptr);
    ~SessionReplay() override;

    // Listens on the options' address and port; only loopback addresses are accepted.
    bool listen();
    quint16 port() const;
    QString errorString() const { return errorString_; }

signals:
    // Every message a client sent, with its "\r".
    void messageReceived(const QByteArray& message);

private:
    class Player;

    void accept();

    RecordedSession session_;
    Options options_;
    Report report_;
    QTcpServer* server_;
    std::vector<std::unique_ptr<Player>> players_;
    QString errorString_;
    int accepted_ = 0;
};
