#include "titles/titlecommands.h"

#include "controls/messagebox.h"
#include "controls/selector.h"
#include "controls/textbox.h"
#include "transmit/transmitter.h"
#include "wire/frames.h"

namespace velk {

TitleCommands::TitleCommands(CommandSink& sink, Selector& address, TextBox& title,
                             MessageBox& messages)
    : m_sink(sink), m_address(address), m_title(title), m_messages(messages) {}

std::optional<quint8> TitleCommands::selectedAddress() {
    const std::optional<quint8> address = frames::addressByte(m_address.listIndex());
    if (!address)
        m_messages.show(kPickAddressMessage, kAppTitle, MessageBox::Icon::None);
    return address;
}

void TitleCommands::clearClicked() {
    if (!m_sink.portGuard())
        return;
    const std::optional<quint8> address = selectedAddress();
    if (!address)
        return;
    // Emptying the box also empties the stored title of this address.
    m_title.setText(QString());
    m_sink.clearTitle(*address);
}

void TitleCommands::sendClicked() {
    if (!m_sink.portGuard())
        return;
    const std::optional<quint8> address = selectedAddress();
    if (!address)
        return;
    m_sink.sendTitle(*address, m_title.text());
}

void TitleCommands::titleChanged() {
    m_store.store(m_address.listIndex(), m_title.text());
}

void TitleCommands::addressSelected() {
    const int slot = m_address.listIndex();
    if (!TitleStore::isSlot(slot))
        return;
    // What the display shows, where the line knows it; otherwise the title last entered here.
    const std::optional<QString> shown = m_sink.shownTitle(*frames::addressByte(slot));
    const QString stored = shown.value_or(m_store.title(slot));
    m_title.setText(stored.isEmpty() && !shown ? m_defaultTitle : stored);
    // The box may already show this text, and then raises no change; the slot must still hold
    // what the box shows.
    m_store.store(slot, m_title.text());
}

} // namespace velk
