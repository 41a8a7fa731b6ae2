#include "ui/configuredialog.h"

#include "ui/artwork.h"
#include "ui/formbuilder.h"
#include "ui/look.h"
#include "ui/qtbutton.h"
#include "ui/qtselector.h"
#include "ui/twips.h"

#include <QCloseEvent>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

namespace velk {

namespace {

// The dialog's rows: caption, the row's top in the frame and the caption's width.
struct Row {
    const char* caption;
    int top;
    int labelWidth;
};

constexpr std::array<Row, 5> kRows{{
    {"Bit per Second :", 960, 1545},
    {"Data Bits :", 1440, 975},
    {"Parity :", 1920, 705},
    {"Stop Bit :", 2400, 885},
    {"Connect Port :", 480, 1365},
}};

} // namespace

ConfigureDialog::ConfigureDialog(const std::array<QStringList, 5>& entries, QWidget* parent)
    : QDialog(parent) {
    setObjectName(QStringLiteral("frmConfigure"));
    setWindowTitle(QStringLiteral("Configuration"));
    setWindowIcon(programIcon());
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setModal(false);
    setFixedSize(twipsToPixels(4545), twipsToPixels(4800));
    setFont(standardFont());
    fillBackground(this, Qt::white);

    const FormBuilder form(this);
    QGroupBox* frame =
        form.frame(this, QStringLiteral("FramePortSet"), QStringLiteral("- Port Setting -"),
                   QRect(120, 120, 4335, 3975), makeFont(Face::Arial, 11.25, true));
    buildRows(form, frame, entries);
    buildButtons(form, frame);
    setFocusOrder();
}

QRect ConfigureDialog::inFrame(int left, int top, int width, int height) {
    // Places inside the frame are drawn relative to it.
    const QPoint frameOrigin(120, 120);
    return QRect(frameOrigin.x() + left, frameOrigin.y() + top, width, height);
}

void ConfigureDialog::buildRows(const FormBuilder& form, QWidget* frame,
                                const std::array<QStringList, 5>& entries) {
    const QFont captionFont = makeFont(Face::Arial, 9.75, true);
    for (int index = 0; index < int(kRows.size()); ++index) {
        const Row& row = kRows[index];
        form.label(frame, elementName("Label1", index), QString::fromLatin1(row.caption),
                   inFrame(360, row.top, row.labelWidth, 240), captionFont);
        QComboBox* combo = form.selector(frame, elementName("Combo_Config", index),
                                         inFrame(2400, row.top, 1575, 315));
        m_configs[index] = std::make_unique<QtSelector>(combo, entries[index]);
        // Said as the caption it stands beside, without the colon.
        FormBuilder::nameForScreenReaders(
            this, {{combo->objectName(),
                    QString::fromLatin1(row.caption).remove(QLatin1Char(':')).trimmed()}});
        FormBuilder::tieLabels(this, {{elementName("Label1", index), combo->objectName()}});
    }
}

void ConfigureDialog::buildButtons(const FormBuilder& form, QWidget* frame) {
    const QFont captionFont = makeFont(Face::Arial, 9.75, true);
    m_restoreDefaults = std::make_unique<QtButton>(
        form.button(frame, QStringLiteral("cmdRestoreDef"), QStringLiteral("Restore Defaults"),
                    inFrame(2160, 3000, 1935, 495), makeFont(Face::Arial, 9, true)));
    form.picture(frame, QStringLiteral("Picture1"), artwork::kPortPicture,
                 inFrame(360, 2760, 735, 735));
    m_ok =
        std::make_unique<QtButton>(form.button(this, QStringLiteral("cmdOk"), QStringLiteral("Ok"),
                                               QRect(1800, 4320, 1215, 375), captionFont));
    m_cancel = std::make_unique<QtButton>(form.button(this, QStringLiteral("cmdCancel"),
                                                      QStringLiteral("Cancel"),
                                                      QRect(3240, 4320, 1215, 375), captionFont));
}

void ConfigureDialog::setFocusOrder() {
    const QStringList order = {QStringLiteral("cmdRestoreDef"), elementName("Combo_Config", 0),
                               elementName("Combo_Config", 1),  elementName("Combo_Config", 2),
                               elementName("Combo_Config", 3),  QStringLiteral("cmdOk"),
                               QStringLiteral("cmdCancel"),     elementName("Combo_Config", 4)};
    for (int index = 1; index < order.size(); ++index)
        setTabOrder(findChild<QWidget*>(order.at(index - 1)), findChild<QWidget*>(order.at(index)));
    findChild<QWidget*>(order.first())->setFocus();
}

ConfigureDialog::~ConfigureDialog() = default;

Selector& ConfigureDialog::config(int index) {
    return *m_configs.at(index);
}

Button& ConfigureDialog::ok() {
    return *m_ok;
}

Button& ConfigureDialog::cancel() {
    return *m_cancel;
}

Button& ConfigureDialog::restoreDefaults() {
    return *m_restoreDefaults;
}

void ConfigureDialog::showNote(const QString& note) {
    if (!m_note) {
        if (note.isEmpty())
            return;
        // Below the picture and Restore Defaults, inside the frame.
        m_note = FormBuilder(this).label(
            findChild<QGroupBox*>(QStringLiteral("FramePortSet")), QStringLiteral("LabelNote"),
            note, inFrame(120, 3600, 4095, 300), makeFont(Face::Arial, 8.25, false));
    }
    m_note->setText(note);
    m_note->setVisible(!note.isEmpty());
}

void ConfigureDialog::showEvent(QShowEvent* event) {
    if (!m_centred) {
        m_centred = true;
        centreOnScreen(this);
    }
    QDialog::showEvent(event);
}

void ConfigureDialog::closeEvent(QCloseEvent* event) {
    // Ok, Cancel and Escape only hide the dialog and never get here.
    QDialog::closeEvent(event);
    if (event->isAccepted())
        emit discarded();
}

} // namespace velk
