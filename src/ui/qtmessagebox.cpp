#include "ui/qtmessagebox.h"

#include "controls/logging.h"

#include <QMessageBox>

namespace velk {

QtMessageBox::QtMessageBox(QWidget* parent) : m_parent(parent) {}

void QtMessageBox::show(const QString& text, const QString& title, Icon icon) {
    qCDebug(lcUi).noquote() << "message box" << title + QStringLiteral(":") << text;
    QMessageBox box(m_parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setWindowTitle(title);
    // Texts come from the port and the program: show them as they are, never as markup.
    box.setTextFormat(Qt::PlainText);
    box.setText(text);
    box.setIcon(icon == Icon::Information ? QMessageBox::Information : QMessageBox::NoIcon);
    box.setStandardButtons(QMessageBox::Ok);
    box.setDefaultButton(QMessageBox::Ok);
    box.setWindowModality(Qt::ApplicationModal);
    box.exec();
}

} // namespace velk
