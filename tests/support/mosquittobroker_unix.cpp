#include "support/mosquittobroker.h"

#include "support/loopbackport.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QFile>
#include <QThread>

#include <sys/stat.h>
#include <unistd.h>

namespace velk::test {

namespace {

constexpr int kStartTries = 5;

QStringList clientArguments(quint16 port) {
    return {"-h", "127.0.0.1",
            "-p", QString::number(port),
            "-u", MosquittoBroker::kUser,
            "-P", MosquittoBroker::kPassword};
}

// One line of mosquitto_sub's output in the format below: retained flag, topic, payload in hex.
const QString kFormat = QStringLiteral("MSG %r %t %x");

QList<MqttMessage> parseMessages(const QByteArray& output) {
    QList<MqttMessage> messages;
    for (const QByteArray& line : output.split('\n')) {
        if (!line.startsWith("MSG "))
            continue;
        const QList<QByteArray> fields = line.mid(4).split(' ');
        if (fields.size() < 2)
            continue;
        messages.append({QString::fromUtf8(fields.at(1)), QByteArray::fromHex(fields.value(2)),
                         fields.at(0) == "1"});
    }
    return messages;
}

} // namespace

MosquittoBroker::MosquittoBroker(Tls tls) {
    if (tls == Tls::With && !makeCertificates())
        return;
    QProcess passwd;
    passwd.start("mosquitto_passwd", {"-b", "-c", m_dir.filePath("passwd"), kUser, kPassword});
    if (!passwd.waitForFinished(10000) || passwd.exitCode() != 0) {
        m_error = "mosquitto_passwd failed: " + passwd.readAllStandardError();
        return;
    }
    for (int attempt = 0; attempt < kStartTries && !isReady(); ++attempt) {
        m_port = freeTcpPort();
        if (tls == Tls::With)
            m_tlsPort = freeTcpPort();
        start();
    }
}

bool MosquittoBroker::makeCertificates() {
    const QString ext = m_dir.filePath("server.ext");
    QFile extensions(ext);
    extensions.open(QIODevice::WriteOnly);
    extensions.write("subjectAltName=IP:127.0.0.1,DNS:localhost\n");
    extensions.close();
    const QStringList key{"-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:prime256v1", "-nodes"};
    const QList<QStringList> steps{
        QStringList{"req", "-x509"} + key +
            QStringList{"-keyout", "ca.key", "-out", "ca.pem", "-days", "2", "-subj",
                        "/CN=velk test CA"},
        QStringList{"req", "-x509"} + key +
            QStringList{"-keyout", "other-ca.key", "-out", "other-ca.pem", "-days", "2", "-subj",
                        "/CN=velk other CA"},
        QStringList{"req"} + key +
            QStringList{"-keyout", "server.key", "-out", "server.csr", "-subj", "/CN=127.0.0.1"},
        QStringList{"x509", "-req", "-in", "server.csr", "-CA", "ca.pem", "-CAkey", "ca.key",
                    "-CAcreateserial", "-out", "server.pem", "-days", "2", "-extfile", ext},
    };
    for (const QStringList& step : steps) {
        QProcess openssl;
        openssl.setWorkingDirectory(m_dir.path());
        openssl.start("openssl", step);
        if (!openssl.waitForFinished(20000) || openssl.exitCode() != 0) {
            m_error = "openssl " + step.first() + " failed: " + openssl.readAllStandardError();
            return false;
        }
    }
    return true;
}

MosquittoBroker::~MosquittoBroker() {
    kill();
}

bool MosquittoBroker::start() {
    QFile config(m_dir.filePath("mosquitto.conf"));
    config.open(QIODevice::WriteOnly);
    config.write(QStringLiteral("listener %1 127.0.0.1\nallow_anonymous false\n"
                                "password_file %2\npersistence false\nlog_dest stderr\n")
                     .arg(m_port)
                     .arg(m_dir.filePath("passwd"))
                     .toUtf8());
    if (m_tlsPort != 0)
        config.write(QStringLiteral("listener %1 127.0.0.1\ncafile %2\ncertfile %3\nkeyfile %4\n")
                         .arg(m_tlsPort)
                         .arg(caFile(), m_dir.filePath("server.pem"), m_dir.filePath("server.key"))
                         .toUtf8());
    if (::geteuid() == 0)
        config.write("user root\n"); // the password file is in a directory only root may enter
    config.close();
    m_process.setProcessChannelMode(QProcess::SeparateChannels);
    m_process.setStandardOutputFile(QProcess::nullDevice());
    m_process.setStandardErrorFile(m_dir.filePath("broker.log"), QIODevice::Append);
    m_process.start("mosquitto", {"-c", config.fileName()});
    if (!m_process.waitForStarted(5000)) {
        m_error = "mosquitto did not start: " + m_process.errorString();
        return false;
    }
    const QDeadlineTimer deadline(5000);
    while (!deadline.hasExpired() && m_process.state() == QProcess::Running) {
        if (acceptsConnections(m_port))
            return true;
        QThread::msleep(20);
    }
    m_error = "mosquitto did not listen on port " + QString::number(m_port);
    kill();
    return false;
}

void MosquittoBroker::kill() {
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.kill();
    m_process.waitForFinished(5000);
}

bool MosquittoBroker::restart() {
    kill();
    return start();
}

QString MosquittoBroker::url() const {
    return QStringLiteral("mqtt://127.0.0.1:%1").arg(m_port);
}

QString MosquittoBroker::tlsUrl() const {
    return QStringLiteral("mqtts://127.0.0.1:%1").arg(m_tlsPort);
}

QString MosquittoBroker::credentialsFile() const {
    return writeCredentials("credentials", kUser, kPassword, 0600);
}

QString MosquittoBroker::writeCredentials(const QString& name, const QString& user,
                                          const QString& password, int mode) const {
    QFile file(m_dir.filePath(name));
    file.open(QIODevice::WriteOnly);
    file.write((user + '\n' + password + '\n').toUtf8());
    file.close();
    ::chmod(QFile::encodeName(file.fileName()).constData(), mode_t(mode));
    return file.fileName();
}

bool MosquittoBroker::publish(const QString& topic, const QByteArray& payload, bool retain) const {
    QProcess pub;
    // -s reads the payload whole, any bytes; an empty one needs -n.
    QStringList arguments = clientArguments(m_port)
                            << "-t" << topic << (payload.isEmpty() ? "-n" : "-s");
    if (retain)
        arguments << "-r";
    pub.start("mosquitto_pub", arguments);
    pub.write(payload);
    pub.closeWriteChannel();
    return pub.waitForFinished(10000) && pub.exitCode() == 0;
}

QList<MqttMessage> MosquittoBroker::retained(const QString& filter, int count) const {
    QProcess sub;
    QStringList arguments = clientArguments(m_port) << "-t" << filter << "--retained-only"
                                                    << "-W"
                                                    << "1"
                                                    << "-F" << kFormat;
    if (count > 0)
        arguments << "-C" << QString::number(count);
    sub.start("mosquitto_sub", arguments);
    sub.waitForFinished(10000);
    return parseMessages(sub.readAllStandardOutput());
}

bool MosquittoBroker::waitForRetained(const QString& topic, const QByteArray& payload,
                                      int timeoutMs) const {
    const QDeadlineTimer deadline(timeoutMs);
    while (!deadline.hasExpired()) {
        const QList<MqttMessage> messages = retained(topic, 1);
        if (!messages.isEmpty() && messages.last().payload == payload)
            return true;
        QCoreApplication::processEvents();
        QThread::msleep(50);
    }
    return false;
}

MqttListener::MqttListener(const MosquittoBroker& broker, const QString& filter) {
    m_process.start("mosquitto_sub", clientArguments(broker.port())
                                         << "-t" << filter << "-F" << kFormat);
    // Subscribed once a message of its own comes back; what came before it is not kept.
    const QDeadlineTimer deadline(10000);
    while (!m_ready && !deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        broker.publish(filter, "listening");
        m_process.waitForReadyRead(200);
        m_seen += m_process.readAllStandardOutput();
        m_ready = !parseMessages(m_seen).isEmpty();
    }
    // Probes published before the subscription took hold may still be on their way.
    while (m_process.waitForReadyRead(100))
        ;
    m_seen.clear();
}

MqttListener::~MqttListener() {
    m_process.kill();
    m_process.waitForFinished(5000);
}

QList<MqttMessage> MqttListener::waitFor(int count, int timeoutMs) {
    const QDeadlineTimer deadline(timeoutMs);
    while (parseMessages(m_seen).size() < count && !deadline.hasExpired()) {
        m_process.waitForReadyRead(50);
        m_seen += m_process.readAllStandardOutput();
        QCoreApplication::processEvents();
    }
    return parseMessages(m_seen);
}

} // namespace velk::test
