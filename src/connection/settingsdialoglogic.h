#pragma once

#include "connection/networklineprompt.h"
#include "connection/portcontrol.h"
#include "controls/handler.h"
#include "controls/selector.h"
#include "port/portsettings.h"

#include <QString>
#include <QStringList>
#include <array>
#include <functional>
#include <optional>

namespace velk {

// What the port settings dialog does, without its widgets. Each selection writes its setting at
// once; Ok applies the settings to the port, Cancel only hides the dialog.
//
// The window binds selector i's click to configClicked(i) and fills selector i from entries(i)
// before the first load().
class SettingsDialogLogic {
public:
    // Positions of the selectors in the dialog's selector array.
    static constexpr int kBaudRate = 0;
    static constexpr int kDataBits = 1;
    static constexpr int kParity = 2;
    static constexpr int kStopBits = 3;
    static constexpr int kPort = 4;
    static constexpr int kSelectorCount = 5;
    // The port selector's entry after "Comport 16": a device server on the network.
    static constexpr int kNetworkEntry = PortSettings::kLastPort - PortSettings::kFirstPort + 1;

    using Selectors = std::array<Selector*, kSelectorCount>;

    // `hide` hides the dialog window; the selectors must outlive this object. `start` is what
    // the run started from (the defaults unless the command line chose otherwise); it must
    // outlive this object too. Without a `prompt` the network entry cannot be given a URL.
    SettingsDialogLogic(const Selectors& selectors, PortSettings& settings, PortControl& control,
                        Handler hide, const PortSettings& start = kDefaultPortSettings,
                        NetworkLinePrompt* prompt = nullptr);

    // The network entry's text before a URL is given.
    static QString networkEntryText();
    // The dialog's one line while a bus line is chosen: its line settings are the bridge's.
    static QString busLineNote();

    // Runs with the note the dialog shows under its settings, empty for none, whenever the
    // chosen line changes.
    void onLineNote(std::function<void(const QString&)> show) { m_showNote = std::move(show); }

    // The list entries of selector `index`, in list order; empty for any other index.
    static QStringList entries(int index);

    // First showing: selects the entries of the run's start, which resets the settings to it.
    void load();
    void configClicked(int index);
    void okClicked();
    void cancelClicked();
    void restoreDefaultsClicked();

    void saveBaudRate();
    void saveDataBits();
    void saveParity();
    void saveStopBits();
    void savePortNumber();

private:
    void select(const PortSettings& chosen);
    // The operator picked the network entry: asks for the URL, or goes back to the last choice.
    void askNetworkLine();
    void showNetworkLine(const LineName& name);
    void showLineNote() const;

    Selectors m_selectors;
    PortSettings& m_settings;
    PortControl& m_control;
    Handler m_hide;
    const PortSettings& m_start;
    NetworkLinePrompt* m_prompt;
    std::function<void(const QString&)> m_showNote;
    std::optional<LineName> m_networkLine; // what the network entry shows, once given
    int m_portPosition = -1;  // the port entry last chosen, where a refused pick goes back to
    bool m_selecting = false; // positions set by the dialog itself, which ask nothing
};

} // namespace velk
