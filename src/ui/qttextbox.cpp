#include "ui/qttextbox.h"

#include "ui/editvalidator.h"

#include <QLineEdit>

namespace velk {

QtTextBox::QtTextBox(QLineEdit* edit, int maxLength)
    : m_edit(edit), m_maxLength(maxLength), m_shown(edit->text()) {
    // Every edit, typed, pasted or dropped, passes the box's limit and input filter. The rule
    // runs inside the line edit's own validation, before it shows the text.
    m_validator =
        new EditValidator([this](const QString& before, const QString& after,
                                 int cursor) { return operatorEdit(before, after, cursor); },
                          [this] { raiseLeftOut(); }, m_edit);
    m_validator->setBaseline(m_shown);
    m_edit->setValidator(m_validator);
    connect(m_edit, &QLineEdit::textEdited, this, &QtTextBox::onTextEdited);
    connect(m_edit, &QLineEdit::textChanged, this, &QtTextBox::onTextChanged);
}

QtTextBox::~QtTextBox() {
    // The line edit validates again as it loses focus on its way out; the rule must not outlive
    // this adapter.
    delete m_validator;
}

QString QtTextBox::text() const {
    return m_edit->text();
}

int QtTextBox::maxLength() const {
    return m_maxLength;
}

void QtTextBox::setToolTip(const QString& text) {
    m_edit->setToolTip(text);
}

void QtTextBox::storeText(const QString& text) {
    // The rule is the operator's: with the new text as the baseline nothing of it is cut.
    m_validator->setBaseline(text);
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
    m_validator->setBaseline(m_shown);
}

} // namespace velk
