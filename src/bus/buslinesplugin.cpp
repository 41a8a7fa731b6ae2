// The panel's bus-line plugin: libmosquitto and OpenSSL stay out of the panel until a bus line
// is named (app/busseam.cpp loads this).
#include "bus/panelbus.h"

#include <QtGlobal>

extern "C" Q_DECL_EXPORT velk::PanelBus* velk_panel_bus(const velk::BrokerAccess& access,
                                                        const velk::ClockStateSource& own,
                                                        velk::BrokerLogin* login) {
    return velk::makePanelBus(access, own, login);
}
