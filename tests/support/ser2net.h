#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace velk::test {

// A ser2net on 127.0.0.1 serving one device twice: as RFC 2217 (Telnet with line control) and as
// a raw TCP port, each on a port free when it started. mDNS is off; the device needs no modem
// lines (a pseudo-terminal has none).
class Ser2net {
public:
    // How a second client is met: it knocks the first off (kickolduser), or it is refused with
    // "Port already in use" (max-connections: 1).
    enum class Sharing { KickOldUser, OneConnection };

    explicit Ser2net(const QString& device, Sharing sharing = Sharing::KickOldUser);
    ~Ser2net();
    Ser2net(const Ser2net&) = delete;
    Ser2net& operator=(const Ser2net&) = delete;

    bool isReady() const { return m_error.isEmpty(); }
    QString error() const { return m_error; }
    QString rfc2217Url() const;
    QString tcpUrl() const;
    quint16 rfc2217Port() const { return m_rfc2217Port; }
    quint16 tcpPort() const { return m_tcpPort; }

    // Ends ser2net, as a device server switched off.
    void stop();
    // Starts it again on the same ports; false when that failed.
    bool restart();

private:
    void start();

    QString m_device;
    Sharing m_sharing;
    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_rfc2217Port = 0;
    quint16 m_tcpPort = 0;
    QString m_error;
};

} // namespace velk::test
