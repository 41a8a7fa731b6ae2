// The panel right after start-up, checked point by point on the real window.

#include "panelharness.h"

#include "app/settingsdialogwindow.h"
#include "clock/datetimeentry.h"
#include "clocksync/clockcommands.h"
#include "clocksync/ticker.h"
#include "titles/titlecommands.h"

#include <QApplication>
#include <QCheckBox>
#include <QLocale>
#include <QRadioButton>

using namespace velk;
using namespace velk::test;

class TestStartup : public QObject {
    Q_OBJECT

private slots:
    void windowOpensOnDefaults() {
        PanelHarness h;
        QVERIFY2(h.pair.isReady(), qPrintable(h.pair.error()));
        h.panel.load();
        h.panel.window().show();
        QVERIFY(QTest::qWaitForWindowExposed(&h.panel.window()));

        QVERIFY(h.find<QRadioButton>("OpHour(1)")->isChecked());
        QVERIFY(!h.find<QRadioButton>("OpHour(0)")->isChecked());
        QVERIFY(!h.panel.core().clockCommands().twelveHourMode());

        QCOMPARE(h.combo("ComboAddress")->currentIndex(), 0);
        QCOMPARE(h.combo("ComboAddress")->currentText(), QString("Master"));
        QCOMPARE(h.edit("Text2")->text(), QString("Title String ..."));

        QCOMPARE(h.combo("ComboHR")->currentText(), QString("14"));
        QCOMPARE(h.combo("ComboMin")->currentText(), QString("05"));
        QCOMPARE(h.combo("ComboSec")->currentText(), QString("30"));
        QCOMPARE(h.combo("ComboMonth")->currentText(), QString("03"));
        QCOMPARE(h.combo("ComboYear")->currentText(), QString("07"));
        QCOMPARE(h.combo("ComboDay")->currentText(), QString("19"));
        QCOMPARE(h.combo("ComboDay")->count(), 31);

        QCOMPARE(h.edit("Text8")->text(), QString("14:05:30"));
        QCOMPARE(h.edit("Text9")->text(), QString("03-19-2007"));
        QVERIFY(!h.find<QCheckBox>("ChkSync")->isChecked());

        const QStringList panels = h.statusPanels();
        QCOMPARE(panels.size(), 3);
        QCOMPARE(panels[0], QString("Status"));
        QCOMPARE(panels[1], QString("Com :  Not Connected    "));
        QCOMPARE(panels[2], QLocale::system().toString(QDate(2007, 3, 19), QLocale::ShortFormat));

        // "CONNECT" lies over "Disconnect": it is the one an operator sees and clicks there.
        QAbstractButton* connect = h.button("CmdMenu(0)");
        QVERIFY(connect->isVisible());
        QVERIFY(h.button("CmdMenu(1)")->isVisible());
        QWidget* parent = connect->parentWidget();
        QWidget* hit = parent->childAt(connect->geometry().center());
        QVERIFY(hit == connect || connect->isAncestorOf(hit));

        QVERIFY(!h.panel.port().isOpen());
        QVERIFY(!h.panel.settingsDialog().dialog());
    }

    void startUpWritesNothing() {
        PanelHarness h;
        QVERIFY2(h.pair.isReady(), qPrintable(h.pair.error()));
        h.panel.load();
        h.panel.start();
        QVERIFY(!h.panel.port().isOpen());
        QCOMPARE(h.pair.drainFar(300), QByteArray());
    }

    void dayListFollowsTheStartDate_data() {
        QTest::addColumn<QDate>("date");
        QTest::addColumn<int>("list");
        QTest::addColumn<QString>("day");
        QTest::newRow("31-day month") << QDate(2007, 3, 19) << 3 << "19";
        QTest::newRow("30-day month") << QDate(2026, 4, 30) << 2 << "30";
        QTest::newRow("leap February") << QDate(2024, 2, 29) << 1 << "29";
        QTest::newRow("year 2000 is leap") << QDate(2000, 2, 29) << 1 << "29";
        QTest::newRow("common February") << QDate(2023, 2, 28) << 0 << "28";
    }
    void dayListFollowsTheStartDate() {
        QFETCH(QDate, date);
        QFETCH(int, list);
        QFETCH(QString, day);
        PanelHarness h;
        h.clock.set(QDateTime(date, QTime(0, 0, 0)));
        h.panel.load();
        QComboBox* days = h.combo("ComboDay");
        QVERIFY(days->isVisibleTo(&h.panel.window()));
        QCOMPARE(days->count(), 28 + list);
        QCOMPARE(days->currentText(), day);
        QCOMPARE(h.panel.core().entry().entryClock().day, day);
        QCOMPARE(h.combo("ComboHR")->currentIndex(), 0);
    }

    void masterKeepsTheDefaultTitle() {
        PanelHarness h;
        h.panel.load();
        h.pick("ComboAddress", 5);
        QCOMPARE(h.edit("Text2")->text(), QString("Title String ..."));
        QLineEdit* title = h.edit("Text2");
        title->selectAll();
        QTest::keyClicks(title, "FIVE");
        h.pick("ComboAddress", 0);
        QCOMPARE(title->text(), QString("Title String ..."));
        h.pick("ComboAddress", 5);
        QCOMPARE(title->text(), QString("FIVE"));
    }

    void firstTickComesAfterStartUp() {
        PanelHarness h;
        h.panel.load();
        h.clock.advance(1);
        h.panel.start();
        // Nothing ticks inside start-up: the display still shows the time start-up wrote.
        QCOMPARE(h.edit("Text8")->text(), QString("14:05:30"));
        QVERIFY(h.panel.core().ticker().isActive());
        // The ticker delivers each new second of the wall clock; this one stands still until told.
        h.clock.advance(1);
        QTRY_COMPARE(h.edit("Text8")->text(), QString("14:05:32"));
    }
};

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
