#pragma once

#include <QAbstractSocket>

// The program reports socket failures by their Windows Sockets numbers, on every
// platform. Qt's socket errors map to them as follows:
//
//   Qt error                          Windows Sockets code
//   ConnectionRefusedError            10061  WSAECONNREFUSED
//   HostNotFoundError                 11001  WSAHOST_NOT_FOUND
//   SocketTimeoutError                10060  WSAETIMEDOUT
//   SocketAccessError                 10013  WSAEACCES
//   SocketResourceError               10055  WSAENOBUFS
//   DatagramTooLargeError             10040  WSAEMSGSIZE
//   NetworkError                      10050  WSAENETDOWN
//   AddressInUseError                 10048  WSAEADDRINUSE
//   SocketAddressNotAvailableError    10049  WSAEADDRNOTAVAIL
//   UnsupportedSocketOperationError   10045  WSAEOPNOTSUPP
//   UnfinishedSocketOperationError    10036  WSAEINPROGRESS
//   TemporaryError                    10035  WSAEWOULDBLOCK
//   RemoteHostClosedError             10054  WSAECONNRESET (the wrapper treats a peer's
//                                            close as a disconnection, not as an error)
//   ProxyConnectionRefusedError       10061  WSAECONNREFUSED
//   ProxyConnectionClosedError        10054  WSAECONNRESET
//   ProxyConnectionTimeoutError       10060  WSAETIMEDOUT
//   ProxyNotFoundError                11001  WSAHOST_NOT_FOUND
//   ProxyAuthenticationRequiredError,
//   ProxyProtocolError                10013  WSAEACCES (the link never uses a proxy)
//   any other (operation, TLS,
//   unknown)                          10022  WSAEINVAL
namespace SocketErrorCodes {

inline constexpr int TimedOut = 10060;
inline constexpr int ConnectionRefused = 10061;
inline constexpr int HostNotFound = 11001;
// What the socket reports for an attempt without any host.
inline constexpr int NoHost = 1110;

int fromQt(QAbstractSocket::SocketError error);

} // namespace SocketErrorCodes
