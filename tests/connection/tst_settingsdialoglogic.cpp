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
    settings.portNumber = 7;
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
        QCOMPARE(int(dialog.settings.portNumber), 3);
        QCOMPARE(dialog.settings.line.parity, QSerialPort::OddParity);
        QVERIFY(dialog.port.configurationLog().isEmpty());

        dialog.logic.okClicked();
        QCOMPARE(dialog.port.portNumber(), 3);
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
        dialog.port.refusePortNumber("Port already open.");
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
        QTest::addColumn<QString>("network");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<QString>("refusal");
        const QString url = QStringLiteral("rfc2217://127.0.0.1:4001");
        QTest::newRow("given") << QVariant(url) << url << url << QString();
        QTest::newRow("tcp, IPv6") << QVariant("tcp://[::1]:23") << "tcp://[::1]:23"
                                   << "tcp://[::1]:23" << QString();
        QTest::newRow("no port") << QVariant("rfc2217://host") << QString() << "Comport 3"
                                 << "Network line: no port in \"rfc2217://host\"";
        QTest::newRow("a Comport") << QVariant("5") << QString() << "Comport 3"
                                   << "Network line: expected rfc2217://HOST:PORT or "
                                      "tcp://HOST:PORT, got \"5\"";
        QTest::newRow("cancelled") << QVariant() << QString() << "Comport 3" << QString();
    }
    void networkEntry() {
        QFETCH(QVariant, answer);
        QFETCH(QString, network);
        QFETCH(QString, shown);
        QFETCH(QString, refusal);
        Dialog dialog;
        dialog.logic.load();
        dialog.selector(Logic::kPort).pick(2);
        if (answer.isValid())
            dialog.prompt.answer = answer.toString();
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        QCOMPARE(dialog.prompt.asked, QStringList{QString()});
        QCOMPARE(dialog.prompt.refusals, refusal.isEmpty() ? QStringList() : QStringList{refusal});
        QCOMPARE(dialog.settings.network, network);
        QCOMPARE(int(dialog.settings.portNumber), 3);
        QCOMPARE(dialog.selector(Logic::kPort).text(), shown);
        QVERIFY(dialog.port.configurationLog().isEmpty());
    }

    // Once given, the entry shows the URL; asking again starts from it, and a Comport entry
    // goes back to serial. Restore Defaults is Comport 1.
    void networkLineThenComportAndDefaults() {
        Dialog dialog;
        dialog.logic.load();
        const QString url = QStringLiteral("tcp://display-server:7000");
        dialog.prompt.answer = url;
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        dialog.prompt.answer.reset();
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        QCOMPARE(dialog.prompt.asked, (QStringList{QString(), url}));
        QCOMPARE(dialog.settings.network, url);
        QCOMPARE(dialog.selector(Logic::kPort).entry(Logic::kNetworkEntry), url);

        dialog.selector(Logic::kPort).pick(1);
        QCOMPARE(dialog.settings.network, QString());
        QCOMPARE(int(dialog.settings.portNumber), 2);
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry); // cancelled: back to Comport 2
        QCOMPARE(dialog.selector(Logic::kPort).text(), QStringLiteral("Comport 2"));

        dialog.prompt.answer = url;
        dialog.selector(Logic::kPort).pick(Logic::kNetworkEntry);
        dialog.logic.restoreDefaultsClicked();
        QCOMPARE(dialog.settings, PortSettings{});
        QCOMPARE(dialog.selector(Logic::kPort).text(), QStringLiteral("Comport 1"));
    }

    // A run started on a network line shows it at the first loading, asking nothing; Ok hands
    // it to the port, which here reaches serial lines only and says so.
    void startOnNetworkLineAndOk() {
        Dialog dialog;
        dialog.start.network = QStringLiteral("rfc2217://10.0.0.7:2001");
        dialog.logic.load();
        QVERIFY(dialog.prompt.asked.isEmpty());
        QCOMPARE(dialog.selector(Logic::kPort).text(), dialog.start.network);
        QCOMPARE(dialog.settings, dialog.start);
        dialog.logic.okClicked();
        QCOMPARE(dialog.messages.shown().size(), size_t(1));
        QVERIFY(dialog.port.configurationLog().isEmpty());
    }
};

QTEST_GUILESS_MAIN(TestSettingsDialogLogic)
#include "tst_settingsdialoglogic.moc"
