#pragma once

#include "controls/linesettings.h"
#include "port/linename.h"
#include "port/telnetcodec.h"

#include <QIODevice>
#include <QTcpSocket>

namespace velk {

// A network line read as a device: the bytes of the line itself, with Telnet's commands taken
// out and its questions answered on an rfc2217:// line. Read-only.
class NetworkTap : public QIODevice {
    Q_OBJECT

public:
    explicit NetworkTap(LineName name, QObject* parent = nullptr);

    // Connects and, for rfc2217://, sends the line settings, waiting at most the answer time:
    // for a program's start, before its event loop runs. Empty on success, otherwise why not,
    // naming HOST:PORT as the panel does.
    QString connectTo(const LineSettings& settings);

    bool isSequential() const override { return true; }
    qint64 bytesAvailable() const override { return m_data.size() + QIODevice::bytesAvailable(); }

protected:
    qint64 readData(char* data, qint64 maxSize) override;
    qint64 writeData(const char*, qint64) override { return -1; }

private:
    void take();

    LineName m_name;
    QTcpSocket m_socket;
    TelnetCodec m_codec;
    QByteArray m_data;
};

} // namespace velk
