#pragma once

#include "controls/textbox.h"

#include <QObject>
#include <QPointer>

class QLineEdit;

namespace velk {

class EditValidator;

// A text box over a QLineEdit. The operator's typing and pasting raise the change handler from
// Qt's side; text set by code is notified by the contract alone.
class QtTextBox : public QObject, public TextBox {
    Q_OBJECT
public:
    // `maxLength` limits typing and pasting, in whole characters (0: no limit). The line edit must
    // outlive the adapter.
    explicit QtTextBox(QLineEdit* edit, int maxLength = 0);
    ~QtTextBox() override;

    QString text() const override;
    int maxLength() const override;
    void setToolTip(const QString& text) override;

protected:
    void storeText(const QString& text) override;

private:
    void onTextEdited(const QString& text);
    void onTextChanged();

    QLineEdit* m_edit;
    int m_maxLength;
    QPointer<EditValidator> m_validator; // owned by the line edit
    // The text before the current edit: a refused keystroke reports an edit that changed nothing.
    QString m_shown;
};

} // namespace velk
