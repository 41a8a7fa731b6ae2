#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"
#include "support/systemset.h"
#include "titles/titlecommands.h"
#include "transmit/transmitter.h"
#include "wire/frames.h"

#include <QtTest>

using namespace velk;

namespace {

const QString kDefault = QStringLiteral("Title String ...");

// The title group of the window in memory, bound as the window binds it and started up with
// "Master" selected.
struct TitleRig {
    TitleRig() {
        address.onClick([this] { commands.addressSelected(); });
        title.onChange([this] { commands.titleChanged(); });
        commands.setDefaultTitle(kDefault);
        address.setListIndex(0);
        port.open();
    }
    MemorySerialPort port;
    MemoryMessageBox messages;
    MemorySelector address{frames::addressEntries()};
    MemoryTextBox title{20};
    Transmitter transmitter{port, messages};
    TitleCommands commands{transmitter, address, title, messages};

    // What the box shows on coming back to `slot` from another address: the title kept for it,
    // or the default where none is kept.
    QString titleOnReturnTo(int slot) {
        address.pick(slot == 1 ? 2 : 1);
        address.pick(slot);
        return title.text();
    }
};

} // namespace

class TestTitleCommands : public QObject {
    Q_OBJECT

private slots:
    void clear_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("Master") << 0 << QByteArray::fromHex("2F54FF0D");
        QTest::newRow("1") << 1 << QByteArray::fromHex("2F54010D");
        QTest::newRow("254") << 254 << QByteArray::fromHex("2F54FE0D");
    }
    void clear() {
        QFETCH(int, address);
        QFETCH(QByteArray, bytes);
        TitleRig rig;
        rig.address.pick(address);
        rig.title.type("X");
        rig.commands.clearClicked();
        QCOMPARE(rig.port.written(), bytes);
        QCOMPARE(rig.port.writes().size(), std::size_t(4)); // one write per byte
        QCOMPARE(rig.title.text(), QString());
        QVERIFY(rig.messages.shown().empty());
        QCOMPARE(rig.titleOnReturnTo(address), kDefault);
    }

    void clearEmptiesTheBoxBeforeTheFrame() {
        TitleRig rig;
        QByteArray writtenWhenEmptied = "none";
        rig.title.onChange([&] {
            rig.commands.titleChanged();
            writtenWhenEmptied = rig.port.written();
        });
        rig.commands.clearClicked();
        QCOMPARE(writtenWhenEmptied, QByteArray());
        QCOMPARE(rig.port.written(), QByteArray::fromHex("2F54FF0D"));
    }

    void guardedCommandsWithPortClosed() {
        TitleRig rig;
        rig.port.close();
        rig.address.pick(3);
        rig.title.paste("HELLO");
        rig.commands.clearClicked();
        rig.commands.sendClicked();
        QCOMPARE(rig.port.written(), QByteArray());
        QCOMPARE(rig.title.text(), "HELLO");
        QCOMPARE(rig.messages.shown().size(), std::size_t(2));
        for (const MemoryMessageBox::Shown& shown : rig.messages.shown())
            QCOMPARE(shown.text, kPressConnectMessage);
        QCOMPARE(rig.titleOnReturnTo(3), "HELLO");
    }

    void writeFailureMidFrameIsSilent_data() {
        QTest::addColumn<bool>("clear");
        QTest::addColumn<int>("failing");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("send, address byte lost") << false << 2 << QByteArray::fromHex("2F5441420D");
        QTest::newRow("send, text byte lost") << false << 3 << QByteArray::fromHex("2F5405420D");
        QTest::newRow("clear, letter lost") << true << 1 << QByteArray::fromHex("2F050D");
    }
    void writeFailureMidFrameIsSilent() {
        QFETCH(bool, clear);
        QFETCH(int, failing);
        QFETCH(QByteArray, bytes);
        TitleRig rig;
        rig.address.pick(5);
        rig.title.paste("AB");
        rig.port.failWrite(failing);
        // The operator is not told; the log keeps a warning and, when asked for, the frame.
        QLoggingCategory::setFilterRules(QStringLiteral("velk.serial.debug=true"));
        const QByteArray frame = clear ? "2F 54 05 0D" : "2F 54 05 41 42 0D";
        const QByteArray length = clear ? "4" : "6";
        QTest::ignoreMessage(QtDebugMsg, "frame " + frame);
        QTest::ignoreMessage(QtWarningMsg,
                             "the port did not take 1 of " + length + " bytes of frame " + frame);
        if (clear)
            rig.commands.clearClicked();
        else
            rig.commands.sendClicked();
        QLoggingCategory::setFilterRules(QString());
        QCOMPARE(rig.port.written(), bytes);
        QVERIFY(rig.messages.shown().empty());
    }

    void send_data() {
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QByteArray>("bytes");
        QTest::newRow("address 5") << 5 << "AB" << QByteArray::fromHex("2F540541420D");
        QTest::newRow("default title to Master")
            << 0 << kDefault << QByteArray::fromHex("2F54FF") + "Title String ..." + '\r';
        QTest::newRow("empty") << 7 << "" << QByteArray::fromHex("2F54070D");
        QTest::newRow("slash inside") << 1 << "a/b" << QByteArray::fromHex("2F5401612F620D");
        QTest::newRow("20 characters")
            << 2 << "ABCDEFGHIJKLMNOPQRST"
            << QByteArray::fromHex("2F5402") + "ABCDEFGHIJKLMNOPQRST" + '\r';
        QTest::newRow("beyond the set skipped")
            << 1 << QString::fromUtf8("A€😀é")
            << QByteArray::fromHex("2F540141") + velk::test::euroBytes() + "\xE9\r";
    }
    void send() {
        QFETCH(int, address);
        QFETCH(QString, text);
        QFETCH(QByteArray, bytes);
        TitleRig rig;
        rig.address.pick(address);
        rig.title.setText(text);
        rig.commands.sendClicked();
        QCOMPARE(rig.port.written(), bytes);
        QCOMPARE(rig.port.writes().size(), std::size_t(bytes.size()));
        QCOMPARE(rig.title.text(), text);
        QCOMPARE(rig.titleOnReturnTo(address), text.isEmpty() ? kDefault : text);
    }

    void twentyCharacterTitleIsTwentyFourBytes() {
        TitleRig rig;
        rig.title.setText(QString());
        rig.title.type("12345678901234567890X");
        QCOMPARE(rig.title.text().size(), 20);
        rig.commands.sendClicked();
        QCOMPARE(rig.port.written().size(), 24);
    }

    void eachAddressKeepsItsTitle() {
        TitleRig rig;
        QCOMPARE(rig.title.text(), kDefault);
        // The box shows the default already, so it raises no change; the slot still takes it.
        rig.address.pick(6);
        QCOMPARE(rig.title.text(), kDefault);
        rig.address.pick(1);
        rig.title.paste("ONE");
        rig.address.pick(2);
        QCOMPARE(rig.title.text(), kDefault);
        rig.address.pick(1);
        QCOMPARE(rig.title.text(), "ONE");
        rig.address.pick(0);
        QCOMPARE(rig.title.text(), kDefault);
    }

    void clearedAddressShowsTheDefaultAgain() {
        TitleRig rig;
        rig.address.pick(3);
        rig.title.paste("THREE");
        rig.commands.clearClicked();
        QCOMPARE(rig.title.text(), QString());
        rig.address.pick(4);
        rig.address.pick(3);
        QCOMPARE(rig.title.text(), kDefault);
    }

    // Typing into the address field leaves no address selected: nothing may be sent or stored.
    void noAddressSelected() {
        TitleRig rig;
        rig.address.pick(9);
        rig.title.paste("NINE");
        rig.address.type("12");
        QCOMPARE(rig.address.listIndex(), -1);

        rig.commands.sendClicked();
        rig.commands.clearClicked();
        QCOMPARE(rig.port.written(), QByteArray());
        QCOMPARE(rig.title.text(), "NINE");
        QCOMPARE(rig.messages.shown().size(), std::size_t(2));
        for (const MemoryMessageBox::Shown& shown : rig.messages.shown())
            QCOMPARE(shown.text, kPickAddressMessage);

        rig.title.paste("TYPED");
        rig.commands.addressSelected();
        QCOMPARE(rig.title.text(), "TYPED");
        for (int slot = 0; slot < TitleStore::kSlotCount; ++slot) {
            rig.address.pick(slot);
            QVERIFY(rig.title.text() != "TYPED");
        }
        rig.address.pick(9);
        QCOMPARE(rig.title.text(), "NINE");
    }

    void closedPortIsReportedBeforeMissingAddress() {
        TitleRig rig;
        rig.port.close();
        rig.address.type("x");
        rig.commands.sendClicked();
        QCOMPARE(rig.messages.shown().size(), std::size_t(1));
        QCOMPARE(rig.messages.shown().front().text, kPressConnectMessage);
    }

    void storeOutsideTheTable() {
        TitleStore store;
        store.store(-1, "x");
        store.store(255, "x");
        store.store(254, "last");
        QCOMPARE(store.title(-1), QString());
        QCOMPARE(store.title(255), QString());
        QCOMPARE(store.title(254), "last");
    }
};

QTEST_GUILESS_MAIN(TestTitleCommands)
#include "tst_titlecommands.moc"
