#include "serial/settingsdialoglogic.h"

namespace velk {

namespace {

// The stored value is chosen by the selected position, never by parsing the entry's text, so
// text typed into a selector's field can never reach the settings.
QStringList settingValues(int index) {
    switch (index) {
    case SettingsDialogLogic::kBaudRate:
    case SettingsDialogLogic::kDataBits:
    case SettingsDialogLogic::kStopBits:
        return SettingsDialogLogic::entries(index);
    case SettingsDialogLogic::kParity:
        return {QStringLiteral("E"), QStringLiteral("O"), QStringLiteral("N")};
    default:
        return {};
    }
}

// Default positions by selector index: "9600", "8", "None", "1", "Comport 1".
constexpr std::array<int, SettingsDialogLogic::kSelectorCount> kDefaultPositions = {3, 3, 2, 0, 0};

// The port selector comes first, then the line settings in selector order.
constexpr std::array<int, SettingsDialogLogic::kSelectorCount> kDefaultOrder = {
    SettingsDialogLogic::kPort, SettingsDialogLogic::kBaudRate, SettingsDialogLogic::kDataBits,
    SettingsDialogLogic::kParity, SettingsDialogLogic::kStopBits};

} // namespace

SettingsDialogLogic::SettingsDialogLogic(const Selectors& selectors, PortSettings& settings,
                                         PortControl& control, Handler hide)
    : m_selectors(selectors), m_settings(settings), m_control(control), m_hide(std::move(hide)) {}

QStringList SettingsDialogLogic::entries(int index) {
    switch (index) {
    case kBaudRate:
        return {QStringLiteral("1200"),  QStringLiteral("2400"),  QStringLiteral("4800"),
                QStringLiteral("9600"),  QStringLiteral("14400"), QStringLiteral("19200"),
                QStringLiteral("28800"), QStringLiteral("38400")};
    case kDataBits:
        return {QStringLiteral("5"), QStringLiteral("6"), QStringLiteral("7"), QStringLiteral("8")};
    case kParity:
        return {QStringLiteral("Even"), QStringLiteral("Odd"), QStringLiteral("None")};
    case kStopBits:
        return {QStringLiteral("1"), QStringLiteral("2")};
    case kPort: {
        QStringList ports;
        for (int number = PortSettings::kFirstPort; number <= PortSettings::kLastPort; ++number)
            ports << QStringLiteral("Comport %1").arg(number);
        return ports;
    }
    default:
        return {};
    }
}

void SettingsDialogLogic::load() {
    selectDefaults();
}

void SettingsDialogLogic::configClicked(int index) {
    switch (index) {
    case kBaudRate:
        saveBaudRate();
        break;
    case kDataBits:
        saveDataBits();
        break;
    case kParity:
        saveParity();
        break;
    case kStopBits:
        saveStopBits();
        break;
    case kPort:
        savePortNumber();
        break;
    default:
        break;
    }
}

void SettingsDialogLogic::okClicked() {
    // A refusal is shown by applyPortSettings itself; the dialog closes either way.
    m_control.applyPortSettings();
    raise(m_hide);
}

void SettingsDialogLogic::cancelClicked() {
    raise(m_hide);
}

void SettingsDialogLogic::restoreDefaultsClicked() {
    selectDefaults();
}

void SettingsDialogLogic::saveBaudRate() {
    saveText(kBaudRate, m_settings.baudRate);
}

void SettingsDialogLogic::saveDataBits() {
    saveText(kDataBits, m_settings.dataBits);
}

void SettingsDialogLogic::saveParity() {
    saveText(kParity, m_settings.parityLetter);
}

void SettingsDialogLogic::saveStopBits() {
    saveText(kStopBits, m_settings.stopBits);
}

void SettingsDialogLogic::savePortNumber() {
    // No entry selected (-1) or a position beyond the sixteen ports leaves the number alone,
    // so no port number outside 1 to 16 is ever stored.
    const int position = m_selectors[kPort]->listIndex();
    const int portCount = PortSettings::kLastPort - PortSettings::kFirstPort + 1;
    if (position >= 0 && position < portCount)
        m_settings.portNumber = quint8(PortSettings::kFirstPort + position);
}

void SettingsDialogLogic::selectDefaults() {
    // Each selection runs the selector's click, which stores the matching default setting.
    for (int index : kDefaultOrder)
        m_selectors[index]->setListIndex(kDefaultPositions[index]);
}

void SettingsDialogLogic::saveText(int index, QString& setting) {
    const QStringList values = settingValues(index);
    const int position = m_selectors[index]->listIndex();
    if (position >= 0 && position < values.size())
        setting = values.at(position);
}

} // namespace velk
