#include "doubles/fixedportmapping.h"
#include "port/qtserialport.h"
#include "support/ptypair.h"

#include <QAbstractEventDispatcher>
#include <QtTest>
#include <memory>

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace velk;
using velk::test::PtyPair;

namespace {

struct Link {
    Link() {
        auto owned = std::make_unique<FixedPortMapping>(QMap<int, QString>{{1, pair.near()}});
        mapping = owned.get();
        port = std::make_unique<QtSerialPort>(std::move(owned));
    }
    PtyPair pair;
    FixedPortMapping* mapping = nullptr;
    std::unique_ptr<QtSerialPort> port;
};

// What open() reports; a serial port answers before open() returns.
QString openAnswer(Line& port) {
    QString failure = QStringLiteral("no answer");
    port.open([&failure](const QString& why) { failure = why; });
    return failure;
}

QByteArray everyByteValue() {
    QByteArray bytes;
    for (int value = 0; value < 256; ++value)
        bytes.append(char(value));
    return bytes;
}

} // namespace

class TestQtSerialPort : public QObject {
    Q_OBJECT

private slots:
    void initialProperties() {
        QtSerialPort port(std::make_unique<FixedPortMapping>());
        QCOMPARE(port.name(), LineName::comport(1));
        QCOMPARE(port.settings(), LineSettings());
        QVERIFY(!port.isOpen());
        QVERIFY(!port.output("/M12"));
    }

    void writtenBytesReachTheLine() {
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        QCOMPARE(openAnswer(*link.port), QString());
        QVERIFY(link.port->isOpen());
        QVERIFY(link.port->output(everyByteValue()));
        QVERIFY(link.port->output("/M12"));
        QCOMPARE(link.pair.readFarWhileRunning(260), everyByteValue() + "/M12");
    }

    void settingsAreApplied_data() {
        QTest::addColumn<qint32>("baud");
        QTest::addColumn<QSerialPort::Parity>("parity");
        QTest::addColumn<QSerialPort::DataBits>("data");
        QTest::addColumn<QSerialPort::StopBits>("stop");
        QTest::newRow("19200,E,7,2")
            << 19200 << QSerialPort::EvenParity << QSerialPort::Data7 << QSerialPort::TwoStop;
        QTest::newRow("1200,O,5,1")
            << 1200 << QSerialPort::OddParity << QSerialPort::Data5 << QSerialPort::OneStop;
        QTest::newRow("38400,N,8,2")
            << 38400 << QSerialPort::NoParity << QSerialPort::Data8 << QSerialPort::TwoStop;
        QTest::newRow("14400,N,6,1")
            << 14400 << QSerialPort::NoParity << QSerialPort::Data6 << QSerialPort::OneStop;
        QTest::newRow("28800,M,8,1")
            << 28800 << QSerialPort::MarkParity << QSerialPort::Data8 << QSerialPort::OneStop;
        QTest::newRow("115200,S,8,1")
            << 115200 << QSerialPort::SpaceParity << QSerialPort::Data8 << QSerialPort::OneStop;
    }
    void settingsAreApplied() {
        QFETCH(qint32, baud);
        QFETCH(QSerialPort::Parity, parity);
        QFETCH(QSerialPort::DataBits, data);
        QFETCH(QSerialPort::StopBits, stop);
        const LineSettings settings{baud, parity, data, stop};
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        QVERIFY(link.port->setSettings(settings, nullptr));
        QCOMPARE(link.port->settings(), settings);
        QCOMPARE(openAnswer(*link.port), QString());
        QCOMPARE(link.port->settings(), settings);
        // Changed again while open: the live port takes it.
        QVERIFY(link.port->setSettings(LineSettings(), nullptr));
        QCOMPARE(link.port->settings(), LineSettings());
    }

    void refusedSettingsKeepWhatThePortHolds() {
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        QCOMPARE(openAnswer(*link.port), QString());
#ifdef Q_OS_UNIX
        QString why;
        QVERIFY(!link.port->setSettings(
            {9600, QSerialPort::NoParity, QSerialPort::Data5, QSerialPort::OneAndHalfStop}, &why));
        QVERIFY2(why.contains("9600,N,5,1.5") && why.contains("keeps 9600,N,8,1"), qPrintable(why));
        QCOMPARE(link.port->settings(), LineSettings());
#endif
    }

    // Comport 1-16 only, never a device server, and no other line while open.
    void lineName() {
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        QString why;
        QVERIFY(!link.port->setName(LineName::comport(0), &why));
        QVERIFY(!why.isEmpty());
        QVERIFY(!link.port->setName(LineName::comport(17), nullptr));
        QVERIFY(!link.port->setName(*LineName::parse("tcp://127.0.0.1:65535", nullptr), &why));
        QCOMPARE(why, QStringLiteral("tcp://127.0.0.1:65535: this port reaches serial lines only"));
        QCOMPARE(link.port->name(), LineName::comport(1));
        QVERIFY(link.port->setName(LineName::comport(16), nullptr));
        QCOMPARE(link.port->lineLabel(), QStringLiteral("Com 16"));
        QVERIFY(link.port->setName(LineName::comport(1), nullptr));
        QCOMPARE(openAnswer(*link.port), QString());
        QVERIFY(!link.port->setName(LineName::comport(2), &why));
        QCOMPARE(why, QStringLiteral("Port already open."));
        QCOMPARE(link.port->name(), LineName::comport(1));
    }

    void outputAfterCloseFailsQuietly() {
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        QCOMPARE(openAnswer(*link.port), QString());
        link.port->close();
        QVERIFY(!link.port->isOpen());
        QVERIFY(!link.port->output("/M12"));
    }

    // Bytes still in the port's buffer when it is closed or destroyed must reach the line.
    void pendingBytesSurviveClosing_data() {
        QTest::addColumn<bool>("destroy");
        QTest::newRow("close") << false;
        QTest::newRow("destroy") << true;
    }
    void pendingBytesSurviveClosing() {
        QFETCH(bool, destroy);
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        QCOMPARE(openAnswer(*link.port), QString());
        const QByteArray payload = everyByteValue().repeated(4);
        QVERIFY(link.port->output(payload));
        qint64 unsent = -1;
        if (destroy)
            link.port.reset();
        else
            link.port->close([&unsent](qint64 count) { unsent = count; });
        QCOMPARE(link.pair.readFarWhileRunning(payload.size()), payload);
        if (!destroy)
            QTRY_COMPARE(unsent, qint64(0));
    }

    void openFailuresNameTheDevice_data() {
        QTest::addColumn<bool>("missing");
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing device") << true << "no such device";
        QTest::newRow("held by another") << false << "busy";
        QTest::newRow("input/output error") << false << "input/output error";
    }
    void openFailuresNameTheDevice() {
        QFETCH(bool, missing);
        QFETCH(QString, reason);
        Link holder;
        QVERIFY2(holder.pair.isReady(), qPrintable(holder.pair.error()));
        QCOMPARE(openAnswer(*holder.port), QString());
        QString device = missing ? holder.pair.near() + "-gone" : holder.pair.near();
        // A pseudo-terminal not yet unlocked refuses to open with an input/output error.
        const int locked = ::posix_openpt(O_RDWR | O_NOCTTY);
        if (reason == "input/output error" && locked >= 0 && ::grantpt(locked) == 0)
            device = QString::fromLocal8Bit(::ptsname(locked));
        QtSerialPort port(std::make_unique<FixedPortMapping>(QMap<int, QString>{{1, device}}));
        const QString failure = openAnswer(port);
        QVERIFY2(failure.contains(device), qPrintable(failure));
        QVERIFY2(failure.contains(reason), qPrintable(failure));
        QVERIFY(!port.isOpen());
        QVERIFY(!port.output("/M12"));
        ::close(locked);
    }

    void lostDeviceIsReportedOnceAndTheLoopGoesIdle() {
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        int lost = 0;
        link.port->onLost([&] {
            ++lost;
            QVERIFY(!link.port->isOpen());
        });
        QCOMPARE(openAnswer(*link.port), QString());
        link.pair.stop();
        QTRY_COMPARE(lost, 1);
        QVERIFY(!link.port->isOpen());
        QVERIFY(!link.port->output("/M12"));

        // A port that kept polling a hung-up device would wake the loop without pause.
        int wakeUps = 0;
        auto* dispatcher = QAbstractEventDispatcher::instance();
        const auto counting =
            connect(dispatcher, &QAbstractEventDispatcher::awake, this, [&] { ++wakeUps; });
        QTest::qWait(200);
        disconnect(counting);
        QCOMPARE(lost, 1);
        QVERIFY2(wakeUps < 1000, qPrintable(QString::number(wakeUps)));
        QVERIFY(!link.port->isOpen());
    }

    void reopensOnceTheDeviceIsBack() {
        Link link;
        QVERIFY2(link.pair.isReady(), qPrintable(link.pair.error()));
        int lost = 0;
        link.port->onLost([&] { ++lost; });
        QCOMPARE(openAnswer(*link.port), QString());
        link.pair.stop();
        QTRY_COMPARE(lost, 1);

        PtyPair back;
        QVERIFY2(back.isReady(), qPrintable(back.error()));
        link.mapping->setDevice(1, back.near());
        QCOMPARE(openAnswer(*link.port), QString());
        QVERIFY(link.port->output("/H07"));
        QCOMPARE(back.readFarWhileRunning(4), QByteArray("/H07"));
    }

    // A reopen goes to the device the last open reached, even when Comport 1 now names another.
    void reopenKeepsTheDeviceItFound() {
        Link link;
        PtyPair other;
        QVERIFY2(link.pair.isReady() && other.isReady(), qPrintable(link.pair.error()));
        int lost = 0;
        link.port->onLost([&] { ++lost; });
        QCOMPARE(openAnswer(*link.port), QString());
        link.pair.stop();
        QTRY_COMPARE(lost, 1);
        link.mapping->setDevice(1, other.near());
        QString failure = "none";
        link.port->reopen([&](const QString& why) { failure = why; });
        QVERIFY2(failure.contains(link.pair.near()), qPrintable(failure));
        QVERIFY(link.pair.restart());
        link.port->reopen([&](const QString& why) { failure = why; });
        QCOMPARE(failure, QString());
        QVERIFY(link.port->output("/H07"));
        QCOMPARE(link.pair.readFarWhileRunning(4), QByteArray("/H07"));
        QCOMPARE(other.drainFar(50), QByteArray());
    }

    // One holder per device, whatever name reaches it, also after another program opened and
    // closed the device (which clears the terminal's own exclusive mode).
    void oneHolderPerDevice_data() {
        QTest::addColumn<bool>("viaLink");
        QTest::addColumn<bool>("otherOpenedAndClosed");
        QTest::newRow("same name") << false << false;
        QTest::newRow("a symlink") << true << false;
        QTest::newRow("after another's close") << true << true;
    }
    void oneHolderPerDevice() {
        QFETCH(bool, viaLink);
        QFETCH(bool, otherOpenedAndClosed);
        Link holder;
        QVERIFY2(holder.pair.isReady(), qPrintable(holder.pair.error()));
        QCOMPARE(openAnswer(*holder.port), QString());
        const QString canonical = QFileInfo(holder.pair.near()).canonicalFilePath();
        if (otherOpenedAndClosed) {
            QSerialPort other(canonical);
            if (other.open(QIODevice::WriteOnly)) // as root; refused otherwise
                other.close();
        }
        QTemporaryDir dir;
        const QString name = viaLink ? dir.filePath("by-id") : holder.pair.near();
        if (viaLink)
            QVERIFY(QFile::link(canonical, name));
        QtSerialPort second(std::make_unique<FixedPortMapping>(QMap<int, QString>{{1, name}}));
        const QString failure = openAnswer(second);
        QVERIFY2(failure.contains("busy"), qPrintable(failure));
        QVERIFY(!second.output("/M12"));
        // The refused port's closing leaves the holder's line alone.
        second.close();
        QVERIFY(holder.port->output("/H07"));
        QCOMPARE(holder.pair.readFarWhileRunning(4), QByteArray("/H07"));
    }
};

QTEST_GUILESS_MAIN(TestQtSerialPort)
#include "tst_qtserialport.moc"
