#include "link/SocketFaults.h"

#include <utility>

namespace SocketFaults {
namespace {

Injector& installed() {
    static Injector injector;
    return injector;
}

} // namespace

Injector setInjector(Injector injector) {
    return std::exchange(installed(), std::move(injector));
}

std::optional<Fault> faultFor(const QString& host, quint16 port) {
    if (!installed())
        return std::nullopt;
    return installed()(host, port);
}

} // namespace SocketFaults
