#include "wire/frames.h"

#include "wire/linecharset.h"

namespace velk::frames {

std::optional<quint8> addressByte(int listIndex) {
    if (listIndex == 0)
        return kAllDevices;
    if (listIndex >= 1 && listIndex < kAddressCount)
        return quint8(listIndex);
    return std::nullopt;
}

QStringList addressEntries() {
    QStringList entries{QStringLiteral("Master")};
    for (int position = 1; position < kAddressCount; ++position)
        entries << QString::number(position);
    return entries;
}

QByteArray titleFrame(quint8 address, const QString& text) {
    QByteArray frame;
    frame.append(kStartByte);
    frame.append(kTitleLetter);
    frame.append(char(address));
    // Whatever text reaches here, only what the line can carry goes inside the frame.
    frame.append(linecharset::encode(text));
    frame.append(kTerminator);
    return frame;
}

QByteArray clearFrame(quint8 address) {
    return titleFrame(address, QString());
}

QByteArray clockFrame(char letter, const QString& value) {
    QByteArray frame;
    frame.append(kStartByte);
    frame.append(letter);
    if (!value.isEmpty())
        frame.append(linecharset::encode(QString(value.front()) + value.back()));
    return frame;
}

} // namespace velk::frames
