#include "ui/editvalidator.h"

namespace velk {

EditValidator::EditValidator(Rule rule, std::function<void()> leftOut, QObject* parent)
    : QValidator(parent), m_rule(std::move(rule)), m_leftOut(std::move(leftOut)) {}

QValidator::State EditValidator::validate(QString& input, int& pos) const {
    const TextEdit edit = m_rule(m_baseline, input, pos);
    input = edit.text;
    pos = edit.cursor;
    if (edit.leftOut && m_leftOut)
        m_leftOut();
    return Acceptable;
}

} // namespace velk
