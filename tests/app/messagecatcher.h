#pragma once

#include <QApplication>
#include <QMessageBox>
#include <QTimer>

namespace velk::test {

// Answers the modal message boxes a command shows, recording what each said, so a test can
// click a command that opens one and go on.
class MessageCatcher : public QObject {
public:
    struct Seen {
        QString text;
        QString title;
        QMessageBox::Icon icon;
    };

    MessageCatcher() {
        connect(&m_poll, &QTimer::timeout, this, &MessageCatcher::answer);
        m_poll.start(5);
    }
    const QList<Seen>& seen() const { return m_seen; }

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box)
            return;
        m_seen.append({box->text(), box->windowTitle(), box->icon()});
        box->accept();
    }

    QTimer m_poll;
    QList<Seen> m_seen;
};

} // namespace velk::test
