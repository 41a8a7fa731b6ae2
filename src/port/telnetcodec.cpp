#include "port/telnetcodec.h"

#include <QtEndian>

namespace velk {

namespace {

quint8 parityCode(QSerialPort::Parity parity) {
    switch (parity) {
    case QSerialPort::OddParity:
        return 2;
    case QSerialPort::EvenParity:
        return 3;
    case QSerialPort::MarkParity:
        return 4;
    case QSerialPort::SpaceParity:
        return 5;
    default:
        return 1;
    }
}

std::optional<QSerialPort::Parity> parityFromCode(quint8 code) {
    switch (code) {
    case 1:
        return QSerialPort::NoParity;
    case 2:
        return QSerialPort::OddParity;
    case 3:
        return QSerialPort::EvenParity;
    case 4:
        return QSerialPort::MarkParity;
    case 5:
        return QSerialPort::SpaceParity;
    default:
        return std::nullopt;
    }
}

quint8 stopCode(QSerialPort::StopBits stopBits) {
    switch (stopBits) {
    case QSerialPort::TwoStop:
        return 2;
    case QSerialPort::OneAndHalfStop:
        return 3;
    default:
        return 1;
    }
}

QByteArray command(quint8 code, const QByteArray& value) {
    QByteArray bytes;
    bytes.append(char(TelnetCodec::kIac)).append(char(TelnetCodec::kSb));
    bytes.append(char(TelnetCodec::kComPort)).append(char(code));
    bytes.append(TelnetCodec::escape(value));
    bytes.append(char(TelnetCodec::kIac)).append(char(TelnetCodec::kSe));
    return bytes;
}

} // namespace

QByteArray TelnetCodec::escape(const QByteArray& data) {
    if (!data.contains(char(kIac)))
        return data;
    QByteArray escaped;
    escaped.reserve(data.size() + 8);
    for (const char byte : data) {
        escaped.append(byte);
        if (quint8(byte) == kIac)
            escaped.append(byte);
    }
    return escaped;
}

QByteArray TelnetCodec::greeting() {
    QByteArray bytes;
    for (const quint8 code : {kComPort, kBinary}) {
        m_askedWill[code] = true;
        bytes.append(char(kIac)).append(char(kWill)).append(char(code));
    }
    m_askedDo[kBinary] = true;
    bytes.append(char(kIac)).append(char(kDo)).append(char(kBinary));
    return bytes;
}

QByteArray TelnetCodec::timingMark() {
    ++m_marksAsked;
    return QByteArray() + char(kIac) + char(kDo) + char(kTimingMark);
}

QByteArray TelnetCodec::settingsRequest(const LineSettings& settings) {
    QByteArray baud(4, '\0');
    qToBigEndian(quint32(qMax(settings.baudRate, 0)), baud.data());
    return command(kSetBaudRate, baud) +
           command(kSetDataSize, QByteArray(1, char(settings.dataBits))) +
           command(kSetParity, QByteArray(1, char(parityCode(settings.parity)))) +
           command(kSetStopSize, QByteArray(1, char(stopCode(settings.stopBits))));
}

QByteArray TelnetCodec::feed(const QByteArray& bytes) {
    QByteArray data;
    for (const char raw : bytes) {
        const quint8 byte = quint8(raw);
        switch (m_state) {
        case State::Data:
            if (byte == kIac)
                m_state = State::Iac;
            else
                data.append(raw);
            break;
        case State::Iac:
            if (byte >= kWill && byte <= kDont) {
                m_verb = byte;
                m_state = State::Option;
            } else if (byte == kSb) {
                m_sub.clear();
                m_state = State::Sub;
            } else { // a doubled 0xFF in the data, or a command without an option
                if (byte == kIac)
                    data.append(raw);
                m_state = State::Data;
            }
            break;
        case State::Option:
            option(m_verb, byte);
            m_state = State::Data;
            break;
        case State::Sub:
            if (byte == kIac)
                m_state = State::SubIac;
            else if (m_sub.size() < kMaxSubnegotiation)
                m_sub.append(raw);
            break;
        case State::SubIac:
            if (byte == kSe) {
                subnegotiation();
                m_state = State::Data;
            } else {
                if (byte == kIac && m_sub.size() < kMaxSubnegotiation)
                    m_sub.append(raw);
                m_state = State::Sub;
            }
            break;
        }
    }
    return data;
}

void TelnetCodec::option(quint8 verb, quint8 code) {
    if (code == kTimingMark && (verb == kWill || verb == kWont)) {
        // Either answer says the server has read up to the mark; one nobody asked for is noise.
        if (m_marksAsked > 0) {
            --m_marksAsked;
            ++m_markAnswers;
        }
        return;
    }
    switch (verb) {
    case kDo:
        if (!accepted(code)) {
            if (!std::exchange(m_refusedDo[code], true))
                reply(kWont, code);
            return;
        }
        // An answer to our own request needs none back; a new request gets one.
        if (!m_weWill[code] && !m_askedWill[code])
            reply(kWill, code);
        m_weWill[code] = true;
        m_askedWill[code] = false;
        break;
    case kDont:
        if (code == kComPort)
            m_comPortRefused = true;
        if (m_weWill[code] && !m_askedWill[code])
            reply(kWont, code);
        m_weWill[code] = false;
        m_askedWill[code] = false;
        break;
    case kWill:
        if (code != kBinary && code != kSuppressGoAhead) {
            if (!std::exchange(m_refusedWill[code], true))
                reply(kDont, code);
            return;
        }
        if (!m_theyWill[code] && !m_askedDo[code])
            reply(kDo, code);
        m_theyWill[code] = true;
        m_askedDo[code] = false;
        break;
    case kWont:
        if (m_theyWill[code] && !m_askedDo[code])
            reply(kDont, code);
        m_theyWill[code] = false;
        m_askedDo[code] = false;
        break;
    default:
        break;
    }
}

void TelnetCodec::reply(quint8 verb, quint8 code) {
    m_replies.append(char(kIac)).append(char(verb)).append(char(code));
}

void TelnetCodec::subnegotiation() {
    if (m_sub.size() < 3 || quint8(m_sub.at(0)) != kComPort)
        return;
    const quint8 code = quint8(m_sub.at(1));
    const QByteArray value = m_sub.mid(2);
    switch (code) {
    case kServerReply + kSetBaudRate:
        if (value.size() == 4)
            m_baudRate = qFromBigEndian<quint32>(value.constData());
        break;
    case kServerReply + kSetDataSize:
        m_dataSize = quint8(value.at(0));
        break;
    case kServerReply + kSetParity:
        m_parity = quint8(value.at(0));
        break;
    case kServerReply + kSetStopSize:
        m_stopSize = quint8(value.at(0));
        break;
    default: // line and modem state notices: nothing to do on a write-only line
        break;
    }
}

bool TelnetCodec::settingsAnswered() const {
    return m_baudRate && m_dataSize && m_parity && m_stopSize;
}

LineSettings TelnetCodec::answeredSettings(const LineSettings& requested) const {
    LineSettings held = requested;
    if (m_baudRate)
        held.baudRate = qint32(qMin<quint32>(*m_baudRate, 0x7fffffff));
    // A value no setting has is held as 0 (1 for parity): inside each type's range, and named
    // by none of its values, so it is told apart from every real setting.
    if (m_dataSize && *m_dataSize != quint8(requested.dataBits))
        held.dataBits = *m_dataSize >= 5 && *m_dataSize <= 8 ? QSerialPort::DataBits(*m_dataSize)
                                                             : QSerialPort::DataBits(0);
    if (m_parity && *m_parity != parityCode(requested.parity))
        held.parity = parityFromCode(*m_parity).value_or(QSerialPort::Parity(1));
    if (m_stopSize && *m_stopSize != stopCode(requested.stopBits))
        held.stopBits = *m_stopSize == 2   ? QSerialPort::TwoStop
                        : *m_stopSize == 3 ? QSerialPort::OneAndHalfStop
                        : *m_stopSize == 1 ? QSerialPort::OneStop
                                           : QSerialPort::StopBits(0);
    return held;
}

void TelnetCodec::forgetSettings() {
    m_baudRate.reset();
    m_dataSize.reset();
    m_parity.reset();
    m_stopSize.reset();
}

} // namespace velk
