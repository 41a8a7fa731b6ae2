#pragma once

#include <QString>
#include <memory>
#include <optional>

namespace velk {

class PortMapping;

// Which line a run uses, read once from what the operator typed: "Comport N", a device reached
// directly (a path such as /dev/ttyUSB0, or a Windows name beyond COM16, which the run then calls
// Comport 1), or a device server on the network (rfc2217://HOST:PORT, tcp://HOST:PORT).
struct LineName {
    enum class Kind { Comport, Device, Network };
    // How a network line carries the bytes: as they are, or as Telnet with line control.
    enum class Protocol { Raw, Rfc2217 };

    Kind kind = Kind::Comport;
    int number = 1;
    QString device; // Kind::Device: absolute when given as a relative path
    Protocol protocol = Protocol::Raw;
    QString host; // Kind::Network: a name, an IPv4 or an IPv6 address (without brackets)
    quint16 tcpPort = 0;

    // COMn with n from 1 to 16 means Comport n where the system names its ports so.
#ifdef Q_OS_WIN
    static constexpr bool kComNames = true;
#else
    static constexpr bool kComNames = false;
#endif

    static LineName comport(int number) {
        LineName name;
        name.number = number;
        return name;
    }
    static LineName network(Protocol protocol, const QString& host, quint16 port);

    // Reads N (1 to 16), DEVICE or a URL. Nothing, with a one-line `why` naming `option` (e.g.
    // "--port") and what is wrong, for anything else.
    static std::optional<LineName> parse(const QString& text, QString* why,
                                         const QString& option = QStringLiteral("--port"),
                                         bool comNames = kComNames);

    // Reads a device server's URL only; anything else is refused as parse() refuses it.
    static std::optional<LineName> parseNetwork(const QString& text, QString* why,
                                                const QString& option);

    bool isNetwork() const {
        return kind == Kind::Network;
    }
    // "HOST:PORT", an IPv6 host in brackets.
    QString endpoint() const;
    // The line as the status bar names it: "Com 1" (a device counts as its Comport), "HOST:PORT".
    QString label() const;
    // The name as parse() reads it back: "3", "/dev/ttyUSB0", "rfc2217://HOST:PORT".
    QString text() const;

    // The mapping that reaches this serial line: `system` itself, or with the device pinned.
    std::unique_ptr<PortMapping> mapping(std::unique_ptr<PortMapping> system) const;

    friend bool operator==(const LineName& a, const LineName& b) {
        return a.kind == b.kind && a.number == b.number && a.device == b.device &&
               a.protocol == b.protocol && a.host == b.host && a.tcpPort == b.tcpPort;
    }
    friend bool operator!=(const LineName& a, const LineName& b) {
        return !(a == b);
    }
};

} // namespace velk
