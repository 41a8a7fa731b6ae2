#pragma once

#include <QByteArray>
#include <QList>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>

namespace velk::test {

// A message as a subscriber saw it.
struct MqttMessage {
    QString topic;
    QByteArray payload;
    bool retained = false;
};

// A mosquitto broker of the test's own on 127.0.0.1, on a port free when it started, that takes
// one user by password and nobody else. Clients are mosquitto's own command-line tools. With
// TLS it also listens for mqtts on a second port, with a server certificate for 127.0.0.1 and
// localhost signed by a certificate authority the test made with openssl.
class MosquittoBroker {
public:
    static constexpr const char* kUser = "velk";
    static constexpr const char* kPassword = "s3cret word";
    enum class Tls { Without, With };

    explicit MosquittoBroker(Tls tls = Tls::Without);
    ~MosquittoBroker();
    MosquittoBroker(const MosquittoBroker&) = delete;
    MosquittoBroker& operator=(const MosquittoBroker&) = delete;

    bool isReady() const { return m_process.state() == QProcess::Running; }
    QString error() const { return m_error; }
    QString url() const;
    quint16 port() const { return m_port; }
    // mqtts://127.0.0.1:PORT, with Tls::With.
    QString tlsUrl() const;
    // The certificate authority that signed the broker's certificate.
    QString caFile() const { return m_dir.filePath("ca.pem"); }
    // Another authority, which signed nothing the broker shows.
    QString otherCaFile() const { return m_dir.filePath("other-ca.pem"); }
    // A credentials file for the user, readable by its owner only.
    QString credentialsFile() const;
    // A file with `user` and `password` and the given permissions (octal, e.g. 0644).
    QString writeCredentials(const QString& name, const QString& user, const QString& password,
                             int mode) const;

    // Kills the broker; retained messages go with it.
    void kill();
    // Starts it again on the same port; false when it did not come up.
    bool restart();

    // Publishes as the user; false when mosquitto_pub failed.
    bool publish(const QString& topic, const QByteArray& payload, bool retain = false) const;
    // The retained messages under `filter`, as a new subscriber gets them; with a `count`, no
    // more than that.
    QList<MqttMessage> retained(const QString& filter, int count = 0) const;
    // The retained payload of `topic` once it is `payload`, waiting up to `timeoutMs`.
    bool waitForRetained(const QString& topic, const QByteArray& payload,
                         int timeoutMs = 15000) const;

private:
    bool start();
    bool makeCertificates();

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
    quint16 m_tlsPort = 0;
    QString m_error;
};

// A subscriber that runs beside the test, collecting what arrives under `filter` (a topic the
// code under test does not read: it is probed until the subscription holds).
class MqttListener {
public:
    MqttListener(const MosquittoBroker& broker, const QString& filter);
    ~MqttListener();
    // False when it could not subscribe.
    bool isReady() const { return m_ready; }
    // Waits until `count` messages arrived in all, or `timeoutMs` passed; returns them all.
    QList<MqttMessage> waitFor(int count, int timeoutMs = 10000);

private:
    QProcess m_process;
    QByteArray m_seen;
    bool m_ready = false;
};

} // namespace velk::test
