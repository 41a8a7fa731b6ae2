#include "ctl/servicehost.h"
#include "system/systemwallclockalarm.h"

#include <QtTest>

#include <windows.h>

using namespace velk;

// The service's control handler, called as the Service Control Manager would: Wine's manager
// sends no time changes or power events, so the handler is driven directly, with a real
// wall-clock alarm as the sync's minute wait.
class TestServiceHost : public QObject {
    Q_OBJECT

private slots:
    void acceptsTimeChangesAndPowerEvents() {
        const quint32 accepted = ServiceHost::acceptedControls();
        for (const quint32 control : {SERVICE_ACCEPT_STOP, SERVICE_ACCEPT_SHUTDOWN,
                                      SERVICE_ACCEPT_TIMECHANGE, SERVICE_ACCEPT_POWEREVENT})
            QVERIFY2(accepted & control, qPrintable(QString::number(control, 16)));
    }

    void controls_data() {
        QTest::addColumn<quint32>("control");
        QTest::addColumn<quint32>("eventType");
        QTest::addColumn<quint32>("answer");
        QTest::addColumn<bool>("stops");
        QTest::addColumn<bool>("steps"); // the minute wait is re-armed
        const quint32 ok = NO_ERROR;
        QTest::newRow("time change")
            << quint32(SERVICE_CONTROL_TIMECHANGE) << 0u << ok << false << true;
        QTest::newRow("resume") << quint32(SERVICE_CONTROL_POWEREVENT)
                                << quint32(PBT_APMRESUMEAUTOMATIC) << ok << false << true;
        QTest::newRow("resume by the user") << quint32(SERVICE_CONTROL_POWEREVENT)
                                            << quint32(PBT_APMRESUMESUSPEND) << ok << false << true;
        QTest::newRow("going to sleep") << quint32(SERVICE_CONTROL_POWEREVENT)
                                        << quint32(PBT_APMSUSPEND) << ok << false << false;
        QTest::newRow("stop") << quint32(SERVICE_CONTROL_STOP) << 0u << ok << true << false;
        QTest::newRow("shutdown") << quint32(SERVICE_CONTROL_SHUTDOWN) << 0u << ok << true << false;
        QTest::newRow("interrogate")
            << quint32(SERVICE_CONTROL_INTERROGATE) << 0u << ok << false << false;
        QTest::newRow("pause") << quint32(SERVICE_CONTROL_PAUSE) << 0u
                               << quint32(ERROR_CALL_NOT_IMPLEMENTED) << false << false;
    }
    void controls() {
        QFETCH(quint32, control);
        QFETCH(quint32, eventType);
        ServiceHost host(QStringLiteral("VELK-Pro sync COM1"));
        SystemWallClockAlarm alarm;
        int steps = 0;
        alarm.onStep([&steps] { ++steps; });
        alarm.armAt(QDateTime::currentMSecsSinceEpoch() + 60000);
        QSignalSpy stops(&host, &ServiceHost::stopRequested);
        quint32 answer = 0;
        // From another thread, as the manager's dispatcher calls it.
        const std::unique_ptr<QThread> caller(
            QThread::create([&] { answer = host.takeControl(control, eventType); }));
        caller->start();
        QVERIFY(caller->wait(5000));
        // What the handler queued for the event loop.
        QCoreApplication::sendPostedEvents();
        QTEST(answer, "answer");
        QTEST(stops.count() == 1, "stops");
        QTEST(steps == 1, "steps");
    }
};

QTEST_GUILESS_MAIN(TestServiceHost)
#include "tst_servicehost.moc"
