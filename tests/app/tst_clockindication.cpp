#include "app/memorypanel.h"
#include "clocksync/clockstatewatch.h"

#include <QtTest>

using namespace velk;
using velk::test::MemoryPanel;

Q_DECLARE_METATYPE(velk::ClockState::Sync)

// The PC clock's state beside the PC time: the time display's tooltip always, the status bar's
// first panel only while the sync is on and the clock is not synchronised; never a box.
class TestClockIndication : public QObject {
    Q_OBJECT

private slots:
    void shownAtAGlance_data() {
        QTest::addColumn<ClockState::Sync>("sync");
        QTest::addColumn<bool>("syncTicked");
        QTest::addColumn<QString>("firstPanel");
        QTest::addColumn<QString>("toolTip");
        const QString status = QStringLiteral("Status");
        QTest::newRow("synchronised")
            << ClockState::Sync::Synchronised << true << status
            << "PC clock: synchronised, estimated error 40 µs (maxerror 9 ms)";
        QTest::newRow("not synchronised, sync on")
            << ClockState::Sync::NotSynchronised << true << kClockNotSynchronisedNote
            << "PC clock: not synchronised (maxerror 9 ms)";
        QTest::newRow("not synchronised, sync off")
            << ClockState::Sync::NotSynchronised << false << status
            << "PC clock: not synchronised (maxerror 9 ms)";
        QTest::newRow("unknown, sync on")
            << ClockState::Sync::Unknown << true << status << "PC clock: unknown (maxerror 9 ms)";
    }
    void shownAtAGlance() {
        QFETCH(ClockState::Sync, sync);
        QFETCH(bool, syncTicked);
        QFETCH(QString, firstPanel);
        QFETCH(QString, toolTip);
        MemoryPanel panel(QDateTime(QDate(2026, 12, 7), QTime(22, 39, 30)));
        panel.clockState.set(sync, 40, QStringLiteral("maxerror 9 ms"));
        panel.sync.setChecked(syncTicked);
        panel.clock.advance(1);
        panel.tick();
        QCOMPARE(panel.statusBar.panelText(1), firstPanel);
        QCOMPARE(panel.timeDisplay.toolTip(), toolTip);
        QCOMPARE(panel.messages.shown().size(), std::size_t(0));

        // Synchronised again, the panel's own text is back.
        panel.clockState.set(ClockState::Sync::Synchronised, 40);
        panel.clock.advance(1);
        panel.tick();
        QCOMPARE(panel.statusBar.panelText(1), status());
    }

    // The group is on the port before the time display shows the new minute; one the line does
    // not take is withdrawn a second later, told in the status bar, and never arrives.
    void theGroupGoesFirstAndNeverLate() {
        MemoryPanel panel(QDateTime(QDate(2026, 12, 7), QTime(22, 39, 59)));
        panel.sync.setChecked(true);
        panel.tick();
        panel.port.open();
        panel.port.stall();
        qint64 pendingWhenShown = 0;
        panel.timeDisplay.onChange([&] { pendingWhenShown = panel.port.pendingBytes(); });
        panel.clock.advance(1);
        panel.tick();
        QCOMPARE(panel.timeDisplay.text(), QStringLiteral("22:40:00"));
        QCOMPARE(pendingWhenShown, qint64(20));
        QTest::ignoreMessage(QtWarningMsg, "the line stopped taking data");
        QTest::ignoreMessage(QtWarningMsg,
                             "the line is not taking data; the 22:40 group was dropped");
        panel.clock.advance(1);
        panel.tick();
        QCOMPARE(panel.statusBar.panelText(1),
                 QStringLiteral("The line is not taking data; the 22:40 group was dropped."));
        panel.port.resume();
        QCOMPARE(panel.port.written(), QByteArray());
        QCOMPARE(panel.messages.shown().size(), std::size_t(0));
    }

private:
    static QString status() { return QStringLiteral("Status"); }
};

QTEST_GUILESS_MAIN(TestClockIndication)
#include "tst_clockindication.moc"
