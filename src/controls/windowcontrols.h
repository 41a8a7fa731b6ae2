#pragma once

#include "controls/button.h"
#include "controls/checkbox.h"
#include "controls/messagebox.h"
#include "controls/optiongroup.h"
#include "controls/selector.h"
#include "controls/statusbar.h"
#include "controls/textbox.h"

#include <array>

namespace velk {

// The main window's controls as the handlers see them. Arrays are indexed like the window's
// control arrays: day 0 to 3 hold 28 to 31 days, menu 0 "CONNECT", 1 "SETTING", 2 "Disconnect".
struct MainWindowControls {
    Selector& address;
    Selector& hour;
    Selector& minute;
    Selector& second;
    Selector& month;
    Selector& year;
    std::array<Selector*, 4> day;
    TextBox& title;
    TextBox& timeDisplay;
    TextBox& dateDisplay;
    OptionGroup& hourMode; // 0 "  12 Hour", 1 "  24 Hour"
    CheckBox& sync;
    std::array<Button*, 3> menu;
    Button& clear;
    Button& send;
    Button& setTime;
    Button& updateTime;
    StatusBar& statusBar;
    MessageBox& messageBox;
};

} // namespace velk
