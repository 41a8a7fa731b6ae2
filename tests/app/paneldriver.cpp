// The whole program with its port mapped to a given device, driven through one scenario and then
// closed the way an operator closes it. Used by the shut-down tests, which check its exit.
//
//   paneldriver DEVICE SCENARIO
//   connect-close      connect, then close the main window
//   dialog-close       open the settings dialog, connect, close the main window
//   hidden-dialog-close  open the settings dialog, Cancel, connect, close the main window
//   send-close         connect, send the title and close the main window at once
//   send-wait          connect, send the title, print "sent" and wait to be told to end
//   box-close          (on X11) type an address, press Send and, with "Pick an address from the
//                      list." open, ask for the main window to close as a window manager does
//   session-close      connect, send the title, set the time, disconnect, close the main window
//                      (with QT_LOGGING_RULES="velk.*=true" it shows what the panel logs)

#include "app/panel.h"
#include "app/settingsdialogwindow.h"
#include "controls/localclock.h"
#include "doubles/fixedportmapping.h"
#include "port/qtserialport.h"
#include "system/terminationwatcher.h"
#include "ui/configuredialog.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTimer>
#include <cstdio>

#include <xcb/xcb.h>

namespace {

void click(QWidget& window, const char* name) {
    if (auto* button = window.findChild<QAbstractButton*>(QString::fromLatin1(name)))
        button->click();
    else
        std::fprintf(stderr, "paneldriver: no button %s\n", name);
}

xcb_atom_t atom(xcb_connection_t* connection, const char* name) {
    xcb_intern_atom_reply_t* reply = xcb_intern_atom_reply(
        connection, xcb_intern_atom(connection, false, quint16(qstrlen(name)), name), nullptr);
    const xcb_atom_t found = reply ? reply->atom : xcb_atom_t(XCB_ATOM_NONE);
    free(reply);
    return found;
}

// What a window manager sends when the operator presses a window's close box.
void askToClose(QWidget& window) {
    const auto* x11 = qApp->nativeInterface<QNativeInterface::QX11Application>();
    if (!x11) {
        std::fprintf(stderr, "paneldriver: box-close needs X11\n");
        return;
    }
    xcb_connection_t* connection = x11->connection();
    xcb_client_message_event_t request{};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = xcb_window_t(window.winId());
    request.type = atom(connection, "WM_PROTOCOLS");
    request.data.data32[0] = atom(connection, "WM_DELETE_WINDOW");
    request.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(connection, false, request.window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
}

} // namespace

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: paneldriver DEVICE SCENARIO\n");
        return 2;
    }
    const QString device = QString::fromLocal8Bit(argv[1]);
    const QString scenario = QString::fromLatin1(argv[2]);

    velk::TerminationWatcher watcher;
    velk::SystemClock clock;
    velk::Panel panel(std::make_unique<velk::QtSerialPort>(std::make_unique<velk::FixedPortMapping>(
                          QMap<int, QString>{{1, device}})),
                      clock);
    QObject::connect(&panel.window(), &velk::MainWindow::closed, &app,
                     [&panel] { panel.closeLineThen(&QApplication::quit); });
    panel.closeOnRequest(watcher);
    panel.load();
    panel.start();

    QTimer::singleShot(50, &app, [&] {
        QWidget& window = panel.window();
        if (scenario.contains(QLatin1String("dialog"))) {
            click(window, "CmdMenu(1)");
            if (scenario.startsWith(QLatin1String("hidden")))
                click(*panel.settingsDialog().dialog(), "cmdCancel");
        }
        click(window, "CmdMenu(0)");
        if (scenario == QLatin1String("box-close")) {
            // Runs while the box waits for OK.
            QTimer::singleShot(200, &app, [&] {
                if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget()))
                    std::printf("box open: %s\n", qPrintable(box->text()));
                std::fflush(stdout);
                askToClose(window);
            });
            window.findChild<QComboBox*>(QStringLiteral("ComboAddress"))->lineEdit()->insert("7");
            click(window, "Command2");
            return;
        }
        if (!panel.port().isOpen())
            std::fprintf(stderr, "paneldriver: the port did not open\n");
        if (scenario.startsWith(QLatin1String("send")))
            click(window, "Command2");
        if (scenario == QLatin1String("send-wait")) {
            std::printf("sent\n");
            std::fflush(stdout);
            return;
        }
        if (scenario == QLatin1String("session-close")) {
            click(window, "Command2");
            click(window, "Command3");
            click(window, "CmdMenu(2)");
        }
        // The same close request the window's close box makes.
        window.close();
    });
    return QApplication::exec();
}
