#include "app/eventbindings.h"

#include "app/devicewait.h"
#include "clock/datetimeentry.h"
#include "clocksync/clockcommands.h"
#include "clocksync/statuspanels.h"
#include "clocksync/ticker.h"
#include "clocksync/tickhandler.h"
#include "connection/connectioncommands.h"
#include "connection/settingsdialoglogic.h"
#include "controls/windowcontrols.h"
#include "titles/titlecommands.h"
#include "ui/configuredialog.h"

namespace velk {

// Every event of the panel and the handler it runs. Nothing is bound to the status bar, the
// sync box, the two displays, labels, frames or pictures: they only show what others write.
void bindMainWindowEvents(MainWindowControls& c, Ticker& ticker, Line& port,
                          const MainWindowHandlers& handlers) {
    // The handlers outlive the bindings; the struct that names them does not.
    ConnectionCommands& connection = handlers.connection;
    TitleCommands& titles = handlers.titles;
    ClockCommands& clockCommands = handlers.clockCommands;
    DateTimeEntry& entry = handlers.entry;
    TickHandler& tick = handlers.tick;
    StatusPanels& status = handlers.status;
    DeviceWait& deviceWait = handlers.deviceWait;

    for (int index = 0; index < int(c.menu.size()); ++index) {
        // Any of the three, SETTING included (it may change the port waited for), means the
        // operator has taken over from the waiting.
        c.menu[index]->onClick([&connection, &deviceWait, index] {
            deviceWait.operatorTookOver();
            connection.menuClicked(index);
        });
    }
    // Not an event of any control: the port reports that its device vanished.
    port.onLost([&connection, &deviceWait] {
        connection.portLost();
        deviceWait.portLost();
    });

    c.address.onClick([&titles] { titles.addressSelected(); });
    c.clear.onClick([&titles] { titles.clearClicked(); });
    c.send.onClick([&titles] { titles.sendClicked(); });
    c.title.onChange([&titles] { titles.titleChanged(); });
    // Told once per edit, in the status bar, never in a box that would stop the typing.
    c.title.onLeftOut([&status] { status.showNotice(kLeftOutNotice); });

    c.setTime.onClick([&clockCommands] { clockCommands.setTimeClicked(); });
    c.updateTime.onClick([&clockCommands] { clockCommands.updateTimeClicked(); });
    c.hourMode.onClick([&clockCommands](int index) { clockCommands.hourModeClicked(index); });

    ticker.onTick([&tick] { tick.tick(); });

    c.hour.onClick([&entry] { entry.hourClicked(); });
    c.hour.onChange([&entry] { entry.hourChanged(); });
    c.minute.onClick([&entry] { entry.minuteClicked(); });
    c.minute.onChange([&entry] { entry.minuteChanged(); });
    c.second.onClick([&entry] { entry.secondClicked(); });
    c.second.onChange([&entry] { entry.secondChanged(); });
    c.year.onClick([&entry] { entry.yearClicked(); });
    c.year.onChange([&entry] { entry.yearChanged(); });
    c.month.onClick([&entry] { entry.monthClicked(); });
    c.month.onChange([&entry] { entry.monthChanged(); });
    for (int list = 0; list < int(c.day.size()); ++list) {
        c.day[list]->onClick([&entry, list] { entry.dayClicked(list); });
        c.day[list]->onChange([&entry, list] { entry.dayChanged(list); });
    }
}

void bindSettingsDialogEvents(ConfigureDialog& dialog, SettingsDialogLogic& logic) {
    for (int index = 0; index < 5; ++index)
        dialog.config(index).onClick([&logic, index] { logic.configClicked(index); });
    dialog.ok().onClick([&logic] { logic.okClicked(); });
    dialog.cancel().onClick([&logic] { logic.cancelClicked(); });
    dialog.restoreDefaults().onClick([&logic] { logic.restoreDefaultsClicked(); });
}

} // namespace velk
