#include "ui/mainwindow.h"

#include "ui/artwork.h"
#include "ui/closerequestfilter.h"
#include "ui/formbuilder.h"
#include "ui/look.h"
#include "ui/qtbutton.h"
#include "ui/qtcheckbox.h"
#include "ui/qtdaylists.h"
#include "ui/qtmessagebox.h"
#include "ui/qtoptiongroup.h"
#include "ui/qtselector.h"
#include "ui/qtstatusbar.h"
#include "ui/qttextbox.h"
#include "ui/returnclick.h"
#include "ui/twips.h"
#include "wire/frames.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QDate>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTimer>
#include <QToolButton>
#include <QVersionNumber>

namespace velk {

namespace {

QFont frameCaptionFont() {
    return makeFont(Face::Arial, 9.75, true);
}

QFont separatorFont() {
    return makeFont(Face::Tahoma, 14.25, true);
}

} // namespace

MainWindow::MainWindow(QWidget* parent)
    : QWidget(parent), m_closeRequests(std::make_unique<CloseRequestFilter>(*this)) {
    setObjectName(QStringLiteral("VELK"));
    setWindowTitle(QStringLiteral("VELK-PRO"));
    // A fixed dialog-style frame: close only, no minimise or maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(twipsToPixels(8775), twipsToPixels(7095));
    setFont(standardFont());
    fillBackground(this, palette().color(QPalette::Base));

    const FormBuilder form(this);
    buildHeader(form);
    buildTitleFrame(form);
    buildTimeFrame(form);
    buildSystemFrame(form);
    buildBottom(form);
    setFocusOrder();
    nameForScreenReaders();
    watchReturnKey();
    m_messageBox = std::make_unique<QtMessageBox>(this);
    gatherControls();
}

void MainWindow::nameForScreenReaders() {
    // Each selector and text box as the label it stands under, or its group's own words; the
    // check box as its caption. Buttons are named by their captions already.
    FormBuilder::nameForScreenReaders(
        this, {{QStringLiteral("ComboAddress"), QStringLiteral("ADDRESS")},
               {QStringLiteral("Text2"), QStringLiteral("TITLE")},
               {elementName("Frame4", 0), QStringLiteral("Date DD/MM/YY")},
               {elementName("Frame4", 1), QStringLiteral("Time HH:MM:SS")},
               {QStringLiteral("ChkSync"), QStringLiteral("Sync Time Date")},
               {QStringLiteral("Text8"), QStringLiteral("Time")},
               {QStringLiteral("Text9"), QStringLiteral("Date")},
               {elementName("OpHour", 0), QStringLiteral("12 Hour")},
               {elementName("OpHour", 1), QStringLiteral("24 Hour")},
               {QStringLiteral("StatusBar1"), QStringLiteral("Status")}});
    // The six date and time fields share their group's label, and on Linux a screen reader
    // names an editable field by its value: each one's own word goes into its description.
    FormBuilder::nameFields(this, {{QStringLiteral("ComboDay"), QStringLiteral("Day")},
                                   {QStringLiteral("ComboMonth"), QStringLiteral("Month")},
                                   {QStringLiteral("ComboYear"), QStringLiteral("Year")},
                                   {QStringLiteral("ComboHR"), QStringLiteral("Hour")},
                                   {QStringLiteral("ComboMin"), QStringLiteral("Minute")},
                                   {QStringLiteral("ComboSec"), QStringLiteral("Second")}});
    FormBuilder::tieLabels(this, {{elementName("Label1", 0), QStringLiteral("ComboAddress")},
                                  {QStringLiteral("Label2"), QStringLiteral("Text2")},
                                  {QStringLiteral("Label9"), QStringLiteral("ChkSync")},
                                  {QStringLiteral("Label10"), QStringLiteral("Text8")},
                                  {QStringLiteral("Label11"), QStringLiteral("Text9")}});
}

void MainWindow::watchReturnKey() {
    auto* returnClick = new ReturnClick(this);
    for (QAbstractButton* button : findChildren<QAbstractButton*>()) {
        // Command buttons only: Return must not toggle the sync box or the hour mode.
        if (qobject_cast<QPushButton*>(button) || qobject_cast<QToolButton*>(button))
            returnClick->watch(button);
    }
}

void MainWindow::gatherControls() {
    m_controls.reset(new MainWindowControls{
        *m_address,
        *m_hour,
        *m_minute,
        *m_second,
        *m_month,
        *m_year,
        {&m_days->list(0), &m_days->list(1), &m_days->list(2), &m_days->list(3)},
        *m_title,
        *m_timeDisplay,
        *m_dateDisplay,
        *m_hourMode,
        *m_sync,
        {m_menu[0].get(), m_menu[1].get(), m_menu[2].get()},
        *m_clear,
        *m_send,
        *m_setTime,
        *m_updateTime,
        *m_statusBar,
        *m_messageBox,
    });
}

MainWindow::~MainWindow() = default;

void MainWindow::showEvent(QShowEvent* event) {
    if (!m_centred) {
        m_centred = true;
        centreOnScreen(this);
    }
    QWidget::showEvent(event);
}

void MainWindow::paintEvent(QPaintEvent* event) {
    QWidget::paintEvent(event);
    if (!m_painted) {
        m_painted = true;
        // Reading the icon's six sizes and handing them to the desktop would hold up the first
        // frame; the icon follows right after it.
        QTimer::singleShot(0, this, [this] { setWindowIcon(programIcon()); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event) {
    QWidget::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

QString MainWindow::versionCaption(const QString& version) {
    const QVersionNumber number = QVersionNumber::fromString(version);
    return QStringLiteral("V %1.%2").arg(number.majorVersion()).arg(number.minorVersion());
}

void MainWindow::buildHeader(const FormBuilder& form) {
    form.picture(this, elementName("PicLogo", 0), artwork::kLogo, QRect(120, 120, 4185, 1815));
    // Two rules drawn with underscores frame the name and version.
    form.label(this, elementName("Label12", 0), QString(12, QLatin1Char('_')),
               QRect(4470, 240, 3960, 690), makeFont(Face::Arial, 30, true));
    form.label(this, elementName("Label12", 1), QString(22, QLatin1Char('_')),
               QRect(4800, 480, 3630, 330), makeFont(Face::Arial, 14.25));
    form.label(this, QStringLiteral("Label8"), QStringLiteral("VELK - Pro"),
               QRect(5160, 240, 2580, 525), makeFont(Face::Arial, 24.75, true, true));
    form.label(this, QStringLiteral("Label3"), versionCaption(QStringLiteral(VELK_VERSION)),
               QRect(7800, 480, 555, 270), makeFont(Face::Arial, 12, true, true));
    form.picture(this, QStringLiteral("Picture1"), artwork::kBadge, QRect(8400, 120, 390, 420));

    const QString captions[] = {QStringLiteral("CONNECT"), QStringLiteral("SETTING"),
                                QStringLiteral("Disconnect")};
    const Picture pictures[] = {artwork::kConnectPicture, artwork::kSettingPicture,
                                artwork::kDisconnectPicture};
    const QRect places[] = {QRect(4560, 960, 1095, 975), QRect(5760, 960, 1095, 975),
                            QRect(4560, 960, 1095, 975)};
    QToolButton* buttons[3] = {};
    for (int index = 0; index < 3; ++index) {
        auto* button = new QToolButton(this);
        button->setText(captions[index]);
        button->setIcon(QIcon(picturePixmap(pictures[index])));
        button->setIconSize(pictures[index].size);
        button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
        button->setFont(makeFont(Face::Standard, 8.25, true));
        button->setCursor(form.handCursor());
        button->setFocusPolicy(Qt::StrongFocus);
        QPalette palette = button->palette();
        palette.setColor(QPalette::Button, Qt::white);
        button->setPalette(palette);
        fillBackground(button, Qt::white);
        form.place(button, elementName("CmdMenu", index), places[index]);
        m_menu[index] = std::make_unique<QtButton>(button);
        buttons[index] = button;
    }
    // "Disconnect" waits beneath "CONNECT" in the same place.
    buttons[0]->raise();
}

void MainWindow::buildTitleFrame(const FormBuilder& form) {
    QGroupBox* frame = form.frame(this, QStringLiteral("Frame1"), QStringLiteral("TITLE"),
                                  QRect(120, 2040, 4215, 2415), frameCaptionFont());
    form.label(frame, elementName("Label1", 0), QStringLiteral("ADDRESS"),
               QRect(360, 2520, 780, 195), standardFont());
    m_address = makeSelector(form, frame, QStringLiteral("ComboAddress"),
                             QRect(360, 2760, 1095, 315), frames::addressEntries());
    form.label(frame, QStringLiteral("Label2"), QStringLiteral("TITLE"), QRect(360, 3120, 450, 195),
               standardFont());

    QLineEdit* title = form.textBox(frame, QStringLiteral("Text2"), QRect(360, 3360, 2895, 360),
                                    makeFont(Face::Arial, 9.75));
    QPalette palette = title->palette();
    palette.setColor(QPalette::Base, QColor(192, 192, 255));
    title->setPalette(palette);
    m_title = std::make_unique<QtTextBox>(title, kTitleLength);

    m_clear = makeCommand(form, frame, QStringLiteral("Command1"), QStringLiteral("C&lear"),
                          QRect(360, 3840, 1095, 375));
    m_send = makeCommand(form, frame, QStringLiteral("Command2"), QStringLiteral("Se&nd"),
                         QRect(1560, 3840, 1095, 375));
    form.picture(frame, elementName("Picture2", 0), artwork::kTitlePicture,
                 QRect(3480, 2280, 735, 735));
}

void MainWindow::buildTimeFrame(const FormBuilder& form) {
    QGroupBox* frame = form.frame(this, QStringLiteral("Frame2"), QStringLiteral("TIME && DATE"),
                                  QRect(4560, 2040, 4095, 3975), frameCaptionFont());

    QGroupBox* date = form.frame(frame, elementName("Frame4", 0), QStringLiteral("Date DD/MM/YY"),
                                 QRect(4800, 2400, 2775, 975), standardFont());
    m_days = std::make_unique<QtDayLists>(
        form.selector(date, QStringLiteral("ComboDay"), QRect(5040, 2760, 615, 315)));
    form.label(date, QStringLiteral("Label43"), QStringLiteral("/"), QRect(5640, 2760, 135, 375),
               separatorFont());
    m_month = makeSelector(form, date, QStringLiteral("ComboMonth"), QRect(5880, 2760, 615, 315),
                           twoDigitEntries(kMonthEntries));
    form.label(date, elementName("Label4", 2), QStringLiteral("/"), QRect(6480, 2760, 135, 375),
               separatorFont());
    m_year = makeSelector(form, date, QStringLiteral("ComboYear"), QRect(6720, 2760, 615, 315),
                          twoDigitEntries(kYearEntries));

    QGroupBox* time = form.frame(frame, elementName("Frame4", 1), QStringLiteral("Time HH:MM:SS"),
                                 QRect(4800, 3600, 2775, 975), standardFont());
    m_hour = makeSelector(form, time, QStringLiteral("ComboHR"), QRect(5040, 3960, 615, 315),
                          twoDigitEntries(kHourEntries));
    form.label(time, QStringLiteral("Label44"), QStringLiteral(":"), QRect(5700, 3960, 135, 345),
               separatorFont());
    m_minute = makeSelector(form, time, QStringLiteral("ComboMin"), QRect(5880, 3960, 615, 315),
                            twoDigitEntries(kMinuteEntries));
    form.label(time, elementName("Label1", 2), QStringLiteral(":"), QRect(6540, 3960, 135, 345),
               separatorFont());
    m_second = makeSelector(form, time, QStringLiteral("ComboSec"), QRect(6720, 3960, 615, 315),
                            twoDigitEntries(kSecondEntries));
    // The seconds never go to the device: they can be picked but not typed.
    m_second->setTextLocked(true);

    m_setTime = makeCommand(form, frame, QStringLiteral("Command3"), QStringLiteral("&Set Time"),
                            QRect(4800, 4800, 1350, 495));
    m_updateTime = makeCommand(form, frame, QStringLiteral("Command4"),
                               QStringLiteral("&Update Time"), QRect(6240, 4800, 1335, 495));
    form.picture(frame, elementName("Picture2", 1), artwork::kClockPicture,
                 QRect(7800, 2240, 735, 735));
}

void MainWindow::buildSystemFrame(const FormBuilder& form) {
    QGroupBox* frame =
        form.frame(this, QStringLiteral("Frame3"), QStringLiteral("SYSTEM TIME && DATE"),
                   QRect(120, 4560, 4215, 1455), frameCaptionFont());

    auto* sync = new QCheckBox(frame);
    sync->setFont(standardFont());
    fillBackground(sync, Qt::white);
    form.place(sync, QStringLiteral("ChkSync"), QRect(360, 4920, 255, 255));
    m_sync = std::make_unique<QtCheckBox>(sync);
    form.label(frame, QStringLiteral("Label9"), QStringLiteral("Sync Time Date"),
               QRect(720, 4920, 1215, 255), standardFont());

    // The two displays are rewritten every second; the operator only reads them.
    form.label(frame, QStringLiteral("Label10"), QStringLiteral("Time"),
               QRect(2040, 4920, 495, 255), standardFont());
    QLineEdit* time =
        form.textBox(frame, QStringLiteral("Text8"), QRect(2040, 5160, 1095, 375), standardFont());
    time->setReadOnly(true);
    m_timeDisplay = std::make_unique<QtTextBox>(time);
    form.label(frame, QStringLiteral("Label11"), QStringLiteral("Date"),
               QRect(3240, 4920, 375, 255), standardFont());
    QLineEdit* date =
        form.textBox(frame, QStringLiteral("Text9"), QRect(3240, 5160, 975, 375), standardFont());
    date->setReadOnly(true);
    m_dateDisplay = std::make_unique<QtTextBox>(date);

    const QString captions[] = {QStringLiteral("  12 Hour"), QStringLiteral("  24 Hour")};
    const QRect places[] = {QRect(360, 5340, 975, 195), QRect(360, 5640, 975, 195)};
    QList<QAbstractButton*> options;
    for (int index = 0; index < 2; ++index) {
        auto* option = new QRadioButton(captions[index], frame);
        option->setFont(standardFont());
        fillBackground(option, Qt::white);
        form.place(option, elementName("OpHour", index), places[index]);
        options << option;
    }
    m_hourMode = std::make_unique<QtOptionGroup>(options);
}

void MainWindow::buildBottom(const FormBuilder& form) {
    form.picture(this, elementName("PicLogo", 1), artwork::kBanner, QRect(3120, 6000, 5535, 700));

    auto* bar = new QStatusBar(this);
    bar->setFont(standardFont());
    form.place(bar, QStringLiteral("StatusBar1"), QRect(0, 6720, 8775, 375));
    m_statusBar = std::make_unique<QtStatusBar>(bar);
    // StatusBar's designed panels, in its order: the first one, then the date.
    m_statusBar->appendPanel(QStringLiteral("Status"), twipsToPixels(7035),
                             QtStatusBar::Width::AtMost);
    m_statusBar->appendPanel(QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat),
                             twipsToPixels(1440));
}

void MainWindow::setFocusOrder() {
    const QStringList order = {
        QStringLiteral("Text2"),        QStringLiteral("Command1"),  QStringLiteral("Command2"),
        QStringLiteral("Command4"),     QStringLiteral("ChkSync"),   QStringLiteral("Text8"),
        QStringLiteral("Text9"),        elementName("CmdMenu", 0),   elementName("CmdMenu", 1),
        QStringLiteral("ComboAddress"), elementName("CmdMenu", 2),   QStringLiteral("ComboDay"),
        QStringLiteral("ComboMonth"),   QStringLiteral("ComboYear"), QStringLiteral("ComboHR"),
        QStringLiteral("ComboMin"),     QStringLiteral("ComboSec"),  QStringLiteral("Command3"),
        elementName("OpHour", 0),       elementName("OpHour", 1),
    };
    QWidget* previous = nullptr;
    for (const QString& name : order) {
        QWidget* widget = findChild<QWidget*>(name);
        if (previous && widget)
            setTabOrder(previous, widget);
        previous = widget;
    }
    if (QWidget* first = findChild<QWidget*>(order.first()))
        first->setFocus();
}

std::unique_ptr<QtSelector> MainWindow::makeSelector(const FormBuilder& form, QWidget* parent,
                                                     const QString& name, const QRect& twips,
                                                     const QStringList& entries) const {
    return std::make_unique<QtSelector>(form.selector(parent, name, twips), entries);
}

std::unique_ptr<QtButton> MainWindow::makeCommand(const FormBuilder& form, QWidget* parent,
                                                  const QString& name, const QString& caption,
                                                  const QRect& twips) const {
    return std::make_unique<QtButton>(
        form.button(parent, name, caption, twips, makeFont(Face::Arial, 9, true)));
}

} // namespace velk
