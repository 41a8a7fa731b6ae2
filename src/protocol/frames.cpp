#include "protocol/frames.h"

#include <QList>

namespace velk::frames {

std::optional<quint8> addressByte(int listIndex) {
    if (listIndex == 0)
        return kAllDevices;
    if (listIndex >= 1 && listIndex < kAddressCount)
        return quint8(listIndex);
    return std::nullopt;
}

QByteArray latin1Payload(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    // Whole code points, so a character outside the basic plane is skipped once, not as two
    // halves of a surrogate pair.
    for (const char32_t codePoint : text.toUcs4()) {
        if (codePoint <= 0xFF)
            bytes.append(char(codePoint));
    }
    return bytes;
}

QByteArray titleFrame(quint8 address, const QString& text) {
    QByteArray frame;
    frame.append(char(kStartByte));
    frame.append(kTitleLetter);
    frame.append(char(address));
    frame.append(latin1Payload(text));
    frame.append(char(kTerminator));
    return frame;
}

QByteArray clearFrame(quint8 address) {
    return titleFrame(address, QString());
}

QByteArray clockFrame(char letter, const QString& value) {
    QByteArray frame;
    frame.append(char(kStartByte));
    frame.append(letter);
    if (!value.isEmpty())
        frame.append(latin1Payload(QString(value.front()) + value.back()));
    return frame;
}

} // namespace velk::frames
