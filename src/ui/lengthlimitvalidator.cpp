#include "ui/lengthlimitvalidator.h"

namespace velk {

LengthLimitValidator::LengthLimitValidator(int limit, QObject* parent)
    : QValidator(parent), m_limit(limit) {}

QValidator::State LengthLimitValidator::validate(QString& input, int& pos) const {
    const int excess = int(input.size()) - qMax(m_limit, m_baseline);
    if (excess <= 0)
        return Acceptable;
    const int end = qBound(0, pos, int(input.size()));
    const int start = qMax(0, end - excess);
    input.remove(start, end - start);
    pos = start;
    return Acceptable;
}

} // namespace velk
