#include "connection/settingsdialoglogic.h"
#include "doubles/fakenetworklineprompt.h"
#include "doubles/memorycontrols.h"
#include "doubles/memoryserialport.h"

#include <QtTest>
#include <memory>

using namespace velk;

namespace {

using Logic = SettingsDialogLogic;

// The dialog as the window wires it: selectors filled from entries(), clicks bound to
// configClicked(index).
struct Dialog {
    explicit Dialog(int portEntries = 16) : selectors(makeSelectors(portEntries)) {
        for (int index = 0; index < Logic::kSelectorCount; ++index) {
            selectors[index]->onClick([this, index] {
                clicks << index;
                logic.configClicked(index);
            });
        }
    }
    static std::array<std::unique_ptr<MemorySelector>, Logic::kSelectorCount>
    makeSelectors(int portEntries) {
        std::array<std::unique_ptr<MemorySelector>, Logic::kSelectorCount> made;
        for (int index = 0; index < Logic::kSelectorCount; ++index) {
            QStringList entries = Logic::entries(index);
            while (index == Logic::kPort && entries.size() < portEntries)
                entries << QStringLiteral("extra");
            made[index] = std::make_unique<MemorySelector>(entries);
        }
        return made;
    }
    MemorySelector& selector(int index) { return *selectors[index]; }
    QStringList shownTexts() const {
        QStringList texts;
        for (const auto& selector : selectors)
            texts << selector->text();
        return texts;
    }

    std::array<std::unique_ptr<MemorySelector>, Logic::kSelectorCount> selectors;
    PortSettings settings;
    MemorySerialPort port;
    MemoryStatusBar statusBar;
    MemoryMessageBox messages;
    PortControl control{settings, port, statusBar, messages};
    int hidden = 0;
    QList<int> clicks;
    FakeNetworkLinePrompt prompt;
    PortSettings start;
    Logic logic{{selectors[0].get(), selectors[1].get(), selectors[2].get(), selectors[3].get(),
                 selectors[4].get()},
                settings,
                control,
                [this] { ++hidden; },
                start,
                &prompt};
};

PortSettings nonDefaults() {
    PortSettings settings;
    settings.lineName = LineName::comport(7);
    settings.line = {38400, QSerialPort::EvenParity, QSerialPort::Data5, QSerialPort::TwoStop};
    return settings;
}

} // namespace

class TestSettingsDialogLogic : public QObject {
    Q_OBJECT

private slots:
    void entries_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<QStringList>("entries");
        QTest::newRow("baud") << 0 << QStringList{"1200",  "2400",  "4800",  "9600",
                                                  "14400", "19200", "28800", "38400"};
        QTest::newRow("data bits") << 1 << QStringList{"5", "6", "7", "8"};
        QTest::newRow("parity") << 2 << QStringList{"Even", "Odd", "None"};
        QTest::newRow("stop bits") << 3 << QStringList{"1", "2"};
        QStringList ports;
        for (int number = 1; number <= 16; ++number)
            ports << QStringLiteral("Comport %1").arg(number);
        QTest::newRow("port") << 4 << (ports << "Network line ...");
        QTest::newRow("no such selector") << 5 << QStringList{};
    }
    void entries() {
        QFETCH(int, index);
        QFETCH(QStringList, entries);
        QCOMPARE(Logic::entries(index), entries);
    }

    void firstLoadShowsAndStoresDefaults() {
        Dialog dialog;
        dialog.settings = nonDefaults();
        dialog.logic.load();
        QCOMPARE(dialog.clicks, (QList<int>{4, 0, 1, 2, 3}));
        QCOMPARE(dialog.shownTexts(), (QStringList{"9600", "8", "None", "1", "Comport 1"}));
        QCOMPARE(dialog.settings, PortSettings{});
        QVERIFY(dialog.port.configurationLog().isEmpty());
        QCOMPARE(dialog.hidden, 0);
    }

    void pickingChangesSettingsAtOnceAndOkApplies() {
        Dialog dialog;
        dialog.logic.load();
        dialog.selector(Logic::kPort).pick(2);
        dialog.selector(Logic::kParity).pick(1);
        QCOMPARE(dialog.settings.lineName, LineName::comport(3));
        QCOMPARE(dialog.settings.line.parity, QSerialPort::OddParity);
        QVERIFY(dialog.port.configurationLog().isEmpty());

        dialog.logic.okClicked();
        QCOMPARE(dialog.port.name(), LineName::comport(3));
        QCOMPARE(dialog.port.settings().text(), QStringLiteral("9600,O,8,1"));
        QCOMPARE(dialog.hidden, 1);
    }

    void cancelKeepsChoicesWithoutApplying() {
        Dialog dialog;
        dialog.logic.load();
        dialog.selector(Logic::kBaudRate).pick(5);
        dialog.selector(Logic::kStopBits).pick(1);
        dialog.logic.cancelClicked();
        QCOMPARE(dialog.hidden, 1);
        QVERIFY(dialog.port.configurationLog().isEmpty());
        QCOMPARE(dialog.settings.line.text(), QStringLiteral("19200,N,8,2"));
        QCOMPARE(dialog.shownTexts(), (QStringList{"19200", "8", "None", "2", "Comport 1"}));

        dialog.logic.okClicked();
        QCOMPARE(dialog.port.settings().text(), QStringLiteral("19200,N,8,2"));
    }

    void restoreDefaultsThenCancel() {
        Dialog dialog;
        dialog.logic.load();
        dialog.selector(Logic::kPort).pick(9);
        dialog.selector(Logic::kDataBits).pick(0);
        dialog.logic.restoreDefaultsClicked();
        QCOMPARE(dialog.hidden, 0);
        QCOMPARE(dialog.settings, PortSettings{});
        dialog.logic.cancelClicked();
        QCOMPARE(dialog.hidden, 1);
        QVERIFY(dialog.port.configurationLog().isEmpty());
    }

    void okAppliesAgainAndClosesAfterRefusal() {
        Dialog dialog;
        dialog.logic.load();
        dialog.logic.okClicked();
        dialog.port.refuseName("Port already open.");
        dialog.logic.okClicked();
        QCOMPARE(dialog.port.configurationLog().size(), 2);
        QCOMPARE(dialog.messages.shown().size(), size_t(1));
        QCOMPARE(dialog.hidden, 2);
    }

    // Each entry stores the value it shows, as the status bar will write it.
    void everyEntryStoresWhatItShows_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("part"); // of "BAUD,P,D,S"
        QTest::newRow("baud") << int(Logic::kBaudRate) << 0;
        QTest::newRow("parity") << int(Logic::kParity) << 1;
        QTest::newRow("data bits") << int(Logic::kDataBits) << 2;
        QTest::newRow("stop bits") << int(Logic::kStopBits) << 3;
    }
    void everyEntryStoresWhatItShows() {
        QFETCH(int, index);
        QFETCH(int, part);
        Dialog dialog;
        dialog.logic.load();
        for (int position = 0; position < dialog.selector(index).count(); ++position) {
            dialog.selector(index).pick(position);
            const QString shown = dialog.selector(index).text();
            const QString stored = dialog.settings.line.text().split(',').at(part);
            QCOMPARE(stored, index == Logic::kParity ? shown.left(1) : shown);
        }
    }

    void typedTextIsIgnored() {
        Dialog dialog;
        dialog.logic.load();
        dialog.selector(Logic::kBaudRate).pick(5);
        dialog.selector(Logic::kBaudRate).type("57600");
        dialog.logic.configClicked(Logic::kBaudRate);
        QCOMPARE(dialog.settings.line.baudRate, 19200);
        dialog.logic.okClicked();
        QCOMPARE(dialog.port.settings().text(), QStringLiteral("19200,N,8,1"));
    }

    // No selection (-1) or a position the value table lacks stores nothing, for every selector.
    void positionsOutsideTheListStoreNothing_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("position");
        for (int index = 0; index < Logic::kSelectorCount; ++index)
            QTest::addRow("selector %d, none selected", index) << index << -1;
        QTest::newRow("port 18") << int(Logic::kPort) << 17;
        QTest::newRow("port 20") << int(Logic::kPort) << 19;
    }
    void positionsOutsideTheListStoreNothing() {
        QFETCH(int, index);
        QFETCH(int, position);
        Dialog dialog(20);
        dialog.settings = nonDefaults();
        if (position < 0)
            dialog.selector(index).type("typed");
        else
            dialog.selector(index).pick(position);
        dialog.logic.configClicked(index);
        QCOMPARE(dialog.settings, nonDefaults());
    }

    void unknownIndexDoesNothing() {
        Dialog dialog;
        dialog.settings = nonDefaults();
        dialog.selector(Logic::kBaudRate).pick(0);
        dialog.logic.configClicked(5);
        dialog.logic.configClicked(-1);
        PortSettings expected = nonDefaults();
        expected.line.baudRate = 1200;
        QCOMPARE(dialog.settings, expected);
    }

    // Picking the network entry asks for the URL; what the line parser refuses, or a cancel,
    // leaves the choice made before, in the settings and on screen.
    void networkEntry_data() {
        QTest::addColumn<QVariant>("answer"); // invalid: cancelled
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("refusals");
        const QString url = QStringLiteral("tcp://[::1]:23");
        QTest::newRow("given") << QVariant(url) << url << 0;
        QTest::newRow("no port") << QVariant("rfc2217://host") << "Comport 3" << 1;
        QTest::newRow("a Comport") << QVariant("5") << "Comport 3" << 1;
        QTest::newRow("cancelled") << QVariant() << "Comport 3" << 0;
        QTest::newRow("bus line") << QVariant("mqtt://broker/velk/hall")
                                  << "mqtt://broker:1883/velk/hall" << 0;
        QTest::newRow("bus line, wildcard") << QVariant("mqtt://broker/velk/+") << "Comport 3" << 1;
    }
    void networkEntry() {
        QFETCH(QVariant, answer);
        QFETCH(QString, shown);
        QFETCH(int, refusals);
        Dialog dialog;
        dialog.logic.load();
        dialog.selector(Logic::kPort).pick(2);
        if (answer.isValid())
            dialog.prompt.answer = answer.toString();
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        QCOMPARE(dialog.prompt.refusals.size(), refusals);
        QCOMPARE(dialog.selector(Logic::kPort).text(), shown);
        QCOMPARE(dialog.settings.lineName.text(), shown.startsWith("Comport") ? "3" : shown);
    }

    // While a bus line is chosen the dialog says in one line that its settings are the
    // bridge's; any other line takes the note away.
    void busLineNote() {
        Dialog dialog;
        QStringList notes;
        dialog.logic.onLineNote([&notes](const QString& note) { notes << note; });
        dialog.start.lineName = *LineName::parse(QStringLiteral("mqtt://broker/velk"), nullptr);
        dialog.logic.load();
        QCOMPARE(notes.last(), Logic::busLineNote());
        dialog.selector(Logic::kPort).pick(1);
        QCOMPARE(notes.last(), QString());
        dialog.prompt.answer = QStringLiteral("tcp://host:23");
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        QCOMPARE(notes.last(), QString());
        dialog.prompt.answer = QStringLiteral("mqtts://broker/velk/hall");
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        QCOMPARE(notes.last(), Logic::busLineNote());
    }

    // A run started on a network line shows it, asking nothing; asking again starts from it, a
    // Comport entry goes back to serial, and Restore Defaults is Comport 1.
    void networkLineThenComportAndDefaults() {
        Dialog dialog;
        const QString url = QStringLiteral("rfc2217://10.0.0.7:2001");
        dialog.start.lineName = *LineName::parse(url, nullptr);
        dialog.logic.load();
        QCOMPARE(dialog.selector(Logic::kPort).text(), url);
        QCOMPARE(dialog.settings, dialog.start);
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        QCOMPARE(dialog.prompt.asked, QStringList{url});
        QCOMPARE(dialog.settings.lineName, dialog.start.lineName);
        dialog.selector(Logic::kPort).pick(1);
        QCOMPARE(dialog.settings.lineName, LineName::comport(2));
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        dialog.logic.restoreDefaultsClicked();
        QCOMPARE(dialog.settings, PortSettings{});
    }
};

QTEST_GUILESS_MAIN(TestSettingsDialogLogic)
#include "tst_settingsdialoglogic.moc"
