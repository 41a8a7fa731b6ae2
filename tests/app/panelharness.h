#pragma once

// Drives the whole panel as an operator would: the real window (offscreen), the real
// QSerialPort-backed port mapped to a socat pseudo-terminal, and a test clock.

#include "app/panel.h"
#include "doubles/fakeclock.h"
#include "doubles/fixedportmapping.h"
#include "port/qtserialport.h"
#include "support/ptypair.h"
#include "ui/mainwindow.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

namespace velk::test {

struct PanelHarness {
    PtyPair pair;
    FakeClock clock{QDateTime(QDate(2007, 3, 19), QTime(14, 5, 30))};
    Panel panel{std::make_unique<QtSerialPort>(
                    std::make_unique<FixedPortMapping>(QMap<int, QString>{{1, pair.near()}})),
                clock};

    template <typename T = QWidget> T* find(const QString& name) {
        return panel.window().findChild<T*>(name);
    }
    QAbstractButton* button(const QString& name) { return find<QAbstractButton>(name); }
    QComboBox* combo(const QString& name) { return find<QComboBox>(name); }
    QLineEdit* edit(const QString& name) { return find<QLineEdit>(name); }

    void click(const QString& name) {
        QAbstractButton* target = button(name);
        QVERIFY2(target, qPrintable(name));
        QVERIFY2(target->isVisible(), qPrintable(name + " is not showing"));
        QTest::mouseClick(target, Qt::LeftButton);
    }
    // An operator's pick from the list, as the drop-down delivers it.
    void pick(const QString& name, int index) {
        QComboBox* target = combo(name);
        QVERIFY2(target, qPrintable(name));
        target->setCurrentIndex(index);
        emit target->activated(index);
    }
    // The texts of the status bar's panels, left to right.
    QStringList statusPanels() {
        QStringList texts;
        StatusBar& bar = panel.window().controls().statusBar;
        for (int position = 1; position <= bar.panelCount(); ++position)
            texts << bar.panelText(position);
        return texts;
    }
    // What reached the far end of the line; the port writes from the event loop.
    QByteArray readLine(int count) { return pair.readFarWhileRunning(count); }
};

} // namespace velk::test
