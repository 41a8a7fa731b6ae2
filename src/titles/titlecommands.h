#pragma once

#include "titles/titlestore.h"

#include <QString>

namespace velk {

class MessageBox;
class Selector;
class TextBox;
class CommandSink;

// Sends and clears the title of the selected address, and keeps one title per address so that
// picking an address brings back the title last entered for it.
class TitleCommands {
public:
    TitleCommands(CommandSink& sink, Selector& address, TextBox& title, MessageBox& messages);

    void setDefaultTitle(const QString& text) { m_defaultTitle = text; }

    void clearClicked();
    void sendClicked();
    void titleChanged();
    void addressSelected();

private:
    // The address byte of the selected entry; without one the operator is told to pick one.
    std::optional<quint8> selectedAddress();

    CommandSink& m_sink;
    Selector& m_address;
    TextBox& m_title;
    MessageBox& m_messages;
    TitleStore m_store;
    QString m_defaultTitle;
};

inline const QString kPickAddressMessage = QStringLiteral("Pick an address from the list.");

} // namespace velk
