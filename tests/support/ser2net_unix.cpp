#include "support/ser2net.h"

#include "support/loopbackport.h"

#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QThread>

namespace velk::test {

Ser2net::Ser2net(const QString& device, Sharing sharing)
    : m_device(QFileInfo(device).canonicalFilePath()), m_sharing(sharing) {
    // Another test may take a port between the probe and ser2net's bind: try a few pairs.
    for (int attempt = 0; attempt < 5; ++attempt) {
        m_rfc2217Port = freeTcpPort();
        m_tcpPort = freeTcpPort();
        start();
        if (isReady())
            return;
        stop();
    }
}

Ser2net::~Ser2net() {
    stop();
}

QString Ser2net::rfc2217Url() const {
    return QStringLiteral("rfc2217://127.0.0.1:%1").arg(m_rfc2217Port);
}

QString Ser2net::tcpUrl() const {
    return QStringLiteral("tcp://127.0.0.1:%1").arg(m_tcpPort);
}

void Ser2net::start() {
    m_error.clear();
    const QString config = m_dir.filePath(QStringLiteral("ser2net.yaml"));
    QFile file(config);
    if (!file.open(QIODevice::WriteOnly)) {
        m_error = QStringLiteral("cannot write %1").arg(config);
        return;
    }
    const QString connection = QStringLiteral("connection: &%1\n"
                                              "  accepter: %2tcp,127.0.0.1,%3\n"
                                              "  connector: serialdev,%4,9600n81,local\n"
                                              "  options:\n"
                                              "    %5\n"
                                              "    mdns: false\n");
    const QString sharing = m_sharing == Sharing::KickOldUser
                                ? QStringLiteral("kickolduser: true")
                                : QStringLiteral("max-connections: 1");
    file.write(QStringLiteral("%YAML 1.1\n---\n").toUtf8());
    file.write(connection.arg(QStringLiteral("rfc2217"), QStringLiteral("telnet(rfc2217),"))
                   .arg(m_rfc2217Port)
                   .arg(m_device, sharing)
                   .toUtf8());
    file.write(connection.arg(QStringLiteral("raw"), QString())
                   .arg(m_tcpPort)
                   .arg(m_device, sharing)
                   .toUtf8());
    file.close();
    // -n: in the foreground, ended with the test; -u: no UUCP lock files in the system's dirs.
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(QStringLiteral("ser2net"),
                    {QStringLiteral("-n"), QStringLiteral("-u"), QStringLiteral("-c"), config,
                     QStringLiteral("-P"), m_dir.filePath(QStringLiteral("pid"))});
    if (!m_process.waitForStarted(5000)) {
        m_error = QStringLiteral("ser2net did not start: ") + m_process.errorString();
        return;
    }
    QElapsedTimer waited;
    waited.start();
    while (!(isBound(m_rfc2217Port) && isBound(m_tcpPort))) {
        if (m_process.state() != QProcess::Running || waited.elapsed() > 5000) {
            m_error = QStringLiteral("ser2net does not serve its ports: ") +
                      QString::fromLocal8Bit(m_process.readAll());
            return;
        }
        QThread::msleep(20);
    }
}

void Ser2net::stop() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

bool Ser2net::restart() {
    stop();
    start();
    return isReady();
}

} // namespace velk::test
