#include "ui/qttextbox.h"

#include "ui/lengthlimitvalidator.h"

#include <QLineEdit>

namespace velk {

QtTextBox::QtTextBox(QLineEdit* edit, int maxLength) : m_edit(edit), m_shown(edit->text()) {
    if (maxLength > 0) {
        m_limit = new LengthLimitValidator(maxLength, m_edit);
        m_limit->setBaseline(int(m_shown.size()));
        m_edit->setValidator(m_limit);
    }
    connect(m_edit, &QLineEdit::textEdited, this, &QtTextBox::onTextEdited);
    connect(m_edit, &QLineEdit::textChanged, this, &QtTextBox::onTextChanged);
}

QString QtTextBox::text() const {
    return m_edit->text();
}

int QtTextBox::maxLength() const {
    return m_limit ? m_limit->limit() : 0;
}

void QtTextBox::storeText(const QString& text) {
    // The limit is the operator's: with the new text as the baseline nothing of it is cut.
    if (m_limit)
        m_limit->setBaseline(int(text.size()));
    m_edit->setText(text);
}

void QtTextBox::onTextEdited(const QString& text) {
    if (text == m_shown)
        return;
    raiseChange();
}

void QtTextBox::onTextChanged() {
    // Read back rather than trust the signal: a handler may have set another text meanwhile.
    m_shown = m_edit->text();
    if (m_limit)
        m_limit->setBaseline(int(m_shown.size()));
}

} // namespace velk
