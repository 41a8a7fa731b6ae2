#include "doubles/memoryserialport.h"

#include <algorithm>

namespace velk {

bool MemorySerialPort::setName(const LineName& name, QString* why) {
    if (!m_nameError.isEmpty())
        return refuse(why, m_nameError);
    if (m_open)
        return refuse(why, QStringLiteral("Port already open."));
    m_name = name;
    m_log << (name.kind == LineName::Kind::Comport ? QStringLiteral("CommPort=%1").arg(name.number)
                                                   : QStringLiteral("Line=%1").arg(name.text()));
    return true;
}

bool MemorySerialPort::setSettings(const LineSettings& settings, QString* why) {
    if (!m_settingsError.isEmpty())
        return refuse(why, m_settingsError);
    m_settings = settings;
    m_log << QStringLiteral("Settings=%1").arg(settings.text());
    return true;
}

QString MemorySerialPort::open() {
    if (!m_openError.isEmpty())
        return m_openError;
    if (m_open)
        return QStringLiteral("Port already open.");
    m_open = true;
    return {};
}

bool MemorySerialPort::output(const QByteArray& bytes) {
    const int index = m_writeCount++;
    if (!m_open)
        return false;
    if (std::find(m_failingWrites.begin(), m_failingWrites.end(), index) != m_failingWrites.end())
        return false;
    if (m_stalled) {
        m_pending += bytes;
        return true;
    }
    m_written += bytes;
    m_writes.push_back(bytes);
    return true;
}

void MemorySerialPort::resume() {
    m_stalled = false;
    if (!m_pending.isEmpty()) {
        m_writes.push_back(m_pending);
        m_written += std::exchange(m_pending, {});
    }
}

void MemorySerialPort::clearWritten() {
    m_written.clear();
    m_writes.clear();
    m_writeCount = 0;
}

void MemorySerialPort::lose() {
    if (!m_open)
        return;
    m_open = false;
    raiseLost();
}

} // namespace velk
