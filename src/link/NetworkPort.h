#pragma once
// A line reached over the network: an RS-485 line behind a serial device server in raw TCP mode,
// named "tcp://HOST:PORT" wherever a serial device path may stand (--port, the port map, and so a
// project). The same frames and time-outs run over the socket; the line settings are the server's.
#include <QByteArray>
#include <QString>
#include <optional>

namespace vextor {

struct NetworkAddress {
    QByteArray host;    // a name, an IPv4 address or an IPv6 address (given in brackets)
    QByteArray service; // the TCP port, 1..65535
};

bool isNetworkPort(const QString& name);
// The host and port of "tcp://HOST:PORT"; nothing for anything else or a malformed name.
std::optional<NetworkAddress> parseNetworkPort(const QString& name);

// Connects within timeoutMs. Returns a non-blocking socket with Nagle's delay off (each request
// leaves at once), or -1 with err set (ENOENT when the host is unknown) and a reason for the engineer.
int connectNetworkPort(const NetworkAddress& address, int timeoutMs, int& err, QString& reason);

// What a network adds to every wait for a reply, in ms: the setting "latencyMs" of the [network]
// section of the user settings file, or VEXTOR_NET_LATENCY_MS; 50 when neither says.
int networkLatencyMs();
constexpr int kDefaultNetworkLatencyMs = 50;
constexpr int kNetworkConnectTimeoutMs = 3000;

} // namespace vextor
