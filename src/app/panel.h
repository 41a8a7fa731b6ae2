#pragma once

#include "app/panelcore.h"
#include "controls/handler.h"

#include <memory>

namespace velk {

class ClockStateSource;
class LocalClock;
class MainWindow;
class Line;
class SettingsDialogWindow;
class TerminationWatcher;
class WallClockAlarm;

// The program as the operator sees it: the Qt main window with the panel's core behind it.
class Panel {
public:
    // See PanelCore for the clock's state and the alarm.
    Panel(std::unique_ptr<Line> port, const LocalClock& clock,
          const ClockStateSource* clockState = nullptr, WallClockAlarm* alarm = nullptr);
    ~Panel();
    Panel(const Panel&) = delete;
    Panel& operator=(const Panel&) = delete;

    // The start-up sequence, before the window is first shown.
    void load(const StartSettings& start = {}) { m_core->load(start); }
    // Shows the window and starts the one-second tick; the first tick comes about a second later.
    // CONNECT, when the command line asked for it, follows once the event loop runs.
    void start();
    // Closes the line, handing pending bytes to it first, then runs `done` (ending the program).
    void closeLineThen(const Handler& done);
    // Requests from the system to end the program close the window, as the operator does.
    void closeOnRequest(TerminationWatcher& watcher);

    MainWindow& window() { return *m_window; }
    Line& port() { return *m_port; }
    PanelCore& core() { return *m_core; }
    SettingsDialogWindow& settingsDialog() { return *m_settingsDialog; }

private:
    // Declared first so it goes last: pending bytes are flushed after everything else is gone.
    std::unique_ptr<Line> m_port;
    std::unique_ptr<MainWindow> m_window;
    std::unique_ptr<PanelCore> m_core;
    SettingsDialogWindow* m_settingsDialog = nullptr; // owned by the core
};

} // namespace velk
