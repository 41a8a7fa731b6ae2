#include "titles/titlerule.h"

#include "controls/textbox.h"
#include "wire/linecharset.h"

#include <QStringList>

namespace velk::titlerule {

namespace {

// The characters of `text` the filter leaves out, each once, printable ones as they are.
QString leftOut(const QString& text) {
    QStringList named;
    for (const char32_t codePoint : text.toUcs4()) {
        const QString character = QString::fromUcs4(&codePoint, 1);
        if (!linecharset::filter(character).dropped)
            continue;
        const QChar first = character.front();
        const QString name =
            first.isPrint() || first.isSurrogate()
                ? QStringLiteral("\"%1\"").arg(character)
                : QStringLiteral("U+") +
                      QString::number(uint(codePoint), 16).toUpper().rightJustified(4, u'0');
        if (!named.contains(name))
            named << name;
    }
    return named.join(QStringLiteral(", "));
}

} // namespace

InputFilter inputFilter() {
    return [](const QString& inserted) {
        const linecharset::Filtered kept = linecharset::filter(inserted);
        return KeptText{kept.text, kept.dropped};
    };
}

std::optional<QString> accept(const QString& text, QString* why) {
    const InputFilter filter = inputFilter();
    const TextEdit pasted = applyEdit(QString(), text, int(text.size()), kTitleLength, filter);
    if (pasted.leftOut) {
        if (why)
            *why = QStringLiteral("the title has characters the displays cannot show: %1")
                       .arg(leftOut(text));
        return std::nullopt;
    }
    const int length = characterCount(filter(text).text);
    if (length > kTitleLength) {
        if (why)
            *why = QStringLiteral("the title has %1 characters; a display shows at most %2")
                       .arg(length)
                       .arg(kTitleLength);
        return std::nullopt;
    }
    return pasted.text;
}

} // namespace velk::titlerule
