#include "controls/textedit.h"

#include <QList>

namespace velk {

namespace {

QString firstCharacters(const QString& text, int count) {
    qsizetype end = 0;
    for (int taken = 0; taken < count && end < text.size(); ++taken) {
        const bool pair =
            text[end].isHighSurrogate() && end + 1 < text.size() && text[end + 1].isLowSurrogate();
        end += pair ? 2 : 1;
    }
    return text.left(end);
}

} // namespace

int characterCount(const QString& text) {
    return int(text.toUcs4().size());
}

TextEdit applyEdit(const QString& before, const QString& after, int cursor, int limit,
                   const InputFilter& filter) {
    cursor = qBound(0, cursor, int(after.size()));
    // The edit kept what both texts share before the cursor and after it; the rest is inserted.
    int prefix = 0;
    const int prefixMost = qMin(cursor, int(before.size()));
    while (prefix < prefixMost && before[prefix] == after[prefix])
        ++prefix;
    int suffix = 0;
    const int suffixMost = qMin(int(after.size()) - cursor, int(before.size()) - prefix);
    while (suffix < suffixMost &&
           before[before.size() - 1 - suffix] == after[after.size() - 1 - suffix])
        ++suffix;
    // Never split a surrogate pair between what was kept and what was inserted.
    if (prefix > 0 && after[prefix - 1].isHighSurrogate())
        --prefix;
    if (suffix > 0 && after[after.size() - suffix].isLowSurrogate())
        --suffix;

    const QString inserted = after.mid(prefix, after.size() - prefix - suffix);
    KeptText kept = filter ? filter(inserted) : KeptText{inserted, false};
    const QString head = after.left(prefix);
    const QString tail = after.right(suffix);
    if (limit > 0) {
        const int room =
            qMax(limit, characterCount(before)) - characterCount(head) - characterCount(tail);
        kept.text = firstCharacters(kept.text, qMax(0, room));
    }
    if (kept.text == inserted)
        return {after, cursor, kept.leftOut};
    return {head + kept.text + tail, int(prefix + kept.text.size()), kept.leftOut};
}

} // namespace velk
