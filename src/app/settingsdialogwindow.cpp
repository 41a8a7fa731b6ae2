#include "app/settingsdialogwindow.h"

#include "app/eventbindings.h"
#include "connection/settingsdialoglogic.h"
#include "ui/configuredialog.h"
#include "ui/qtnetworklineprompt.h"

#include <QObject>

namespace velk {

SettingsDialogWindow::SettingsDialogWindow(PortSettings& settings, const PortSettings& start,
                                           PortControl& portControl)
    : m_settings(settings), m_start(start), m_portControl(portControl) {}

SettingsDialogWindow::~SettingsDialogWindow() = default;

void SettingsDialogWindow::showSettingsDialog() {
    if (!m_dialog) {
        create();
        m_logic->load();
    }
    m_dialog->show();
    m_dialog->raise();
    m_dialog->activateWindow();
}

void SettingsDialogWindow::create() {
    // No owner: the dialog stands beside the main window, which stays usable.
    std::array<QStringList, 5> entries;
    for (int index = 0; index < int(entries.size()); ++index)
        entries[index] = SettingsDialogLogic::entries(index);
    m_dialog = std::make_unique<ConfigureDialog>(entries);
    std::array<Selector*, 5> configs{};
    for (int index = 0; index < int(configs.size()); ++index)
        configs[index] = &m_dialog->config(index);
    m_prompt = std::make_unique<QtNetworkLinePrompt>(m_dialog.get());
    m_logic = std::make_unique<SettingsDialogLogic>(
        configs, m_settings, m_portControl, [this] { m_dialog->hide(); }, m_start, m_prompt.get());
    m_logic->onLineNote([this](const QString& note) { m_dialog->showNote(note); });
    bindSettingsDialogEvents(*m_dialog, *m_logic);
    QObject::connect(m_dialog.get(), &ConfigureDialog::discarded, m_dialog.get(),
                     [this] { discard(); });
}

void SettingsDialogWindow::discard() {
    // The signal comes from inside the dialog's own close event: let Qt finish with it first.
    m_logic.reset();
    m_prompt.reset();
    m_dialog.release()->deleteLater();
}

} // namespace velk
