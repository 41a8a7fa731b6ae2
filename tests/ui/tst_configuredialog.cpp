// The port settings dialog as drawn, and how it goes away.

#include "formprobe.h"
#include "ui/configuredialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSignalSpy>
#include <QTest>

using namespace velk;

using namespace velk::test;

namespace {

// Controls inside the frame are drawn relative to it; the frame stands at 120, 120.
QRect inFrame(int left, int top, int width, int height) {
    return QRect(120 + left, 120 + top, width, height);
}

std::array<QStringList, 5> dialogEntries() {
    QStringList ports;
    for (int port = 1; port <= 16; ++port)
        ports << QStringLiteral("Comport %1").arg(port);
    return {QStringList{"1200", "2400", "4800", "9600", "14400", "19200", "28800", "38400"},
            QStringList{"5", "6", "7", "8"}, QStringList{"Even", "Odd", "None"},
            QStringList{"1", "2"}, ports};
}

} // namespace

class TestConfigureDialog : public QObject {
    Q_OBJECT

private slots:
    void dialog() {
        ConfigureDialog dialog(dialogEntries());
        QCOMPARE(dialog.objectName(), QStringLiteral("frmConfigure"));
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuration"));
        QCOMPARE(dialog.size(), QSize(303, 320));
        QCOMPARE(dialog.minimumSize(), dialog.maximumSize());
        QVERIFY(!dialog.isModal());
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!dialog.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QCOMPARE(dialog.palette().color(QPalette::Window), QColor(Qt::white));
        QVERIFY(!dialog.windowIcon().isNull());
    }

    void layout_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QRect>("twips");
        QTest::newRow("frame") << "FramePortSet"
                               << "- Port Setting -" << QRect(120, 120, 4335, 3975);
        QTest::newRow("port label") << "Label1(4)"
                                    << "Connect Port :" << inFrame(360, 480, 1365, 240);
        QTest::newRow("baud label") << "Label1(0)"
                                    << "Bit per Second :" << inFrame(360, 960, 1545, 240);
        QTest::newRow("data label") << "Label1(1)"
                                    << "Data Bits :" << inFrame(360, 1440, 975, 240);
        QTest::newRow("parity label") << "Label1(2)"
                                      << "Parity :" << inFrame(360, 1920, 705, 240);
        QTest::newRow("stop label") << "Label1(3)"
                                    << "Stop Bit :" << inFrame(360, 2400, 885, 240);
        QTest::newRow("restore") << "cmdRestoreDef"
                                 << "Restore Defaults" << inFrame(2160, 3000, 1935, 495);
        QTest::newRow("ok") << "cmdOk"
                            << "Ok" << QRect(1800, 4320, 1215, 375);
        QTest::newRow("cancel") << "cmdCancel"
                                << "Cancel" << QRect(3240, 4320, 1215, 375);
        QTest::newRow("picture") << "Picture1"
                                 << "" << inFrame(360, 2760, 735, 735);
    }
    void layout() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        QFETCH(QRect, twips);
        ConfigureDialog dialog(dialogEntries());
        auto* widget = dialog.findChild<QWidget*>(name);
        QVERIFY(widget);
        QCOMPARE(windowRect(&dialog, widget), twipsRect(twips));
        QCOMPARE(captionOf(widget), text);
    }

    void selectors_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("top");
        QTest::newRow("baud") << 0 << 960;
        QTest::newRow("data bits") << 1 << 1440;
        QTest::newRow("parity") << 2 << 1920;
        QTest::newRow("stop bits") << 3 << 2400;
        QTest::newRow("port") << 4 << 480;
    }
    void selectors() {
        QFETCH(int, index);
        QFETCH(int, top);
        const QStringList entries = dialogEntries()[index];
        ConfigureDialog dialog(dialogEntries());
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("Combo_Config(%1)").arg(index));
        QVERIFY(combo);
        QCOMPARE(windowRect(&dialog, combo), twipsRect(inFrame(2400, top, 1575, 315)));
        QCOMPARE(combo->font().pointSizeF(), 8.25);
        Selector& selector = dialog.config(index);
        QCOMPARE(selector.count(), int(entries.size()));
        for (int entry = 0; entry < entries.size(); ++entry)
            QCOMPARE(selector.entry(entry), entries.at(entry));
        QCOMPARE(selector.listIndex(), -1);
    }

    void buttonsReachHandlersAndShowHand() {
        ConfigureDialog dialog(dialogEntries());
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QStringList clicked;
        dialog.ok().onClick([&clicked] { clicked << QStringLiteral("ok"); });
        dialog.cancel().onClick([&clicked] { clicked << QStringLiteral("cancel"); });
        dialog.restoreDefaults().onClick([&clicked] { clicked << QStringLiteral("restore"); });
        for (const char* name : {"cmdRestoreDef", "cmdOk", "cmdCancel"}) {
            auto* button = dialog.findChild<QAbstractButton*>(QLatin1String(name));
            QCOMPARE(button->cursor().shape(), Qt::BitmapCursor);
            QTest::mouseClick(button, Qt::LeftButton);
        }
        QCOMPARE(clicked, (QStringList{"restore", "ok", "cancel"}));
    }

    void focusOrder() {
        ConfigureDialog dialog(dialogEntries());
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        const QStringList expected = {"cmdRestoreDef",   "Combo_Config(0)", "Combo_Config(1)",
                                      "Combo_Config(2)", "Combo_Config(3)", "cmdOk",
                                      "cmdCancel",       "Combo_Config(4)", "cmdRestoreDef"};
        QCOMPARE(tabWalk(int(expected.size()) - 1), expected);
    }

    void escapeHidesAndKeeps() {
        ConfigureDialog dialog(dialogEntries());
        QSignalSpy discarded(&dialog, &ConfigureDialog::discarded);
        dialog.show();
        QApplication::setActiveWindow(&dialog);
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QVERIFY(dialog.isHidden());
        QCOMPARE(discarded.count(), 0);
    }

    void hideDoesNotDiscard() {
        ConfigureDialog dialog(dialogEntries());
        QSignalSpy discarded(&dialog, &ConfigureDialog::discarded);
        dialog.show();
        dialog.hide();
        QCOMPARE(discarded.count(), 0);
    }

    void closeControlDiscards() {
        ConfigureDialog dialog(dialogEntries());
        QSignalSpy discarded(&dialog, &ConfigureDialog::discarded);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        QVERIFY(dialog.close());
        QVERIFY(dialog.isHidden());
        QCOMPARE(discarded.count(), 1);
    }
};

QTEST_MAIN(TestConfigureDialog)
#include "tst_configuredialog.moc"
