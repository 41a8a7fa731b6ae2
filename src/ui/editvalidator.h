#pragma once

#include "controls/textedit.h"

#include <QValidator>
#include <functional>

namespace velk {

// Holds an operator's edit of a line edit to what the box takes (see applyEdit): the text before
// the edit is the baseline, what the edit would leave is reduced to what the rule keeps.
class EditValidator : public QValidator {
    Q_OBJECT
public:
    using Rule = std::function<TextEdit(const QString& before, const QString& after, int cursor)>;
    // `leftOut` runs when the rule left characters out of an edit.
    EditValidator(Rule rule, std::function<void()> leftOut, QObject* parent);

    // The text before the edit being validated.
    void setBaseline(const QString& text) { m_baseline = text; }

    State validate(QString& input, int& pos) const override;

private:
    Rule m_rule;
    std::function<void()> m_leftOut;
    QString m_baseline;
};

} // namespace velk
