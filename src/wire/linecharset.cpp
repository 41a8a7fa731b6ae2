#include "wire/linecharset.h"

#include "wire/systemcharset.h"

#include <QList>

namespace velk::linecharset {

namespace {

bool isControl(char32_t codePoint) {
    return codePoint < 0x20 || (codePoint >= 0x7F && codePoint <= 0x9F);
}

// Whole code points, so a character outside the basic plane counts once, never as two halves.
template <typename Visit> void forEachCodePoint(const QString& text, Visit visit) {
    for (const char32_t codePoint : text.toUcs4())
        visit(codePoint);
}

} // namespace

std::optional<quint8> byteFor(char32_t codePoint) {
    if (isControl(codePoint))
        return std::nullopt;
    const std::optional<quint8> byte = systemByteFor(codePoint);
    // A code page may put a character on a control byte; the line still must not carry it.
    if (!byte || *byte < 0x20 || *byte == 0x7F)
        return std::nullopt;
    return byte;
}

QByteArray encode(const QString& text) {
    QByteArray bytes;
    bytes.reserve(text.size());
    forEachCodePoint(text, [&](char32_t codePoint) {
        if (const std::optional<quint8> byte = byteFor(codePoint))
            bytes.append(char(*byte));
    });
    return bytes;
}

Filtered filter(const QString& text) {
    Filtered result;
    bool afterCarriageReturn = false;
    forEachCodePoint(text, [&](char32_t codePoint) {
        // CR LF is one line break, and so one blank.
        const bool lineFeedOfPair = afterCarriageReturn && codePoint == '\n';
        afterCarriageReturn = codePoint == '\r';
        if (lineFeedOfPair)
            return;
        if (codePoint == '\r' || codePoint == '\n' || codePoint == 0x2028 || codePoint == 0x2029) {
            result.text.append(QLatin1Char(' '));
        } else if (byteFor(codePoint)) {
            result.text.append(QString::fromUcs4(&codePoint, 1));
        } else {
            result.dropped = true;
        }
    });
    return result;
}

} // namespace velk::linecharset
