#pragma once

#include "tools/devsim/DeviceWire.h"

#include <QByteArray>
#include <QString>
#include <vector>

// A recording of device sessions (the program's --record file) read back for the
// replay: one list of steps per recorded connection, in order. Attempts that never
// connected are left out; they give the device nothing to do.
struct RecordedSession {
    struct Step {
        enum class Kind {
            DeviceSends,  // bytes the program received
            ClientSends,  // one message the program sent
            DeviceCloses, // the connection ended from the device's side
            DeviceResets, // the connection failed with a socket error
            ClientCloses, // the program ended the connection itself
        };
        Kind kind;
        // Milliseconds since the connection started.
        qint64 t = 0;
        QByteArray bytes;
        // For ClientSends: what the message asks for.
        DeviceWire::MessageKind message = DeviceWire::MessageKind::Other;
        // Where the step stands in the file, from 1, for reports.
        int line = 0;
    };
    struct Connection {
        std::vector<Step> steps;
        int line = 0;
    };

    std::vector<Connection> connections;
    // Set when the last line was cut off (a crash while it was written): what it
    // says, for the user; everything before it is replayed.
    QString unfinishedNote;

    // Reads a recording. A file that cannot be read, is not JSON lines, has no header
    // or holds data that is not base64 throws Error with "FILE:LINE: what is wrong".
    static RecordedSession read(const QString& fileName);
    static RecordedSession parse(const QByteArray& text, const QString& fileName);
};
