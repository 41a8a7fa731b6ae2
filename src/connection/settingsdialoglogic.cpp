#include "connection/settingsdialoglogic.h"

#include <algorithm>

namespace velk {

namespace {

// The values the selectors offer, in list order. The stored value is chosen by the selected
// position, never by parsing the entry's text, so text typed into a selector's field can never
// reach the settings.
constexpr std::array<qint32, 8> kBaudRateValues = {1200,  2400,  4800,  9600,
                                                   14400, 19200, 28800, 38400};
constexpr std::array<QSerialPort::DataBits, 4> kDataBitsValues = {
    QSerialPort::Data5, QSerialPort::Data6, QSerialPort::Data7, QSerialPort::Data8};
constexpr std::array<QSerialPort::Parity, 3> kParityValues = {
    QSerialPort::EvenParity, QSerialPort::OddParity, QSerialPort::NoParity};
constexpr std::array<QSerialPort::StopBits, 2> kStopBitsValues = {QSerialPort::OneStop,
                                                                  QSerialPort::TwoStop};

template <typename Value, std::size_t N> QStringList numbers(const std::array<Value, N>& values) {
    QStringList texts;
    for (const Value value : values)
        texts << QString::number(int(value));
    return texts;
}

// No entry selected (-1) or a position beyond the values leaves the setting alone.
template <typename Value, std::size_t N>
void storeChosen(const Selector& selector, const std::array<Value, N>& values, Value& setting) {
    const int position = selector.listIndex();
    if (position >= 0 && position < int(N))
        setting = values[std::size_t(position)];
}

template <typename Value, std::size_t N>
int positionOf(const std::array<Value, N>& values, Value value) {
    const auto found = std::find(values.begin(), values.end(), value);
    return found == values.end() ? -1 : int(found - values.begin());
}

// The entries showing `chosen`, by selector index; -1 where no entry shows it.
std::array<int, SettingsDialogLogic::kSelectorCount> positionsOf(const PortSettings& chosen) {
    std::array<int, SettingsDialogLogic::kSelectorCount> positions{};
    positions[SettingsDialogLogic::kBaudRate] = positionOf(kBaudRateValues, chosen.line.baudRate);
    positions[SettingsDialogLogic::kDataBits] = positionOf(kDataBitsValues, chosen.line.dataBits);
    positions[SettingsDialogLogic::kParity] = positionOf(kParityValues, chosen.line.parity);
    positions[SettingsDialogLogic::kStopBits] = positionOf(kStopBitsValues, chosen.line.stopBits);
    const int number = chosen.lineName.number;
    const bool listed = number >= PortSettings::kFirstPort && number <= PortSettings::kLastPort;
    positions[SettingsDialogLogic::kPort] = chosen.lineName.isNetwork() || chosen.lineName.isBus()
                                                ? SettingsDialogLogic::kNetworkEntry
                                            : listed ? number - PortSettings::kFirstPort
                                                     : -1;
    return positions;
}

// The port selector comes first, then the line settings in selector order.
constexpr std::array<int, SettingsDialogLogic::kSelectorCount> kSelectionOrder = {
    SettingsDialogLogic::kPort, SettingsDialogLogic::kBaudRate, SettingsDialogLogic::kDataBits,
    SettingsDialogLogic::kParity, SettingsDialogLogic::kStopBits};

} // namespace

SettingsDialogLogic::SettingsDialogLogic(const Selectors& selectors, PortSettings& settings,
                                         PortControl& control, Handler hide,
                                         const PortSettings& start, NetworkLinePrompt* prompt)
    : m_selectors(selectors), m_settings(settings), m_control(control), m_hide(std::move(hide)),
      m_start(start), m_prompt(prompt) {}

QString SettingsDialogLogic::networkEntryText() {
    return QStringLiteral("Network line ...");
}

QString SettingsDialogLogic::busLineNote() {
    return QStringLiteral("The bridge keeps a bus line's settings: Ok sets the port.");
}

QStringList SettingsDialogLogic::entries(int index) {
    switch (index) {
    case kBaudRate:
        return numbers(kBaudRateValues);
    case kDataBits:
        return numbers(kDataBitsValues);
    case kParity:
        return {QStringLiteral("Even"), QStringLiteral("Odd"), QStringLiteral("None")};
    case kStopBits:
        return numbers(kStopBitsValues);
    case kPort: {
        QStringList ports;
        for (int number = PortSettings::kFirstPort; number <= PortSettings::kLastPort; ++number)
            ports << QStringLiteral("Comport %1").arg(number);
        return ports << networkEntryText();
    }
    default:
        return {};
    }
}

void SettingsDialogLogic::load() {
    select(m_start);
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
    select(kDefaultPortSettings);
}

void SettingsDialogLogic::saveBaudRate() {
    storeChosen(*m_selectors[kBaudRate], kBaudRateValues, m_settings.line.baudRate);
}

void SettingsDialogLogic::saveDataBits() {
    storeChosen(*m_selectors[kDataBits], kDataBitsValues, m_settings.line.dataBits);
}

void SettingsDialogLogic::saveParity() {
    storeChosen(*m_selectors[kParity], kParityValues, m_settings.line.parity);
}

void SettingsDialogLogic::saveStopBits() {
    storeChosen(*m_selectors[kStopBits], kStopBitsValues, m_settings.line.stopBits);
}

void SettingsDialogLogic::savePortNumber() {
    // No entry selected (-1) or a position beyond the list leaves the line alone, so no port
    // number outside 1 to 16 is ever stored.
    const int position = m_selectors[kPort]->listIndex();
    if (position >= 0 && position < kNetworkEntry) {
        m_settings.lineName = LineName::comport(PortSettings::kFirstPort + position);
        m_portPosition = position;
    } else if (position == kNetworkEntry) {
        if (!m_selecting)
            return askNetworkLine();
        if (m_networkLine)
            m_settings.lineName = *m_networkLine;
        m_portPosition = position;
    }
    showLineNote();
}

void SettingsDialogLogic::showLineNote() const {
    if (m_showNote)
        m_showNote(m_settings.lineName.isBus() ? busLineNote() : QString());
}

void SettingsDialogLogic::askNetworkLine() {
    if (m_prompt) {
        if (const std::optional<QString> given =
                m_prompt->askNetworkLine(m_networkLine ? m_networkLine->text() : QString())) {
            QString why;
            if (const std::optional<LineName> name =
                    LineName::parseNetwork(*given, &why, QStringLiteral("Network line"))) {
                showNetworkLine(*name);
                m_settings.lineName = *name;
                m_portPosition = kNetworkEntry;
                showLineNote();
                return;
            }
            m_prompt->showRefusal(why);
        }
    }
    // Cancelled or refused: the choice before the pick stays, in the settings and on screen.
    m_selecting = true;
    m_selectors[kPort]->setListIndex(m_portPosition);
    m_selecting = false;
}

void SettingsDialogLogic::showNetworkLine(const LineName& name) {
    m_networkLine = name;
    m_selectors[kPort]->setEntry(kNetworkEntry, name.text());
}

void SettingsDialogLogic::select(const PortSettings& chosen) {
    // Each selection runs the selector's click, which stores the matching setting. A value no
    // entry shows gives way to the default entry.
    const std::array<int, kSelectorCount> positions = positionsOf(chosen);
    const std::array<int, kSelectorCount> defaults = positionsOf(kDefaultPortSettings);
    if (chosen.lineName.isNetwork() || chosen.lineName.isBus())
        showNetworkLine(chosen.lineName);
    m_selecting = true;
    for (int index : kSelectionOrder)
        m_selectors[index]->setListIndex(positions[index] >= 0 ? positions[index]
                                                               : defaults[index]);
    m_selecting = false;
}

} // namespace velk
