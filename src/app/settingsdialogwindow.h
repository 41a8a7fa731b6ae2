#pragma once

#include "connection/settingsdialoghost.h"

#include <memory>

namespace velk {

class ConfigureDialog;
class PortControl;
class QtNetworkLinePrompt;
class SettingsDialogLogic;
struct PortSettings;

// The settings dialog's life: created and loaded on first use, hidden (and kept with its
// selections) by Ok and Cancel, discarded by the window's close control so the next opening
// loads it afresh.
class SettingsDialogWindow : public SettingsDialogHost {
public:
    // `start` is what the run started from; it outlives the dialog.
    SettingsDialogWindow(PortSettings& settings, const PortSettings& start,
                         PortControl& portControl);
    ~SettingsDialogWindow() override;

    void showSettingsDialog() override;

    // The dialog while it is loaded, shown or hidden; null when not loaded.
    ConfigureDialog* dialog() const { return m_dialog.get(); }

private:
    void create();
    void discard();

    PortSettings& m_settings;
    const PortSettings& m_start;
    PortControl& m_portControl;
    std::unique_ptr<ConfigureDialog> m_dialog;
    std::unique_ptr<QtNetworkLinePrompt> m_prompt;
    std::unique_ptr<SettingsDialogLogic> m_logic;
};

} // namespace velk
