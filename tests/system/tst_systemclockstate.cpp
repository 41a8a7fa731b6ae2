#include "controls/clockstatetext.h"
#include "system/systemclockstate.h"

#include <QtTest>

Q_DECLARE_METATYPE(velk::ClockState)

using namespace velk;

class TestSystemClockState : public QObject {
    Q_OBJECT

private slots:
    // The kernel's verdict from its maximum error alone, at the 16 s line, and the one-line text
    // for each of the three states.
    void statesAndTheirTexts_data() {
        QTest::addColumn<ClockState>("state");
        QTest::addColumn<QString>("line");
        QTest::newRow("synchronised")
            << SystemClockState::fromKernel(250'000, 1'234)
            << "PC clock: synchronised, estimated error 1.23 ms (maxerror 250 ms)";
        QTest::newRow("just under 16 s") << SystemClockState::fromKernel(15'999'999, 12)
                                         << "PC clock: synchronised, estimated error 12 µs "
                                            "(maxerror 16 s)";
        QTest::newRow("16 s: no time service for a while")
            << SystemClockState::fromKernel(16'000'000, 0)
            << "PC clock: not synchronised (maxerror 16 s)";
        QTest::newRow("unknown") << ClockState{ClockState::Sync::Unknown,
                                               {},
                                               "w32time cannot be read"}
                                 << "PC clock: unknown (w32time cannot be read)";
    }
    void statesAndTheirTexts() {
        QFETCH(ClockState, state);
        QFETCH(QString, line);
        QCOMPARE(clockStateLine(state), line);
    }
};

QTEST_GUILESS_MAIN(TestSystemClockState)
#include "tst_systemclockstate.moc"
