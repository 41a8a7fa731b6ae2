#include "bus/busstate.h"

#include <QtTest>

// What a client of a line's bridge takes from its retained states: each payload checked at the
// door, a refused one changing nothing.

using namespace velk;

class TestBusState : public QObject {
    Q_OBJECT

private slots:
    // One message each on a fresh state: the part it changed ("None" for a topic that is not a
    // state, "refused" with the reason's start otherwise) and the state it leaves.
    void take_data() {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QByteArray>("payload");
        QTest::addColumn<QString>("result");
        const QByteArray line = R"({"line":"/dev/ttyUSB0","settings":"19200,E,7,2",)"
                                R"("addresses":[1,2,255],"time_zone":"Europe/Berlin"})";
        QTest::newRow("online") << "availability" << QByteArray("online") << "Availability online";
        QTest::newRow("availability word") << "availability" << QByteArray("up")
                                           << "refused availability: expected online or offline";
        QTest::newRow("sync") << "sync" << QByteArray("OFF") << "Sync off";
        QTest::newRow("sync, lower case")
            << "sync" << QByteArray("on") << "refused sync: expected ON or OFF";
        QTest::newRow("clock") << "clock" << QByteArray("not synchronised")
                               << "Clock not synchronised";
        QTest::newRow("clock word")
            << "clock" << QByteArray("fine") << "refused clock: not a clock state";
        QTest::newRow("line") << "line" << line
                              << "Line /dev/ttyUSB0 19200,E,7,2 Europe/Berlin 1,2,255";
        QTest::newRow("line, not JSON") << "line" << QByteArray("{") << "refused line: expected";
        QTest::newRow("line, no settings")
            << "line" << QByteArray(R"({"line":"x","settings":"fast"})")
            << "refused line: settings \"fast\"";
        QTest::newRow("line, address 0")
            << "line" << QByteArray(R"({"line":"x","settings":"9600,N,8,1","addresses":[0]})")
            << "refused line: an address";
        QTest::newRow("line name of two lines")
            << "line" << QByteArray(R"({"line":"a\nb","settings":"9600,N,8,1"})")
            << "refused line: no line name";
        QTest::newRow("title") << "3/title" << QByteArray("Hall 3") << "Title 3=Hall 3";
        QTest::newRow("title of all") << "all/title" << QByteArray("Foyer") << "Title 255=Foyer";
        QTest::newRow("empty title") << "3/title" << QByteArray() << "Title 3=";
        QTest::newRow("title the displays cannot show")
            << "3/title" << QByteArray("a\tb") << "refused 3/title: ";
        QTest::newRow("title, not UTF-8") << "3/title" << QByteArray("\xff")
                                          << "refused 3/title: "
                                             "the payload is not "
                                             "valid UTF-8";
        QTest::newRow("too large")
            << "line" << QByteArray(5000, ' ') << "refused line: a payload of 5000 bytes";
        QTest::newRow("address 03") << "03/title" << QByteArray("x") << "None";
        QTest::newRow("address 255") << "255/title" << QByteArray("x") << "None";
        QTest::newRow("a command topic") << "3/title/set" << QByteArray("x") << "None";
    }
    void take() {
        QFETCH(QString, path);
        QFETCH(QByteArray, payload);
        QFETCH(QString, result);
        BusState state;
        QString why;
        const std::optional<BusState::Part> part = state.take(path, payload, &why);
        QString seen = "refused " + why;
        QStringList addresses;
        for (const quint8 address : state.addresses())
            addresses << QString::number(address);
        switch (part.value_or(BusState::Part::None)) {
        case BusState::Part::None:
            seen = part ? "None" : seen;
            break;
        case BusState::Part::Availability:
            seen = "Availability " + state.availability();
            break;
        case BusState::Part::Sync:
            seen = QString("Sync ") + (*state.sync() ? "on" : "off");
            break;
        case BusState::Part::Clock:
            seen = "Clock " + state.clock();
            break;
        case BusState::Part::Line:
            seen = QStringList{"Line", state.line(), state.settings(), state.timeZone(),
                               addresses.join(',')}
                       .join(' ');
            break;
        case BusState::Part::Title: {
            const quint8 address = *BusState::addressOf(path.section('/', 0, 0));
            seen = QString("Title %1=%2").arg(address).arg(*state.title(address));
            break;
        }
        }
        QVERIFY2(seen.startsWith(result), qPrintable(seen));
        // A refused payload leaves nothing behind.
        if (!part)
            QCOMPARE(state.availability() + state.line() + state.clock(), QString());
    }

    // The same value again changes nothing, so the panel does not redo what it shows.
    void sameValueTwice() {
        BusState state;
        QCOMPARE(state.take("sync", "ON", nullptr), BusState::Part::Sync);
        QCOMPARE(state.take("sync", "ON", nullptr), BusState::Part::None);
        QCOMPARE(state.take("2/title", "", nullptr), BusState::Part::Title);
        QCOMPARE(state.take("2/title", "", nullptr), BusState::Part::None);
    }
};

QTEST_GUILESS_MAIN(TestBusState)
#include "tst_busstate.moc"
