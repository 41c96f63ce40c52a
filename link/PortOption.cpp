#include "link/PortOption.h"

#include "link/DeviceLink.h"
#include "platform/Error.h"

namespace PortOption {

QCommandLineOption option() {
    return QCommandLineOption(QStringLiteral("port"),
                              QStringLiteral("TCP port of the device (default 9999)."),
                              QStringLiteral("port"), QString::number(DeviceLink::DefaultPort));
}

quint16 portFrom(const QCommandLineParser& parser) {
    const QString text = parser.value(QStringLiteral("port"));
    bool ok = false;
    const int port = text.toInt(&ok);
    if (!ok || port < 1 || port > 65535)
        throw Error(QStringLiteral("Neplatné číslo portu: %1").arg(text));
    return static_cast<quint16>(port);
}

} // namespace PortOption
