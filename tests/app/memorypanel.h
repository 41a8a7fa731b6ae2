#pragma once

// The panel's core over in-memory controls laid out like the window, a recording serial port and
// a test clock, so whole operator sessions run without a display, a device or the wall clock.

#include "app/panelcore.h"
#include "clock/datetimeentry.h"
#include "clocksync/ticker.h"
#include "clocksync/tickhandler.h"
#include "connection/portcontrol.h"
#include "connection/settingsdialoghost.h"
#include "connection/settingsdialoglogic.h"
#include "controls/windowcontrols.h"
#include "doubles/fakeclock.h"
#include "doubles/fakeclockstate.h"
#include "doubles/fakenetworklineprompt.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"
#include "titles/titlecommands.h"
#include "wire/frames.h"

#include <array>
#include <memory>

namespace velk::test {

// The settings dialog as the window hosts it: loaded on its first showing, hidden by Ok and
// Cancel, and kept with its selections for the next showing.
class MemorySettingsDialog : public SettingsDialogHost {
public:
    using Logic = SettingsDialogLogic;

    MemorySettingsDialog(PortSettings& settings, const PortSettings& start, PortControl& control)
        : m_config(makeSelectors()),
          m_logic(
              {m_config[0].get(), m_config[1].get(), m_config[2].get(), m_config[3].get(),
               m_config[4].get()},
              settings, control, [this] { m_shown = false; }, start, &m_prompt) {
        for (int index = 0; index < Logic::kSelectorCount; ++index)
            m_config[index]->onClick([this, index] { m_logic.configClicked(index); });
        m_ok.onClick([this] { m_logic.okClicked(); });
        m_cancel.onClick([this] { m_logic.cancelClicked(); });
        m_restoreDefaults.onClick([this] { m_logic.restoreDefaultsClicked(); });
    }

    void showSettingsDialog() override {
        if (!m_loaded) {
            m_loaded = true;
            m_logic.load();
        }
        m_shown = true;
        ++m_showings;
    }

    MemorySelector& config(int index) { return *m_config[std::size_t(index)]; }
    MemoryButton& ok() { return m_ok; }
    MemoryButton& cancel() { return m_cancel; }
    MemoryButton& restoreDefaults() { return m_restoreDefaults; }
    FakeNetworkLinePrompt& prompt() { return m_prompt; }

    bool isLoaded() const { return m_loaded; }
    bool isShown() const { return m_shown; }
    int showings() const { return m_showings; }

private:
    static std::array<std::unique_ptr<MemorySelector>, Logic::kSelectorCount> makeSelectors() {
        std::array<std::unique_ptr<MemorySelector>, Logic::kSelectorCount> made;
        for (int index = 0; index < Logic::kSelectorCount; ++index)
            made[std::size_t(index)] = std::make_unique<MemorySelector>(Logic::entries(index));
        return made;
    }

    std::array<std::unique_ptr<MemorySelector>, Logic::kSelectorCount> m_config;
    MemoryButton m_ok;
    MemoryButton m_cancel;
    MemoryButton m_restoreDefaults;
    FakeNetworkLinePrompt m_prompt;
    Logic m_logic;
    bool m_loaded = false;
    bool m_shown = false;
    int m_showings = 0;
};

// The main window's controls, the port and the clock, with the core built over them and loaded.
struct MemoryPanel {
    static constexpr int kTitleLength = 20;

    // `line`, when given, is the port instead of the recording one.
    explicit MemoryPanel(const QDateTime& start, const StartSettings& options = {},
                         Line* line = nullptr)
        : clock(start), line(line ? *line : port) {
        core.load(options);
    }

    // The day list the operator sees; null unless exactly one is showing.
    MemorySelector* visibleDay() {
        MemorySelector* shown = nullptr;
        for (MemorySelector& list : day) {
            if (!list.isVisible())
                continue;
            if (shown)
                return nullptr;
            shown = &list;
        }
        return shown;
    }
    int visibleDayCount() const {
        int count = 0;
        for (const MemorySelector& list : day)
            count += list.isVisible() ? 1 : 0;
        return count;
    }

    void tick() { core.tickHandler().tick(); }
    MemoryButton& connectButton() { return menu[0]; }
    MemoryButton& settingButton() { return menu[1]; }
    MemoryButton& disconnectButton() { return menu[2]; }
    MemorySettingsDialog& settingsDialog() { return *dialog; }

    FakeClock clock;
    FakeClockState clockState;
    MemorySerialPort port;
    Line& line;

    MemorySelector address{frames::addressEntries()};
    MemorySelector hour{twoDigitEntries(kHourEntries)};
    MemorySelector minute{twoDigitEntries(kMinuteEntries)};
    MemorySelector second{twoDigitEntries(kSecondEntries)};
    MemorySelector month{twoDigitEntries(kMonthEntries)};
    MemorySelector year{twoDigitEntries(kYearEntries)};
    std::array<MemorySelector, 4> day{MemorySelector(twoDigitEntries(dayEntries(0))),
                                      MemorySelector(twoDigitEntries(dayEntries(1))),
                                      MemorySelector(twoDigitEntries(dayEntries(2))),
                                      MemorySelector(twoDigitEntries(dayEntries(3)))};
    MemoryTextBox title{kTitleLength};
    MemoryTextBox timeDisplay;
    MemoryTextBox dateDisplay;
    MemoryOptionGroup hourMode{2};
    MemoryCheckBox sync;
    std::array<MemoryButton, 3> menu;
    MemoryButton clear;
    MemoryButton send;
    MemoryButton setTime;
    MemoryButton updateTime;
    // Designed with two panels; start-up inserts the link panel between them.
    MemoryStatusBar statusBar{QStringList{QStringLiteral("Status"), clock.dateText()}};
    MemoryMessageBox messages;

    MainWindowControls controls{address,
                                hour,
                                minute,
                                second,
                                month,
                                year,
                                {&day[0], &day[1], &day[2], &day[3]},
                                title,
                                timeDisplay,
                                dateDisplay,
                                hourMode,
                                sync,
                                {&menu[0], &menu[1], &menu[2]},
                                clear,
                                send,
                                setTime,
                                updateTime,
                                statusBar,
                                messages};

    MemorySettingsDialog* dialog = nullptr; // owned by the core
    PanelCore core{controls, line, clock,
                   [this](PortSettings& settings, const PortSettings& start, PortControl& control) {
                       auto host = std::make_unique<MemorySettingsDialog>(settings, start, control);
                       dialog = host.get();
                       return std::unique_ptr<SettingsDialogHost>(std::move(host));
                   },
                   &clockState};
};

} // namespace velk::test
