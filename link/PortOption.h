#pragma once

#include <QCommandLineOption>
#include <QCommandLineParser>

// The client's "--port N" command-line option: the TCP port bConnectClick connects to,
// so a demo or a test can use a device simulator on a port of its own. The operator's
// fields and the protocol stay as they are.
namespace PortOption {

QCommandLineOption option();

// The port the parsed command line names, or the device's port 9999 when it names none.
// Raises Error for a value that is no port.
quint16 portFrom(const QCommandLineParser& parser);

} // namespace PortOption
