#pragma once

#include <QValidator>

namespace velk {

// Keeps an operator's edit of a line edit within a length limit by cutting what the edit
// inserted (the characters just before the cursor), so a character typed at the limit is
// refused and a long paste is cut short. A text that was already longer (set by the program)
// is left whole; it only cannot grow.
class LengthLimitValidator : public QValidator {
    Q_OBJECT
public:
    LengthLimitValidator(int limit, QObject* parent);

    int limit() const { return m_limit; }
    // Length of the text before the edit being validated.
    void setBaseline(int length) { m_baseline = length; }

    State validate(QString& input, int& pos) const override;

private:
    int m_limit;
    int m_baseline = 0;
};

} // namespace velk
