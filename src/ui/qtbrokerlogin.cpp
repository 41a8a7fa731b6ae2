#include "ui/qtbrokerlogin.h"

#include <QApplication>
#include <QInputDialog>
#include <QWidget>

namespace velk {

std::optional<BrokerLogin::Given> QtBrokerLogin::ask(const QString& broker, const QString& why) {
    QWidget* parent = QApplication::activeWindow();
    const QString title = QStringLiteral("Broker %1").arg(broker);
    bool given = false;
    Given login;
    login.user =
        QInputDialog::getText(parent, title, why + QStringLiteral("\nUser name on the broker:"),
                              QLineEdit::Normal, QString(), &given);
    if (!given)
        return std::nullopt;
    login.password = QInputDialog::getText(parent, title, QStringLiteral("Password:"),
                                           QLineEdit::Password, QString(), &given);
    if (!given)
        return std::nullopt;
    return login;
}

} // namespace velk
