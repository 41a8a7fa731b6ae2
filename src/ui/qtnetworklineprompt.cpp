#include "ui/qtnetworklineprompt.h"

#include "controls/messagebox.h"

#include <QInputDialog>
#include <QMessageBox>

namespace velk {

std::optional<QString> QtNetworkLinePrompt::askNetworkLine(const QString& current) {
    bool given = false;
    const QString url = QInputDialog::getText(
        m_parent, QStringLiteral("Network line"),
        QStringLiteral("Device server (rfc2217://HOST:PORT or tcp://HOST:PORT) or a line's bridge "
                       "(mqtt://HOST[:PORT]/BASE):"),
        QLineEdit::Normal, current.isEmpty() ? QStringLiteral("rfc2217://") : current, &given);
    if (!given)
        return std::nullopt;
    return url;
}

void QtNetworkLinePrompt::showRefusal(const QString& why) {
    QMessageBox::information(m_parent, kAppTitle, why);
}

} // namespace velk
