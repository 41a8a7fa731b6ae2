// The main window as drawn: names, places, captions, lists, start state and focus order.

#include "formprobe.h"
#include "ui/fontengine.h"
#include "ui/mainwindow.h"
#include "ui/qtstatusbar.h"

#include <QAbstractButton>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMenuBar>
#include <QSignalSpy>
#include <QStatusBar>
#include <QTest>
#include <QToolButton>

using namespace velk;
using namespace velk::test;

class TestMainWindow : public QObject {
    Q_OBJECT

private:
    QWidget* control(const MainWindow& window, const QString& name) {
        auto* widget = window.findChild<QWidget*>(name);
        if (!widget)
            qWarning("no control %s", qPrintable(name));
        return widget;
    }

private slots:
    void window() {
        MainWindow window;
        QCOMPARE(window.objectName(), QStringLiteral("VELK"));
        QCOMPARE(window.windowTitle(), QStringLiteral("VELK-PRO"));
        QCOMPARE(window.size(), QSize(585, 473));
        QCOMPARE(window.minimumSize(), window.maximumSize());
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMinimizeButtonHint));
        QVERIFY(!window.windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
        QVERIFY(!window.findChild<QMenuBar*>());
        // The icon follows the first frame.
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QTRY_VERIFY(!window.windowIcon().isNull());
        QVERIFY(window.windowIcon().availableSizes().contains(QSize(32, 32)));
    }

    void geometry_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QRect>("twips");
        const QList<QPair<const char*, QRect>> rows = {
            {"PicLogo(0)", QRect(120, 120, 4185, 1815)},
            {"Label12(0)", QRect(4470, 240, 3960, 690)},
            {"Label8", QRect(5160, 240, 2580, 525)},
            {"Label12(1)", QRect(4800, 480, 3630, 330)},
            {"Label3", QRect(7800, 480, 555, 270)},
            {"Picture1", QRect(8400, 120, 390, 420)},
            {"CmdMenu(0)", QRect(4560, 960, 1095, 975)},
            {"CmdMenu(1)", QRect(5760, 960, 1095, 975)},
            {"CmdMenu(2)", QRect(4560, 960, 1095, 975)},
            {"Frame1", QRect(120, 2040, 4215, 2415)},
            {"Label1(0)", QRect(360, 2520, 780, 195)},
            {"ComboAddress", QRect(360, 2760, 1095, 315)},
            {"Label2", QRect(360, 3120, 450, 195)},
            {"Text2", QRect(360, 3360, 2895, 360)},
            {"Command1", QRect(360, 3840, 1095, 375)},
            {"Command2", QRect(1560, 3840, 1095, 375)},
            {"Picture2(0)", QRect(3480, 2280, 735, 735)},
            {"Frame2", QRect(4560, 2040, 4095, 3975)},
            {"Frame4(0)", QRect(4800, 2400, 2775, 975)},
            {"ComboDay", QRect(5040, 2760, 615, 315)},
            {"Label43", QRect(5640, 2760, 135, 375)},
            {"ComboMonth", QRect(5880, 2760, 615, 315)},
            {"Label4(2)", QRect(6480, 2760, 135, 375)},
            {"ComboYear", QRect(6720, 2760, 615, 315)},
            {"Frame4(1)", QRect(4800, 3600, 2775, 975)},
            {"ComboHR", QRect(5040, 3960, 615, 315)},
            {"Label44", QRect(5700, 3960, 135, 345)},
            {"ComboMin", QRect(5880, 3960, 615, 315)},
            {"Label1(2)", QRect(6540, 3960, 135, 345)},
            {"ComboSec", QRect(6720, 3960, 615, 315)},
            {"Command3", QRect(4800, 4800, 1350, 495)},
            {"Command4", QRect(6240, 4800, 1335, 495)},
            {"Picture2(1)", QRect(7800, 2240, 735, 735)},
            {"Frame3", QRect(120, 4560, 4215, 1455)},
            {"ChkSync", QRect(360, 4920, 255, 255)},
            {"Label9", QRect(720, 4920, 1215, 255)},
            {"Label10", QRect(2040, 4920, 495, 255)},
            {"Text8", QRect(2040, 5160, 1095, 375)},
            {"Label11", QRect(3240, 4920, 375, 255)},
            {"Text9", QRect(3240, 5160, 975, 375)},
            {"OpHour(0)", QRect(360, 5340, 975, 195)},
            {"OpHour(1)", QRect(360, 5640, 975, 195)},
            {"PicLogo(1)", QRect(3120, 6000, 5535, 700)},
            {"StatusBar1", QRect(0, 6720, 8775, 375)},
        };
        for (const auto& row : rows)
            QTest::newRow(row.first) << QString::fromLatin1(row.first) << row.second;
    }
    void geometry() {
        QFETCH(QString, name);
        QFETCH(QRect, twips);
        MainWindow window;
        QWidget* widget = control(window, name);
        QVERIFY(widget);
        const QRect expected = twipsRect(twips);
        QCOMPARE(windowRect(&window, widget), expected);
    }

    // Positions are drawn in twips and rounded to the nearest pixel.
    void twipsRounding_data() {
        QTest::addColumn<int>("twips");
        QTest::addColumn<int>("pixels");
        QTest::newRow("zero") << 0 << 0;
        QTest::newRow("just under half a pixel") << 7 << 0;
        QTest::newRow("half a pixel rounds up") << 8 << 1;
        QTest::newRow("one pixel") << 15 << 1;
        QTest::newRow("window width") << 8775 << 585;
    }
    void twipsRounding() {
        QFETCH(int, twips);
        QTEST(velk::twipsToPixels(twips), "pixels");
    }

    void versionCaption_data() {
        QTest::addColumn<QString>("version");
        QTest::addColumn<QString>("caption");
        QTest::newRow("the first release") << "1.0.0"
                                           << "V 1.0";
        QTest::newRow("a fix names no third part") << "1.0.7"
                                                   << "V 1.0";
        QTest::newRow("two-digit minor") << "2.13.1"
                                         << "V 2.13";
        QTest::newRow("no patch number") << "3.1"
                                         << "V 3.1";
    }
    void versionCaption() {
        QFETCH(QString, version);
        QTEST(velk::MainWindow::versionCaption(version), "caption");
    }

    void captions_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("text");
        const QList<QPair<const char*, const char*>> rows = {
            {"Label12(0)", "____________"},
            {"Label12(1)", "______________________"},
            {"Label8", "VELK - Pro"},
            {"Label3", "V 1.0"},
            {"CmdMenu(0)", "CONNECT"},
            {"CmdMenu(1)", "SETTING"},
            {"CmdMenu(2)", "Disconnect"},
            {"Frame1", "TITLE"},
            {"Label1(0)", "ADDRESS"},
            {"Label2", "TITLE"},
            {"Command1", "C&lear"},
            {"Command2", "Se&nd"},
            {"Frame2", "TIME && DATE"},
            {"Frame4(0)", "Date DD/MM/YY"},
            {"Frame4(1)", "Time HH:MM:SS"},
            {"Label43", "/"},
            {"Label4(2)", "/"},
            {"Label44", ":"},
            {"Label1(2)", ":"},
            {"Command3", "&Set Time"},
            {"Command4", "&Update Time"},
            {"Frame3", "SYSTEM TIME && DATE"},
            {"ChkSync", ""},
            {"Label9", "Sync Time Date"},
            {"Label10", "Time"},
            {"Label11", "Date"},
            {"OpHour(0)", "  12 Hour"},
            {"OpHour(1)", "  24 Hour"},
        };
        for (const auto& row : rows)
            QTest::newRow(row.first)
                << QString::fromLatin1(row.first) << QString::fromLatin1(row.second);
    }
    void captions() {
        QFETCH(QString, name);
        QFETCH(QString, text);
        MainWindow window;
        QWidget* widget = control(window, name);
        QVERIFY(widget);
        QCOMPARE(captionOf(widget), text);
    }

    void lists_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        QTest::addColumn<QString>("last");
        QTest::newRow("address") << "ComboAddress" << 255 << "Master"
                                 << "254";
        QTest::newRow("days") << "ComboDay" << 31 << "01"
                              << "31";
        QTest::newRow("month") << "ComboMonth" << 12 << "01"
                               << "12";
        QTest::newRow("year") << "ComboYear" << 100 << "00"
                              << "99";
        QTest::newRow("hour") << "ComboHR" << 24 << "00"
                              << "23";
        QTest::newRow("minute") << "ComboMin" << 60 << "00"
                                << "59";
        QTest::newRow("second") << "ComboSec" << 60 << "00"
                                << "59";
    }
    void lists() {
        QFETCH(QString, name);
        QFETCH(int, count);
        QFETCH(QString, first);
        QFETCH(QString, last);
        MainWindow window;
        auto* combo = window.findChild<QComboBox*>(name);
        QVERIFY(combo);
        QCOMPARE(combo->count(), count);
        QCOMPARE(combo->itemText(0), first);
        QCOMPARE(combo->itemText(count - 1), last);
        QVERIFY(combo->isEditable());
        QCOMPARE(combo->currentText(), QString()); // empty until an entry is selected
    }

    void addressIndexIsAddress() {
        MainWindow window;
        Selector& address = window.controls().address;
        QCOMPARE(address.entry(0), QStringLiteral("Master"));
        for (int index = 1; index <= 254; ++index)
            QCOMPARE(address.entry(index), QString::number(index));
    }

    void controlsReachTheirWidgets() {
        MainWindow window;
        MainWindowControls& controls = window.controls();
        QCOMPARE(controls.title.maxLength(), 20);
        QCOMPARE(controls.month.count(), 12);
        QCOMPARE(controls.hour.count(), 24);
        QCOMPARE(controls.minute.count(), 60);
        QCOMPARE(controls.second.count(), 60);
        QCOMPARE(controls.year.count(), 100);
        for (int index = 0; index < 4; ++index)
            QCOMPARE(controls.day[index]->count(), 28 + index);
        QCOMPARE(controls.hourMode.count(), 2);

        controls.day[3]->setVisible(false);
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("ComboDay"))->isHidden());
        controls.menu[0]->setVisible(false);
        QVERIFY(window.findChild<QWidget*>(QStringLiteral("CmdMenu(0)"))->isHidden());
        controls.timeDisplay.setText(QStringLiteral("13:45:07"));
        QCOMPARE(window.findChild<QLineEdit*>(QStringLiteral("Text8"))->text(),
                 QStringLiteral("13:45:07"));
        controls.hourMode.select(1);
        QVERIFY(window.findChild<QAbstractButton*>(QStringLiteral("OpHour(1)"))->isChecked());
        controls.sync.setChecked(true);
        QVERIFY(window.findChild<QAbstractButton*>(QStringLiteral("ChkSync"))->isChecked());
    }

    // The four day lists are one field: the list shown has it, a hidden list keeps its own pick.
    void dayListsShareOneField() {
        MainWindow window;
        MainWindowControls& controls = window.controls();
        QCOMPARE(window.findChildren<QComboBox*>().size(), 7); // address, date and time
        auto* field = window.findChild<QComboBox*>(QStringLiteral("ComboDay"));
        QList<int> clicked;
        for (int list = 0; list < 4; ++list)
            controls.day[list]->onClick([&clicked, list] { clicked << list; });

        QVERIFY(controls.day[3]->isVisible());
        QVERIFY(controls.day[0]->setListIndex(27)); // hidden: the field stays as it is
        QCOMPARE(clicked, QList<int>{0});
        QCOMPARE(controls.day[0]->text(), QStringLiteral("28"));
        QCOMPARE(field->count(), 31);
        QCOMPARE(field->currentIndex(), -1);

        controls.day[0]->setVisible(true);
        QVERIFY(!controls.day[3]->isVisible());
        QCOMPARE(field->count(), 28);
        QCOMPARE(field->currentText(), QStringLiteral("28"));
        field->setCurrentIndex(4); // the operator's pick reaches the list shown only
        emit field->activated(4);
        QCOMPARE(clicked, (QList<int>{0, 0}));
        QCOMPARE(controls.day[0]->listIndex(), 4);

        controls.day[3]->setVisible(true);
        QCOMPARE(field->count(), 31);
        QCOMPARE(field->currentIndex(), -1);
        QCOMPARE(controls.day[0]->text(), QStringLiteral("05"));
        QVERIFY(!field->isHidden());
    }

    void displaysAndSecondsAreLocked() {
        MainWindow window;
        QVERIFY(window.findChild<QLineEdit*>(QStringLiteral("Text8"))->isReadOnly());
        QVERIFY(window.findChild<QLineEdit*>(QStringLiteral("Text9"))->isReadOnly());
        QVERIFY(!window.findChild<QLineEdit*>(QStringLiteral("Text2"))->isReadOnly());
        QVERIFY(window.findChild<QComboBox*>(QStringLiteral("ComboSec"))->lineEdit()->isReadOnly());
        QVERIFY(
            !window.findChild<QComboBox*>(QStringLiteral("ComboMin"))->lineEdit()->isReadOnly());
    }

    void statusBarStartsWithStatusAndDate() {
        MainWindow window;
        StatusBar& bar = window.controls().statusBar;
        QCOMPARE(bar.panelCount(), 2);
        QCOMPARE(bar.panelText(1), QStringLiteral("Status"));
        QCOMPARE(bar.panelText(2),
                 QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat));
        auto& qtBar = static_cast<QtStatusBar&>(bar);
        QCOMPARE(qtBar.panel(2)->width(), twipsToPixels(1440));
        QVERIFY(qtBar.panel(1)->maximumWidth() == twipsToPixels(7035));
    }

    void connectCoversDisconnect() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QWidget* connect = control(window, QStringLiteral("CmdMenu(0)"));
        QWidget* disconnect = control(window, QStringLiteral("CmdMenu(2)"));
        QVERIFY(connect->isVisible());
        QVERIFY(disconnect->isVisible());
        const QPoint middle = windowRect(&window, connect).center();
        QCOMPARE(window.childAt(middle), connect);
        window.controls().menu[0]->setVisible(false);
        QCOMPARE(window.childAt(middle), disconnect);
    }

    void picturesAndPointer_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QSize>("size");
        QTest::newRow("logo") << "PicLogo(0)" << QSize(280, 120);
        QTest::newRow("banner") << "PicLogo(1)" << QSize(372, 51);
        QTest::newRow("small") << "Picture1" << QSize(26, 28);
        QTest::newRow("title") << "Picture2(0)" << QSize(48, 48);
        QTest::newRow("clock") << "Picture2(1)" << QSize(48, 48);
    }
    void picturesAndPointer() {
        QFETCH(QString, name);
        QFETCH(QSize, size);
        MainWindow window;
        auto* picture = window.findChild<QLabel*>(name);
        QVERIFY(picture);
        const QPixmap pixmap = picture->pixmap();
        QVERIFY(!pixmap.isNull());
        QCOMPARE(pixmap.deviceIndependentSize().toSize(), size);
        QCOMPARE(picture->frameShape(), QFrame::NoFrame);
    }

    void commandButtonsShowHand() {
        MainWindow window;
        const QStringList buttons = {"CmdMenu(0)", "CmdMenu(1)", "CmdMenu(2)", "Command1",
                                     "Command2",   "Command3",   "Command4"};
        for (const QString& name : buttons) {
            QWidget* button = control(window, name);
            QVERIFY(button);
            QCOMPARE(button->cursor().shape(), Qt::BitmapCursor);
        }
        auto* menu = window.findChild<QToolButton*>(QStringLiteral("CmdMenu(0)"));
        QCOMPARE(menu->iconSize(), QSize(48, 48));
        QCOMPARE(menu->toolButtonStyle(), Qt::ToolButtonTextUnderIcon);
        QVERIFY(!menu->icon().isNull());
    }

    void focusOrder() {
        MainWindow window;
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QCOMPARE(owningName(QApplication::focusWidget()), QStringLiteral("Text2"));

        const QStringList expected = {"Text2",      "Command1",     "Command2",   "Command4",
                                      "ChkSync",    "Text8",        "Text9",      "CmdMenu(0)",
                                      "CmdMenu(1)", "ComboAddress", "CmdMenu(2)", "ComboDay",
                                      "ComboMonth", "ComboYear",    "ComboHR",    "ComboMin",
                                      "ComboSec",   "Command3",     "OpHour(0)",  "Text2"};
        QCOMPARE(tabWalk(int(expected.size()) - 1), expected);
    }

    void returnClicksTheFocusedButton_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("key");
        QTest::addColumn<int>("modifiers");
        for (const char* name : {"CmdMenu(0)", "CmdMenu(1)", "CmdMenu(2)", "Command1", "Command2",
                                 "Command3", "Command4"}) {
            QTest::addRow("%s, Return", name)
                << QString::fromLatin1(name) << int(Qt::Key_Return) << int(Qt::NoModifier);
            QTest::addRow("%s, keypad Enter", name)
                << QString::fromLatin1(name) << int(Qt::Key_Enter) << int(Qt::KeypadModifier);
        }
    }
    void returnClicksTheFocusedButton() {
        QFETCH(QString, name);
        QFETCH(int, key);
        QFETCH(int, modifiers);
        MainWindow window;
        window.show();
        auto* button = window.findChild<QAbstractButton*>(name);
        QVERIFY(button);
        button->setFocus();
        QSignalSpy clicked(button, &QAbstractButton::clicked);
        QTest::keyClick(button, Qt::Key(key), Qt::KeyboardModifiers(modifiers));
        QCOMPARE(clicked.count(), 1);
        QTest::keyClick(button, Qt::Key(key), Qt::ControlModifier);
        QCOMPARE(clicked.count(), 1);
    }

    void closingTellsTheProgram() {
        MainWindow window;
        QSignalSpy closed(&window, &MainWindow::closed);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QVERIFY(window.close());
        QCOMPARE(closed.count(), 1);
    }

    // The drop-downs are built when they first open, and take their field's name then.
    void dropDownsWaitUntilOpened() {
        MainWindow window;
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        // A font of its own builds a combo box's drop-down at once (the address's, under its
        // frame's bold caption font); the others wait.
        for (const char* name :
             {"ComboDay", "ComboMonth", "ComboYear", "ComboHR", "ComboMin", "ComboSec"}) {
            auto* selector = window.findChild<QComboBox*>(name);
            QVERIFY2(selector && !selector->findChild<QAbstractItemView*>(), name);
        }
        auto* address = window.findChild<QComboBox*>(QStringLiteral("ComboAddress"));
        address->showPopup();
        QCOMPARE(address->view()->accessibleName(), QStringLiteral("ADDRESS"));
        address->hidePopup();
    }

    void hiddenControlsAreSkipped() {
        MainWindow window;
        window.controls().day[3]->setVisible(false);
        window.show();
        QApplication::setActiveWindow(&window);
        QVERIFY(QTest::qWaitForWindowActive(&window));
        window.findChild<QWidget*>(QStringLiteral("CmdMenu(2)"))->setFocus();
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(owningName(QApplication::focusWidget()), QStringLiteral("ComboMonth"));
    }

    // The tests themselves run on a plugin picked this way, under Wine as well.
    void platformChoiceOfTheUserIsKept_data() {
        QTest::addColumn<QByteArray>("requested");
        for (const char* requested : {"offscreen", "minimal", "xcb", "windows",
                                      "windows:fontengine=gdi", "windows:dpiawareness=0"})
            QTest::newRow(requested) << QByteArray(requested);
    }

    void platformChoiceOfTheUserIsKept() {
        QFETCH(QByteArray, requested);
        QCOMPARE(platformRequest(requested), requested);
    }

    void unchosenPlatformDrawsWithFreeType() {
        const QByteArray chosen = platformRequest({});
        // Left to the desktop's own default, or a FreeType engine asked for by name.
        QVERIFY2(chosen.isEmpty() || chosen.endsWith(":fontengine=freetype"), chosen.constData());
    }
};

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
