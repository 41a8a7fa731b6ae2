#include "monitor/lineformat.h"

#include "clock/dayrules.h"
#include "wire/framedecoder.h"
#include "wire/framelayout.h"

namespace velk {

namespace {
using frames::clockFieldIndex;
using frames::kClockFields;

// Fixed English names: the output is read by people and by scripts alike, whatever the locale.
constexpr const char* kMonthNames[] = {"January",   "February", "March",    "April",
                                       "May",       "June",     "July",     "August",
                                       "September", "October",  "November", "December"};

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

QString fieldName(char letter) {
    return QString::fromLatin1(kClockFields[clockFieldIndex(letter)].name);
}

QString letterText(char letter) {
    const auto code = quint8(letter);
    if (code > 0x20 && code < 0x7F)
        return QStringLiteral("\"%1\"").arg(QLatin1Char(letter));
    return QStringLiteral("0x") + hexBytes(QByteArray(1, letter));
}

QString invalidReason(const LineEvent& event) {
    switch (event.reason) {
    case InvalidReason::NoStartByte:
        return QStringLiteral("outside any frame");
    case InvalidReason::UnknownLetter:
        return QStringLiteral("unknown command letter ") + letterText(event.letter);
    case InvalidReason::NotDigit:
        return fieldName(event.letter) + QStringLiteral(" frame without two digits");
    case InvalidReason::OutOfRange: {
        const frames::ClockField& field = kClockFields[clockFieldIndex(event.letter)];
        return QStringLiteral("%1 %2 out of range %3 to %4")
            .arg(QString::fromLatin1(field.name), twoDigits(event.value), twoDigits(field.minimum),
                 twoDigits(field.maximum));
    }
    case InvalidReason::ZeroAddress:
        return QStringLiteral("title frame to address 0");
    case InvalidReason::TitleTooLong:
        return QStringLiteral("title longer than %1 bytes without terminator 0D")
            .arg(FrameDecoder::kMaxTitleLength);
    case InvalidReason::Incomplete:
        return QStringLiteral("frame cut off when monitoring ended");
    }
    return QString();
}

QString target(int address) {
    return address == frames::kAllDevices ? QStringLiteral("all devices")
                                          : QStringLiteral("address %1").arg(address);
}
} // namespace

QString hexBytes(const QByteArray& bytes) {
    return QString::fromLatin1(bytes.toHex(' ').toUpper());
}

QString quoteText(const QString& text) {
    QString quoted = QStringLiteral("\"");
    for (const QChar c : text) {
        const ushort code = c.unicode();
        if (c == QLatin1Char('"') || c == QLatin1Char('\\'))
            quoted += QLatin1Char('\\') + c;
        else if (code < 0x20 || (code >= 0x7F && code < 0xA0))
            quoted += QStringLiteral("\\x") + hexBytes(QByteArray(1, char(code)));
        else
            quoted += c;
    }
    return quoted + QLatin1Char('"');
}

QString describeClockSetting(const ClockSetting& clock) {
    // The decoder passes only valid months; anything else is shown as a number, not looked up.
    const bool knownMonth = clock.month >= 1 && clock.month <= 12;
    const QString month = knownMonth ? QString::fromLatin1(kMonthNames[clock.month - 1])
                                     : QStringLiteral("month %1").arg(clock.month);
    QString words = QStringLiteral("%1:%2 on %3 %4, year %5")
                        .arg(twoDigits(clock.hour), twoDigits(clock.minute))
                        .arg(clock.day)
                        .arg(month, twoDigits(clock.year));
    if (knownMonth && clock.day > *daysInMonth(clock.month, clock.year))
        words += QStringLiteral(" (no such day)");
    return words;
}

QString describeEvent(const LineEvent& event) {
    switch (event.kind) {
    case LineEvent::Kind::Title:
        return QStringLiteral("title to ") + target(event.address) + QStringLiteral(": ") +
               quoteText(event.text);
    case LineEvent::Kind::Clear:
        return QStringLiteral("clear ") + target(event.address);
    case LineEvent::Kind::ClockField:
        return QStringLiteral("clock ") + fieldName(event.letter) + QLatin1Char(' ') +
               twoDigits(event.value);
    case LineEvent::Kind::ClockGroup:
        return QStringLiteral("clock set to ") + describeClockSetting(event.clock);
    case LineEvent::Kind::Invalid:
        return QStringLiteral("INVALID ") + hexBytes(event.bytes) + QStringLiteral(" (") +
               invalidReason(event) + QLatin1Char(')');
    }
    return QString();
}

QString formatLine(const QTime& time, const LineEvent& event) {
    return time.toString(QStringLiteral("HH:mm:ss.zzz")) + QLatin1Char(' ') + describeEvent(event);
}

} // namespace velk
