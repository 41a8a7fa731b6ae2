#pragma once

#include "monitor/linesummary.h"
#include "monitor/monitoroptions.h"
#include "wire/framedecoder.h"

#include <QObject>
#include <QSerialPort>
#include <QTextStream>
#include <QTime>
#include <QTimer>

#include <functional>
#include <memory>

namespace velk {

// Reads the line and prints each frame as it arrives.
class Monitor : public QObject {
    Q_OBJECT
public:
    using Now = std::function<QTime()>;

    Monitor(MonitorOptions options, QTextStream& out, QTextStream& err,
            Now now = &QTime::currentTime);

    // Opens the device read-only with the line settings. Empty on success, otherwise why the
    // device cannot be read, naming it.
    QString start();
    // Ends monitoring: reports bytes still held, the summary if asked for, then `finished`.
    void stop();
    // 1 once the line failed after start() (a bus line's broker), 0 otherwise.
    int exitStatus() const { return m_exitStatus; }

signals:
    void finished();

private:
    void readLine();
    void portFailed(QSerialPort::SerialPortError error);
    QString openSerial();
    void watchBus();
    // The line being read: the serial port, or a network tap.
    QIODevice& input() { return m_tap ? *m_tap : *m_port; }
    void print(const std::vector<LineEvent>& events);

    MonitorOptions m_options;
    QTextStream& m_out;
    QTextStream& m_err;
    Now m_now;
    std::unique_ptr<QSerialPort> m_port;
    std::unique_ptr<QIODevice> m_tap;
    std::unique_ptr<QObject> m_busTap; // a bus line's BASE/frames
    int m_exitStatus = 0;
    FrameDecoder m_decoder;
    LineSummary m_summary;
    QTimer m_noiseDue; // held noise is shown when this fires
    bool m_stopped = false;
};

} // namespace velk
