#pragma once

namespace velk {

// Shows the port settings dialog, modeless. The window implements it with the real dialog:
// created on first use and kept, loaded on its first showing, shown again as it was later on.
class SettingsDialogHost {
public:
    virtual ~SettingsDialogHost() = default;
    virtual void showSettingsDialog() = 0;
};

} // namespace velk
