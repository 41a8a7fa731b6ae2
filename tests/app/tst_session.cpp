// Whole-window sessions over a pseudo-terminal: what the operator does and the exact bytes that
// reach the far end of the line.

#include "messagecatcher.h"
#include "panelharness.h"

#include "app/settingsdialogwindow.h"
#include "clocksync/statuspanels.h"
#include "clocksync/tickhandler.h"
#include "titles/titlecommands.h"
#include "transmit/transmitter.h"
#include "ui/configuredialog.h"

#include <QAbstractEventDispatcher>
#include <QCheckBox>
#include <QClipboard>

using namespace velk;
using namespace velk::test;

namespace {
const QString kClosedStatus = QStringLiteral("Com :  Not Connected    ");
}

class TestSession : public QObject {
    Q_OBJECT

private:
    // A loaded panel with its window showing and the port connected.
    static void connectPanel(PanelHarness& h) {
        QVERIFY2(h.pair.isReady(), qPrintable(h.pair.error()));
        h.panel.load();
        h.panel.window().show();
        h.click("CmdMenu(0)");
        QVERIFY(h.panel.port().isOpen());
    }
    static void typeTitle(PanelHarness& h, const QString& text) {
        QLineEdit* title = h.edit("Text2");
        title->selectAll();
        QTest::keyClick(title, Qt::Key_Delete);
        QTest::keyClicks(title, text);
    }

private slots:
    void connectSendClearDisconnect() {
        PanelHarness h;
        connectPanel(h);
        QVERIFY(!h.button("CmdMenu(0)")->isVisible());
        QVERIFY(h.button("CmdMenu(2)")->isVisible());
        QCOMPARE(h.statusPanels().value(1), QString("Com 1 : 9600,N,8,1  "));

        h.pick("ComboAddress", 5);
        typeTitle(h, "AB");
        h.click("Command2");
        QCOMPARE(h.readLine(6), QByteArray::fromHex("2F54054142 0D"));
        QCOMPARE(h.edit("Text2")->text(), QString("AB"));

        h.click("Command1");
        QCOMPARE(h.readLine(4), QByteArray::fromHex("2F54050D"));
        QCOMPARE(h.edit("Text2")->text(), QString());

        h.pick("ComboAddress", 0);
        h.click("Command2");
        QCOMPARE(h.readLine(20), QByteArray("/T\xFFTitle String ...\r"));

        h.click("Command3");
        QCOMPARE(h.readLine(20), QByteArray("/M05/H14/m03/Y07/D19"));

        h.click("CmdMenu(2)");
        QVERIFY(!h.panel.port().isOpen());
        QVERIFY(h.button("CmdMenu(0)")->isVisible());
        QVERIFY(!h.button("CmdMenu(2)")->isVisible());
        QCOMPARE(h.statusPanels().value(1), kClosedStatus);
        QCOMPARE(h.pair.drainFar(100), QByteArray());
    }

    // What the operator types or pastes, what the title box then holds, and what Send puts on
    // the line: never a control byte inside the frame, never half a character in the box.
    void titleCarriesOnlyWhatTheLineCan_data() {
        QTest::addColumn<bool>("paste");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("box");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<bool>("told");
        const QString emoji = QString::fromUtf8("😀");
        QTest::newRow("line breaks") << true << "A\r\nB\nC"
                                     << "A B C" << QByteArray("A B C") << false;
        QTest::newRow("escape, tab, DEL") << true << "\x1b[2J\tx\x7f"
                                          << "[2Jx" << QByteArray("[2Jx") << true;
        QTest::newRow("frame inside a paste") << true << "/T\x05X\r/T\x06Y"
                                              << "/TX /TY" << QByteArray("/TX /TY") << true;
        QTest::newRow("euro") << true << QString::fromUtf8("€") << "" << QByteArray() << true;
        QTest::newRow("Latin-1") << true << QString::fromUtf8("Grüße ÿ")
                                 << QString::fromUtf8("Grüße ÿ")
                                 << QByteArray("Gr\xFC\xDF"
                                               "e \xFF")
                                 << false;
        QTest::newRow("emoji and CJK")
            << true << "A" + emoji.repeated(10) + QString::fromUtf8("日本") + "B"
            << "AB" << QByteArray("AB") << true;
        QTest::newRow("paste cut at 20")
            << true << QString(19, 'x') + QString::fromUtf8("éab")
            << QString(19, 'x') + QString::fromUtf8("é") << QByteArray(19, 'x') + "\xE9" << false;
        QTest::newRow("typed euro refused")
            << false << QString::fromUtf8("Ab€c") << "Abc" << QByteArray("Abc") << true;
        QTest::newRow("21st typed refused")
            << false << "12345678901234567890X"
            << "12345678901234567890" << QByteArray("12345678901234567890") << false;
    }
    void titleCarriesOnlyWhatTheLineCan() {
        QFETCH(bool, paste);
        QFETCH(QString, input);
        QFETCH(QString, box);
        QFETCH(QByteArray, payload);
        QFETCH(bool, told);
        PanelHarness h;
        connectPanel(h);
        QLineEdit* title = h.edit("Text2");
        title->setFocus();
        typeTitle(h, QString());
        if (paste) {
            QApplication::clipboard()->setText(input);
            QTest::keyClick(title, Qt::Key_V, Qt::ControlModifier);
        } else {
            for (const QChar typed : input) // any character, as a keyboard layout would give it
                QTest::sendKeyEvent(QTest::Click, title, Qt::Key_unknown, QString(typed),
                                    Qt::NoModifier);
        }
        QCOMPARE(title->text(), box);
        h.click("Command2");
        QCOMPARE(h.readLine(int(payload.size()) + 4), "/T\xFF" + payload + "\r");
        QCOMPARE(h.statusPanels().value(0), told ? kLeftOutNotice : QString("Status"));
    }

    // 100 Sends on a 1200-baud line that takes nothing, then Disconnect: the window keeps
    // running, gives up soon after the line went quiet (128 bytes' time at this speed, about a
    // second), and says how much was not sent.
    void disconnectOnAStalledLine() {
        PanelHarness h;
        QVERIFY(h.pair.stallNear());
        LineSettings slow;
        slow.baudRate = 1200;
        QVERIFY(h.panel.port().setSettings(slow, nullptr));
        connectPanel(h);
        for (int send = 0; send < 100; ++send)
            h.click("Command2");
        MessageCatcher messages;
        int turns = 0;
        QTimer turn;
        QObject::connect(&turn, &QTimer::timeout, [&turns] { ++turns; });
        turn.start(50);
        h.click("CmdMenu(2)");
        QTRY_VERIFY(h.button("CmdMenu(0)")->isVisible());
        QVERIFY2(turns >= 1 && turns < 40, qPrintable(QString::number(turns))); // not 17 s
        QCOMPARE(h.statusPanels().value(1), kClosedStatus);
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].text,
                 QString("2000 bytes were not sent: the line is not taking data."));
    }

    void syncSendsTheClockAtSecondZero() {
        PanelHarness h;
        connectPanel(h);
        h.find<QCheckBox>("ChkSync")->setChecked(true);
        h.clock.set(2007, 3, 19, 14, 5, 59);
        h.panel.core().tickHandler().tick();
        QCOMPARE(h.pair.drainFar(100), QByteArray());
        h.clock.advance(1);
        h.panel.core().tickHandler().tick();
        QCOMPARE(h.readLine(20), QByteArray("/M06/H14/m03/Y07/D19"));
        QCOMPARE(h.edit("Text8")->text(), QString("14:06:00"));
    }

    void closedPortRefusesCommands() {
        PanelHarness h;
        h.panel.load();
        h.panel.window().show();
        MessageCatcher messages;
        h.click("Command1");
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].text, kPressConnectMessage);
        QCOMPARE(messages.seen()[0].title, QString("VELK-Pro"));
        QCOMPARE(messages.seen()[0].icon, QMessageBox::NoIcon);
        QCOMPARE(h.edit("Text2")->text(), QString("Title String ..."));
        QCOMPARE(h.pair.drainFar(100), QByteArray());
    }

    void typedAddressSendsNothing() {
        PanelHarness h;
        connectPanel(h);
        MessageCatcher messages;
        QLineEdit* addressField = h.combo("ComboAddress")->lineEdit();
        QVERIFY(addressField);
        addressField->selectAll();
        QTest::keyClicks(addressField, "7");
        h.click("Command1");
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].text, kPickAddressMessage);
        QCOMPARE(h.edit("Text2")->text(), QString("Title String ..."));
        QCOMPARE(h.pair.drainFar(100), QByteArray());
    }

    void settingWhileConnectedIsRefused() {
        PanelHarness h;
        connectPanel(h);
        MessageCatcher messages;
        h.click("CmdMenu(1)");
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].text,
                 QString("            Port already open. \r\nDisconnect before change setting."));
        QCOMPARE(messages.seen()[0].title, QString("VELK-Pro"));
        QVERIFY(!h.panel.settingsDialog().dialog());
    }

    void settingsReachThePortOnOk() {
        PanelHarness h;
        QVERIFY2(h.pair.isReady(), qPrintable(h.pair.error()));
        h.panel.load();
        h.panel.window().show();
        h.click("CmdMenu(1)");
        ConfigureDialog* dialog = h.panel.settingsDialog().dialog();
        QVERIFY(dialog && dialog->isVisible());
        auto pickInDialog = [dialog](const QString& name, int index) {
            auto* combo = dialog->findChild<QComboBox*>(name);
            QVERIFY(combo);
            combo->setCurrentIndex(index);
            emit combo->activated(index);
        };
        pickInDialog("Combo_Config(0)", 5); // 19200
        pickInDialog("Combo_Config(2)", 0); // Even
        QTest::mouseClick(dialog->findChild<QAbstractButton*>("cmdOk"), Qt::LeftButton);
        QVERIFY(!dialog->isVisible());
        h.click("CmdMenu(0)");
        QCOMPARE(h.statusPanels().value(1), QString("Com 1 : 19200,E,8,1  "));
    }

    void lostFarEndReturnsToDisconnected() {
        PanelHarness h;
        connectPanel(h);
        MessageCatcher messages;
        h.pair.stop();
        QTRY_VERIFY(!h.panel.port().isOpen());
        QTRY_VERIFY(h.button("CmdMenu(0)")->isVisible());
        QVERIFY(!h.button("CmdMenu(2)")->isVisible());
        QCOMPARE(h.statusPanels().value(1), kClosedStatus);

        // Idle afterwards: a port that kept reporting the hang-up would wake the loop nonstop.
        int wakeUps = 0;
        auto* dispatcher = QAbstractEventDispatcher::instance();
        const auto counting = QObject::connect(dispatcher, &QAbstractEventDispatcher::awake,
                                               [&wakeUps] { ++wakeUps; });
        QTest::qWait(300);
        QObject::disconnect(counting);
        QVERIFY2(wakeUps < 1000, qPrintable(QString::number(wakeUps)));
        QVERIFY(messages.seen().isEmpty());

        // A command on the lost link meets the port guard, not a dead port.
        h.click("Command2");
        QTRY_COMPARE(messages.seen().size(), 1);
        QCOMPARE(messages.seen()[0].text, kPressConnectMessage);
    }
};

QTEST_MAIN(TestSession)
#include "tst_session.moc"
