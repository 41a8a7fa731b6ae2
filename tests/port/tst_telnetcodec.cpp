#include "port/telnetcodec.h"

#include <QtTest>

using namespace velk;

namespace {

QByteArray bytes(std::initializer_list<int> values) {
    QByteArray result;
    for (const int value : values)
        result.append(char(value));
    return result;
}

constexpr int IAC = 255, DONT = 254, DO = 253, WONT = 252, WILL = 251, SB = 250, SE = 240;
constexpr int BINARY = 0, ECHO = 1, SGA = 3, TM = 6, COMPORT = 44;

} // namespace

class TestTelnetCodec : public QObject {
    Q_OBJECT

private slots:
    void escape_data() {
        QTest::addColumn<QByteArray>("data");
        QTest::addColumn<QByteArray>("wire");
        QTest::newRow("plain") << QByteArray("/C07\r") << QByteArray("/C07\r");
        QTest::newRow("all devices")
            << bytes({'/', 'T', 255, 'A', '\r'}) << bytes({'/', 'T', 255, 255, 'A', '\r'});
        QTest::newRow("two in a row") << bytes({255, 255}) << bytes({255, 255, 255, 255});
        QTest::newRow("empty") << QByteArray() << QByteArray();
    }
    void escape() {
        QFETCH(QByteArray, data);
        QFETCH(QByteArray, wire);
        QCOMPARE(TelnetCodec::escape(data), wire);
    }

    // The server's option requests after our greeting, and the answers they get: an answer to
    // our own request needs none back, an unknown option is declined, nothing loops.
    void negotiation_data() {
        QTest::addColumn<QByteArray>("server");
        QTest::addColumn<QByteArray>("replies");
        QTest::addColumn<bool>("refused");
        QTest::newRow("agrees to ours")
            << bytes({IAC, DO, COMPORT, IAC, DO, BINARY, IAC, WILL, BINARY}) << QByteArray()
            << false;
        QTest::newRow("asks for more")
            << bytes({IAC, WILL, SGA, IAC, DO, SGA, IAC, WILL, ECHO, IAC, DO, ECHO})
            << bytes({IAC, DO, SGA, IAC, WILL, SGA, IAC, DONT, ECHO, IAC, WONT, ECHO}) << false;
        QTest::newRow("asked twice, answered once")
            << bytes({IAC, WILL, SGA, IAC, WILL, SGA}) << bytes({IAC, DO, SGA}) << false;
        QTest::newRow("no line control") << bytes({IAC, DONT, COMPORT}) << QByteArray() << true;
        QTest::newRow("agreed, then taken back") << bytes({IAC, WILL, SGA, IAC, WONT, SGA})
                                                 << bytes({IAC, DO, SGA, IAC, DONT, SGA}) << false;
        // A request for a state already in effect gets no answer: an endless one, one refusal.
        QTest::newRow("the same refused request again and again")
            << bytes({IAC, DO, 99, IAC, DO, 99, IAC, WILL, 99, IAC, DO, 99, IAC, WILL, 99})
            << bytes({IAC, WONT, 99, IAC, DONT, 99}) << false;
        QTest::newRow("timing mark answers nobody asked for")
            << bytes({IAC, WILL, TM, IAC, WONT, TM}) << QByteArray() << false;
        QTest::newRow("asked to mark time")
            << bytes({IAC, DO, TM, IAC, DO, TM}) << bytes({IAC, WONT, TM}) << false;
        QTest::newRow("data and a doubled 0xFF between")
            << bytes({'x', IAC, IAC, 'y', IAC, WILL, SGA}) << bytes({IAC, DO, SGA}) << false;
    }
    void negotiation() {
        QFETCH(QByteArray, server);
        QFETCH(QByteArray, replies);
        QFETCH(bool, refused);
        TelnetCodec codec;
        QCOMPARE(codec.greeting(), bytes({IAC, WILL, COMPORT, IAC, WILL, BINARY, IAC, DO, BINARY}));
        // Fed in two pieces split inside a command: a network read may end anywhere.
        QByteArray data = codec.feed(server.left(server.size() / 2 + 1));
        data += codec.feed(server.mid(server.size() / 2 + 1));
        QCOMPARE(codec.takeReplies(), replies);
        QCOMPARE(data, server.startsWith('x') ? bytes({'x', IAC, 'y'}) : QByteArray());
        QCOMPARE(codec.comPortRefused(), refused);
    }

    // Each mark gets counted once, as the server answers it, either way; answers beyond the
    // marks sent count for nothing.
    void timingMarks() {
        TelnetCodec codec;
        QCOMPARE(codec.timingMark(), bytes({IAC, DO, TM}));
        codec.timingMark();
        codec.feed(bytes({IAC, WONT, TM}));
        QCOMPARE(codec.takeMarkAnswers(), 1);
        codec.feed(bytes({IAC, WILL, TM, IAC, WONT, TM}));
        QCOMPARE(codec.takeMarkAnswers(), 1);
        QCOMPARE(codec.takeReplies(), QByteArray());
    }

    void settingsRequest() {
        const LineSettings settings{19200, QSerialPort::EvenParity, QSerialPort::Data7,
                                    QSerialPort::TwoStop};
        QCOMPARE(TelnetCodec::settingsRequest(settings),
                 bytes({IAC, SB,      COMPORT, 1,  0,       0,  0x4B, 0,   IAC,     SE, IAC,
                        SB,  COMPORT, 2,       7,  IAC,     SE, IAC,  SB,  COMPORT, 3,  3,
                        IAC, SE,      IAC,     SB, COMPORT, 4,  2,    IAC, SE}));
        // A speed with a 0xFF byte keeps it once, as data.
        QVERIFY(TelnetCodec::settingsRequest(
                    {255, QSerialPort::NoParity, QSerialPort::Data8, QSerialPort::OneStop})
                    .startsWith(bytes({IAC, SB, COMPORT, 1, 0, 0, 0, IAC, IAC, IAC, SE})));
    }

    // The server's answers to the four settings: what it holds replaces what was asked.
    void answers_data() {
        QTest::addColumn<QByteArray>("server");
        QTest::addColumn<bool>("complete");
        QTest::addColumn<QString>("held");
        const QByteArray baud = bytes({IAC, SB, COMPORT, 101, 0, 0, 0x4B, 0, IAC, SE});
        const QByteArray data = bytes({IAC, SB, COMPORT, 102, 7, IAC, SE});
        const QByteArray parity = bytes({IAC, SB, COMPORT, 103, 3, IAC, SE});
        const QByteArray stop = bytes({IAC, SB, COMPORT, 104, 2, IAC, SE});
        QTest::newRow("all confirmed") << baud + data + parity + stop << true << "19200,E,7,2";
        QTest::newRow("three of four") << baud + data + stop << false << "19200,E,7,2";
        QTest::newRow("speed refused")
            << bytes({IAC, SB, COMPORT, 101, 0, 0, 0x25, 0x80, IAC, SE}) + data + parity + stop
            << true << "9600,E,7,2";
        QTest::newRow("odd parity held, modem notice between")
            << baud + bytes({IAC, SB, COMPORT, 107, 0x30, IAC, SE}) + data +
                   bytes({IAC, SB, COMPORT, 103, 2, IAC, SE}) + stop
            << true << "19200,O,7,2";
        QTest::newRow("overlong option text is cut, not kept")
            << QByteArray(bytes({IAC, SB, COMPORT, 107}) + QByteArray(5000, 'x') +
                          bytes({IAC, SE})) +
                   baud + data + parity + stop
            << true << "19200,E,7,2";
    }
    void answers() {
        QFETCH(QByteArray, server);
        QFETCH(bool, complete);
        QFETCH(QString, held);
        const LineSettings asked{19200, QSerialPort::EvenParity, QSerialPort::Data7,
                                 QSerialPort::TwoStop};
        TelnetCodec codec;
        codec.greeting();
        for (const char byte : server) // one byte at a time
            codec.feed(QByteArray(1, byte));
        QCOMPARE(codec.settingsAnswered(), complete);
        QCOMPARE(codec.answeredSettings(asked).text(), held);
        codec.forgetSettings();
        QVERIFY(!codec.settingsAnswered());
    }
};

QTEST_GUILESS_MAIN(TestTelnetCodec)
#include "tst_telnetcodec.moc"
