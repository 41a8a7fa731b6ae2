#pragma once

#include "port/line.h"

#include <QByteArray>
#include <QStringList>
#include <utility>
#include <vector>

namespace velk {

// A line that records what the panel writes and can be told to refuse or fail.
class MemorySerialPort : public Line {
public:
    LineName name() const override { return m_name; }
    bool setName(const LineName& name, QString* why) override;
    LineSettings settings() const override { return m_settings; }
    bool setSettings(const LineSettings& settings, QString* why) override;

    bool isOpen() const override { return m_open; }
    void open(Opened opened) override { opened(open()); }
    void close(Closed closed = {}) override {
        m_open = false;
        const qint64 unsent = std::exchange(m_unsent, 0);
        if (closed)
            closed(unsent);
    }
    bool output(const QByteArray& bytes) override;
    qint64 pendingBytes() const override { return m_open ? m_pending.size() : 0; }
    bool canWithdraw() const override { return m_canWithdraw; }
    qint64 discardPending() override {
        return m_canWithdraw ? std::exchange(m_pending, {}).size() : 0;
    }
    // What open(Opened) reports, returned.
    QString open();

    // Everything handed to output() while open, in order, and one entry per write.
    const QByteArray& written() const { return m_written; }
    const std::vector<QByteArray>& writes() const { return m_writes; }
    // Every output() call, taken or not, since the last clearWritten().
    int attempts() const { return m_writeCount; }
    void clearWritten();

    // Test levers.
    void refuseOpen(const QString& description) { m_openError = description; }
    void refuseName(const QString& description) { m_nameError = description; }
    // A line that cannot take back what it has accepted, as a raw network line.
    void keepAccepted() { m_canWithdraw = false; }
    void refuseSettings(const QString& description) { m_settingsError = description; }
    // Fails the write with this 0-based index (counted from the last clearWritten).
    void failWrite(int index) { m_failingWrites.push_back(index); }
    // The next close reports this many bytes the line would not take.
    void leaveUnsent(qint64 bytes) { m_unsent = bytes; }
    // A stalled line keeps what is written pending; resuming hands it on to written().
    void stall() { m_stalled = true; }
    void resume();
    // Simulates the device vanishing: the port closes and the lost handler runs.
    void lose();

    // Every configuration call in order, e.g. "CommPort=3", "Line=tcp://h:1",
    // "Settings=9600,O,8,1".
    const QStringList& configurationLog() const { return m_log; }

private:
    LineName m_name;
    bool m_canWithdraw = true;
    LineSettings m_settings;
    bool m_open = false;
    qint64 m_unsent = 0;
    QByteArray m_written;
    QByteArray m_pending;
    bool m_stalled = false;
    std::vector<QByteArray> m_writes;
    int m_writeCount = 0;
    std::vector<int> m_failingWrites;
    QString m_openError;
    QString m_nameError;
    QString m_settingsError;
    QStringList m_log;
};

} // namespace velk
