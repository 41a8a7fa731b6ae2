// Long random operator sessions on the in-memory panel. After every step the panel must keep its
// promises: the entry clock holds two-digit values in range and the selectors show it; exactly
// one day list shows, holding the entry day; the title box and the stored title of the selected
// address agree; the buttons and the link panel show the real link state; and the line carries
// exactly the frames the operator and the sync asked for, each of them decodable by the monitor.
//
// A failure names the seed and the step. VELK_SEED=<seed> replays that one session (and
// VELK_STEPS=<n> changes its length).

#include "memorypanel.h"

#include "clock/dayrules.h"
#include "clocksync/statuspanels.h"
#include "clocksync/ticker.h"
#include "connection/connectioncommands.h"
#include "connection/portstatustext.h"
#include "monitor/lineformat.h"
#include "titles/titlecommands.h"
#include "transmit/transmitter.h"
#include "wire/framedecoder.h"
#include "wire/framelayout.h"
#include "wire/frames.h"
#include "wire/linecharset.h"

#include <QtTest>
#include <deque>
#include <functional>
#include <optional>
#include <random>

using namespace velk;
using namespace velk::test;
using velk::frames::clockFieldIndex;
using velk::frames::kClockFieldCount;
using velk::frames::kClockFields;

namespace {

constexpr int kSeedCount = 20;
constexpr int kStepCount = 2000;
constexpr int kRecentActions = 16;

// Half a minute before a year ends, so the first ticks already cross midnight.
const QDateTime kStart(QDate(2026, 12, 31), QTime(23, 59, 30), Qt::UTC);

// Days on whose last seconds a session lands and then ticks through midnight: month ends of
// every length, February in leap and common years (2100 is a common year whose two digits "00"
// the panel counts as leap), and year ends.
const QDate kEdges[] = {
    QDate(2027, 2, 28), QDate(2028, 2, 28),  QDate(2028, 2, 29),  QDate(2000, 2, 29),
    QDate(2100, 2, 28), QDate(2026, 12, 31), QDate(2099, 12, 31), QDate(2026, 4, 30),
    QDate(2026, 6, 30), QDate(2026, 1, 31),  QDate(2026, 8, 31),  QDate(2026, 3, 15),
};

// What an operator types into the title box: plain text, the frame's start byte, Latin-1
// letters, and characters without a single byte, one of them outside the basic plane.
const QString kTitlePieces[] = {
    QStringLiteral("A"),    QStringLiteral("z9"),
    QStringLiteral(" "),    QStringLiteral("/"),
    QStringLiteral("..."),  QStringLiteral("é"),
    QStringLiteral("ÿ"),    QStringLiteral("ß£"),
    QStringLiteral("€"),    QStringLiteral("日本"),
    QStringLiteral("Ω"),    QStringLiteral("😀"),
    QStringLiteral("/M05"), QStringLiteral("Title String ..."),
};

// What an operator types into a selector's text field.
const QString kSelectorTexts[] = {
    QString(),
    QStringLiteral("7"),
    QStringLiteral("07"),
    QStringLiteral("99"),
    QStringLiteral("100"),
    QStringLiteral("-1"),
    QStringLiteral("ab"),
    QStringLiteral(" 5"),
    QStringLiteral("12a"),
    QStringLiteral("31"),
    QStringLiteral("00"),
    QStringLiteral("Master"),
    QStringLiteral("٣"),
    QStringLiteral("Comport 17"),
};

const QString kMissingDevice = QStringLiteral("Comport 1: no such device.");
const QString kRefusedSettings = QStringLiteral("The port refused the settings.");

QString twoDigits(int value) {
    return QStringLiteral("%1").arg(value, 2, 10, QLatin1Char('0'));
}

int lastDay(int month, int twoDigitYear) {
    return daysInMonth(month, twoDigitYear).value_or(31);
}

std::optional<int> twoDigitValue(const QString& text) {
    if (text.size() != 2 || !text[0].isDigit() || !text[1].isDigit() || text[0].unicode() > '9' ||
        text[1].unicode() > '9')
        return std::nullopt;
    return (text[0].unicode() - '0') * 10 + (text[1].unicode() - '0');
}

ClockValues clockAt(const QDateTime& when) {
    const QDate date = when.date();
    const QTime time = when.time();
    return {twoDigits(time.hour()), twoDigits(time.minute()), twoDigits(time.second()),
            twoDigits(date.day()),  twoDigits(date.month()),  twoDigits(date.year() % 100)};
}

QByteArray clockGroup(const ClockValues& clock) {
    return "/M" + clock.minute.toLatin1() + "/H" + clock.hour.toLatin1() + "/m" +
           clock.month.toLatin1() + "/Y" + clock.year.toLatin1() + "/D" + clock.day.toLatin1();
}

QByteArray titleFrame(int position, const QString& text) {
    return frames::titleFrame(*frames::addressByte(position), text);
}

QString timeDisplayText(const QDateTime& when, bool twelveHour) {
    const QTime time = when.time();
    const QString minutesAndSeconds =
        QLatin1Char(':') + twoDigits(time.minute()) + QLatin1Char(':') + twoDigits(time.second());
    if (!twelveHour)
        return twoDigits(time.hour()) + minutesAndSeconds;
    const int hour = time.hour() % 12 == 0 ? 12 : time.hour() % 12;
    return twoDigits(hour) + minutesAndSeconds +
           (time.hour() < 12 ? QStringLiteral(" AM") : QStringLiteral(" PM"));
}

QString dateDisplayText(const QDateTime& when) {
    const QDate date = when.date();
    return twoDigits(date.month()) + QLatin1Char('-') + twoDigits(date.day()) + QLatin1Char('-') +
           QStringLiteral("%1").arg(date.year(), 4, 10, QLatin1Char('0'));
}

QString datePanelText(const QDateTime& when) {
    return QLocale::system().toString(when.date(), QLocale::ShortFormat);
}

QString describe(const ClockValues& clock) {
    return QStringLiteral("%1:%2:%3 %4-%5-%6")
        .arg(clock.hour, clock.minute, clock.second, clock.month, clock.day, clock.year);
}

// One operator at the panel, acting at random, and what the panel is expected to do.
class Session {
public:
    explicit Session(quint32 seed) : m_random(seed) {
        m_expectedTime = timeDisplayText(kStart, false);
        m_expectedDate = dateDisplayText(kStart);
        m_expectedDatePanel = datePanelText(kStart);
        m_titles[0] = kDefaultTitle;
    }

    // Runs one action and checks everything; the problem found, or nothing.
    QString step() {
        m_after = nullptr;
        if (m_ticksToCome > 0) {
            --m_ticksToCome;
            tickOnce();
        } else {
            (this->*kActions[std::size_t(m_choose(m_random))].run)();
        }
        return check();
    }

    QString recentActions() const {
        QStringList lines;
        for (const QString& action : m_recent)
            lines << QStringLiteral("  ") + action;
        return lines.join(QLatin1Char('\n'));
    }

private:
    struct Action {
        double weight;
        void (Session::*run)();
    };
    static const Action kActions[];
    static std::discrete_distribution<int> chooser();

    int below(int bound) { return std::uniform_int_distribution<int>(0, bound - 1)(m_random); }
    bool chance(int percent) { return below(100) < percent; }
    template <typename T, std::size_t N> const T& anyOf(const T (&items)[N]) {
        return items[std::size_t(below(int(N)))];
    }

    void note(const QString& action) {
        m_recent.push_back(
            QStringLiteral("[%1] %2").arg(m_panel.clock.now().toString(Qt::ISODate), action));
        if (int(m_recent.size()) > kRecentActions)
            m_recent.pop_front();
    }

    // The selectors that can be picked from or typed into, with the value their first entry means.
    struct Field {
        const char* name;
        MemorySelector* selector;
        int first;
        QString ClockValues::*value;
    };
    std::vector<Field> fields() {
        return {{"hour", &m_panel.hour, 0, &ClockValues::hour},
                {"minute", &m_panel.minute, 0, &ClockValues::minute},
                {"second", &m_panel.second, 0, &ClockValues::second},
                {"month", &m_panel.month, 1, &ClockValues::month},
                {"year", &m_panel.year, 0, &ClockValues::year},
                {"day", m_panel.visibleDay(), 1, &ClockValues::day}};
    }

    void expectMessage(const QString& text, const QString& title) {
        m_expectedMessages << title + QStringLiteral(" | ") + text;
    }

    // --- ticks and the wall clock ---

    void expectTick() {
        const QDateTime now = m_panel.clock.now();
        m_expectedTime = timeDisplayText(now, m_twelveHour);
        m_expectedDate = dateDisplayText(now);
        m_expectedDatePanel = datePanelText(now);
        const qint64 noticeFor = m_noticeShown.isValid() ? m_noticeShown.secsTo(now) : 0;
        if (noticeFor >= StatusPanels::kNoticeSeconds || noticeFor < 0)
            m_noticeShown = QDateTime();
        // Each minute once, also when the clock is set back onto a second 00 already dealt with.
        const qint64 minute = now.toSecsSinceEpoch() / 60;
        if (m_panel.sync.isChecked() && now.time().second() == 0 && minute != m_lastMinute) {
            m_lastMinute = minute;
            if (m_panel.port.isOpen())
                m_expected += clockGroup(clockAt(now));
        }
    }

    void tickOnce() {
        m_panel.clock.advance(1);
        note(QStringLiteral("tick"));
        expectTick();
        m_panel.tick();
    }

    // The timer fires up to a second after the last time it did; the ticker delivers the tick
    // only when a new second has begun.
    void timerFires() {
        m_panel.clock.set(m_panel.clock.now().addMSecs(1 + below(1000)));
        const qint64 second = m_panel.clock.now().toMSecsSinceEpoch() / 1000;
        note(QStringLiteral("timer fires"));
        if (m_lastPolled != second) {
            m_lastPolled = second;
            expectTick();
        }
        m_panel.core.ticker().poll();
    }

    void jumpToEdge() {
        const QDate date = anyOf(kEdges);
        const QTime time = chance(75) ? QTime(23, 59, 58) : QTime(below(24), below(60), 58);
        m_panel.clock.set(QDateTime(date, time, Qt::UTC));
        m_ticksToCome = 2 + below(4);
        note(QStringLiteral("clock set to %1").arg(m_panel.clock.now().toString(Qt::ISODate)));
    }

    void jumpAnywhere() {
        const QDate date = QDate(1995, 1, 1).addDays(below(40000));
        m_panel.clock.set(QDateTime(date, QTime(below(24), below(60), below(60)), Qt::UTC));
        note(QStringLiteral("clock set to %1").arg(m_panel.clock.now().toString(Qt::ISODate)));
    }

    // A tick arrives while the next message box is open.
    void tickDuringNextBox() {
        note(QStringLiteral("the next box will see a tick"));
        m_panel.messages.whileOpen([this] {
            note(QStringLiteral("tick while a box is open"));
            m_panel.clock.advance(1);
            expectTick();
            m_panel.tick();
        });
    }

    void toggleSync() {
        m_panel.sync.setChecked(!m_panel.sync.isChecked());
        note(m_panel.sync.isChecked() ? QStringLiteral("sync on") : QStringLiteral("sync off"));
    }

    void pickHourMode() {
        const int index = below(2);
        note(QStringLiteral("hour mode %1").arg(index == 0 ? 12 : 24));
        m_twelveHour = index == 0;
        m_panel.hourMode.pick(index);
    }

    // --- the date and time selectors ---

    void pickClockSelector() {
        const std::vector<Field> all = fields();
        const Field& field = all[std::size_t(below(int(all.size())))];
        if (!field.selector)
            return note(QStringLiteral("no day list to pick from"));
        int index = below(field.selector->count());
        if (field.value == &ClockValues::month && chance(30))
            index = 1; // February, where leap years matter
        note(QStringLiteral("pick %1 entry %2").arg(QLatin1String(field.name)).arg(index));

        ClockValues expected = m_panel.core.entry().entryClock();
        expected.*field.value = twoDigits(index + field.first);
        if (field.value == &ClockValues::month || field.value == &ClockValues::year) {
            const int month = expected.month.toInt();
            const int last = lastDay(month, expected.year.toInt());
            if (expected.day.toInt() > last)
                expected.day = twoDigits(last);
        }
        field.selector->pick(index);
        expectEntry(expected, QStringLiteral("after the pick"));
    }

    void typeIntoClockSelector() {
        const std::vector<Field> all = fields();
        const Field& field = all[std::size_t(below(int(all.size())))];
        if (!field.selector)
            return note(QStringLiteral("no day list to type into"));
        const QString text = anyOf(kSelectorTexts);
        note(QStringLiteral("type \"%1\" into %2").arg(text, QLatin1String(field.name)));
        const ClockValues before = m_panel.core.entry().entryClock();
        field.selector->type(text);
        expectEntry(before, QStringLiteral("after typing"));
    }

    void expectEntry(const ClockValues& expected, const QString& when) {
        m_after = [this, expected, when]() -> QString {
            const ClockValues& entry = m_panel.core.entry().entryClock();
            if (entry == expected)
                return {};
            return QStringLiteral("entry clock %1 is %2, expected %3")
                .arg(when, describe(entry), describe(expected));
        };
    }

    void updateTime() {
        note(QStringLiteral("Update Time"));
        m_panel.updateTime.click();
        expectEntry(clockAt(m_panel.clock.now()), QStringLiteral("after Update Time"));
    }

    void setTime() {
        note(QStringLiteral("Set Time"));
        if (!m_panel.port.isOpen()) {
            expectMessage(kPressConnectMessage, kAppTitle);
        } else if (const MemorySelector* day = m_panel.visibleDay()) {
            // What the selectors show is what the devices get.
            m_expected += clockGroup({m_panel.hour.text(), m_panel.minute.text(), QString(),
                                      day->text(), m_panel.month.text(), m_panel.year.text()});
        }
        m_panel.setTime.click();
    }

    // --- address and title ---

    void pickAddress() {
        static const int kFavourites[] = {0, 1, 2, 3, 47, 254};
        const int index = chance(60) ? anyOf(kFavourites) : below(m_panel.address.count());
        note(QStringLiteral("pick address %1").arg(m_panel.address.entry(index)));
        const QString expected = m_titles[index].isEmpty() ? kDefaultTitle : m_titles[index];
        m_titles[index] = expected;
        m_panel.address.pick(index);
        m_after = [this, expected]() -> QString {
            if (m_panel.title.text() == expected)
                return {};
            return QStringLiteral("title box shows \"%1\", expected \"%2\"")
                .arg(m_panel.title.text(), expected);
        };
    }

    void typeIntoAddress() {
        static const QString kTexts[] = {QString(), QStringLiteral("7"), QStringLiteral("Master"),
                                         QStringLiteral("255"), QStringLiteral("abc")};
        const QString text = anyOf(kTexts);
        note(QStringLiteral("type \"%1\" into the address").arg(text));
        const QString title = m_panel.title.text();
        m_panel.address.type(text);
        m_after = [this, title]() -> QString {
            if (m_panel.address.listIndex() == -1 && m_panel.title.text() == title)
                return {};
            return QStringLiteral("typing an address changed the selection or the title");
        };
    }

    QString someTitleText(int pieces) {
        QString text;
        for (int piece = 0; piece < pieces; ++piece)
            text += anyOf(kTitlePieces);
        return text;
    }

    // Characters the line cannot carry are left out of the title box, and the status bar says so.
    void expectNoticeFor(const QString& text) {
        if (linecharset::filter(text).dropped)
            m_noticeShown = m_panel.clock.now();
    }

    void rememberTitle() {
        const int index = m_panel.address.listIndex();
        if (index >= 0)
            m_titles[index] = m_panel.title.text();
    }

    void typeTitle() {
        const QString text = someTitleText(1 + below(2));
        note(QStringLiteral("type \"%1\" into the title").arg(text));
        m_panel.title.type(text);
        expectNoticeFor(text);
        rememberTitle();
    }

    void pasteTitle() {
        const QString text = chance(15) ? QString() : someTitleText(1 + below(4));
        note(QStringLiteral("paste \"%1\" over the title").arg(text));
        m_panel.title.paste(text);
        expectNoticeFor(text);
        rememberTitle();
    }

    void clearTitle() {
        note(QStringLiteral("Clear"));
        const int index = m_panel.address.listIndex();
        if (!m_panel.port.isOpen()) {
            expectMessage(kPressConnectMessage, kAppTitle);
        } else if (index < 0) {
            expectMessage(kPickAddressMessage, kAppTitle);
        } else {
            m_expected += titleFrame(index, QString());
            m_titles[index].clear();
        }
        m_panel.clear.click();
    }

    void sendTitle() {
        note(QStringLiteral("Send \"%1\"").arg(m_panel.title.text()));
        const int index = m_panel.address.listIndex();
        if (!m_panel.port.isOpen())
            expectMessage(kPressConnectMessage, kAppTitle);
        else if (index < 0)
            expectMessage(kPickAddressMessage, kAppTitle);
        else
            m_expected += titleFrame(index, m_panel.title.text());
        m_panel.send.click();
    }

    // --- the link ---

    void clickMenu() {
        // "Disconnect" lies beneath "CONNECT": only the upper one of the two can be clicked.
        // Sessions mostly stay connected, where the commands have the most to do.
        int index = ConnectionCommands::kSetting;
        if (m_panel.connectButton().isVisible()) {
            if (chance(80))
                index = ConnectionCommands::kConnect;
        } else if (m_panel.disconnectButton().isVisible()) {
            if (chance(30))
                index = ConnectionCommands::kDisconnect;
        } else {
            return note(QStringLiteral("neither CONNECT nor Disconnect is showing"));
        }
        switch (index) {
        case ConnectionCommands::kConnect:
            note(QStringLiteral("CONNECT"));
            if (!m_openRefusal.isEmpty())
                expectMessage(m_openRefusal, ConnectionCommands::connectFailureTitle());
            break;
        case ConnectionCommands::kSetting:
            return clickSetting();
        default:
            note(QStringLiteral("Disconnect"));
            break;
        }
        const bool opens = index == ConnectionCommands::kConnect && m_openRefusal.isEmpty();
        m_everConnected = m_everConnected || opens;
        m_panel.menu[std::size_t(index)].click();
        m_after = [this, opens]() -> QString {
            if (m_panel.port.isOpen() == opens)
                return {};
            return QStringLiteral("the port is %1")
                .arg(opens ? QLatin1String("closed") : QLatin1String("open"));
        };
    }

    void clickSetting() {
        note(QStringLiteral("SETTING"));
        const bool refused = m_panel.port.isOpen();
        if (refused)
            expectMessage(ConnectionCommands::portAlreadyOpenText(), kAppTitle);
        const int showings = m_panel.settingsDialog().showings();
        m_panel.settingButton().click();
        m_after = [this, refused, showings]() -> QString {
            const MemorySettingsDialog& dialog = m_panel.settingsDialog();
            if (refused ? dialog.showings() == showings : dialog.isShown() && dialog.isLoaded())
                return {};
            return QStringLiteral("the settings dialog did not follow SETTING");
        };
    }

    void loseThePort() {
        note(QStringLiteral("the device vanishes"));
        m_panel.port.lose();
    }

    void troubleWithTheDevice() {
        switch (below(4)) {
        case 0:
            m_openRefusal = m_openRefusal.isEmpty() ? kMissingDevice : QString();
            m_panel.port.refuseOpen(m_openRefusal);
            note(
                QStringLiteral("the port %1 open")
                    .arg(m_openRefusal.isEmpty() ? QLatin1String("can") : QLatin1String("cannot")));
            break;
        case 1:
            m_settingsRefusal = m_settingsRefusal.isEmpty() ? kRefusedSettings : QString();
            m_panel.port.refuseSettings(m_settingsRefusal);
            note(QStringLiteral("the port %1 settings")
                     .arg(m_settingsRefusal.isEmpty() ? QLatin1String("takes")
                                                      : QLatin1String("refuses")));
            break;
        default:
            m_openRefusal.clear();
            m_settingsRefusal.clear();
            m_panel.port.refuseOpen({});
            m_panel.port.refuseSettings({});
            note(QStringLiteral("the port works again"));
            break;
        }
    }

    // --- the settings dialog ---

    void useDialog() {
        MemorySettingsDialog& dialog = m_panel.settingsDialog();
        if (!dialog.isShown())
            return clickSetting();
        const int selector = below(SettingsDialogLogic::kSelectorCount);
        switch (below(10)) {
        case 0:
        case 1:
        case 2:
        case 3: {
            const int index = below(dialog.config(selector).count());
            note(QStringLiteral("dialog: pick %1").arg(dialog.config(selector).entry(index)));
            dialog.config(selector).pick(index);
            break;
        }
        case 4: {
            const QString text = anyOf(kSelectorTexts);
            note(QStringLiteral("dialog: type \"%1\" into selector %2").arg(text).arg(selector));
            const PortSettings before = m_panel.core.portSettings();
            dialog.config(selector).type(text);
            m_after = [this, before]() -> QString {
                if (m_panel.core.portSettings() == before)
                    return {};
                return QStringLiteral("typing into the dialog changed the port settings");
            };
            break;
        }
        case 5:
        case 6:
            return confirmDialog();
        case 7:
        case 8:
            note(QStringLiteral("dialog: Cancel"));
            dialog.cancel().click();
            m_after = [this]() -> QString {
                return m_panel.settingsDialog().isShown() ? QStringLiteral("Cancel left it open")
                                                          : QString();
            };
            break;
        default:
            note(QStringLiteral("dialog: Restore Defaults"));
            dialog.restoreDefaults().click();
            m_after = [this]() -> QString {
                return m_panel.core.portSettings() == PortSettings()
                           ? QString()
                           : QStringLiteral("Restore Defaults left other settings");
            };
            break;
        }
    }

    void confirmDialog() {
        note(QStringLiteral("dialog: Ok"));
        // Settings go to the port in order, and the first refusal stops the rest.
        bool applied = false;
        if (m_panel.port.isOpen())
            expectMessage(QStringLiteral("Port already open."), kAppTitle);
        else if (!m_settingsRefusal.isEmpty())
            expectMessage(m_settingsRefusal, kAppTitle);
        else
            applied = true;
        m_panel.settingsDialog().ok().click();
        m_after = [this, applied]() -> QString {
            if (m_panel.settingsDialog().isShown())
                return QStringLiteral("Ok left the dialog open");
            const PortSettings& settings = m_panel.core.portSettings();
            if (applied && (m_panel.port.name() != settings.lineName ||
                            m_panel.port.settings() != settings.line))
                return QStringLiteral("Ok did not bring the settings to the port");
            return {};
        };
    }

    // --- the checks after every step ---

    QString check() {
        if (m_after) {
            const QString problem = m_after();
            if (!problem.isEmpty())
                return problem;
        }
        for (const auto& part :
             {&Session::checkEntryClock, &Session::checkTitle, &Session::checkLink,
              &Session::checkDisplays, &Session::checkMessages, &Session::checkLine}) {
            const QString problem = (this->*part)();
            if (!problem.isEmpty())
                return problem;
        }
        return {};
    }

    QString checkEntryClock() {
        const ClockValues& entry = m_panel.core.entry().entryClock();
        struct Value {
            const char* name;
            QString text;
            int low;
            int high;
            MemorySelector* selector;
            int first;
        };
        const Value values[] = {{"hour", entry.hour, 0, 23, &m_panel.hour, 0},
                                {"minute", entry.minute, 0, 59, &m_panel.minute, 0},
                                {"second", entry.second, 0, 59, &m_panel.second, 0},
                                {"month", entry.month, 1, 12, &m_panel.month, 1},
                                {"year", entry.year, 0, 99, &m_panel.year, 0},
                                {"day", entry.day, 1, 31, nullptr, 1}};
        for (const Value& value : values) {
            const std::optional<int> number = twoDigitValue(value.text);
            if (!number || *number < value.low || *number > value.high)
                return QStringLiteral("entry %1 is \"%2\"")
                    .arg(QLatin1String(value.name), value.text);
            if (value.selector && (value.selector->listIndex() != *number - value.first ||
                                   value.selector->text() != value.text))
                return QStringLiteral("the %1 selector shows \"%2\" (entry %3), entry is \"%4\"")
                    .arg(QLatin1String(value.name), value.selector->text())
                    .arg(value.selector->listIndex())
                    .arg(value.text);
        }
        if (m_panel.visibleDayCount() != 1)
            return QStringLiteral("%1 day lists are showing").arg(m_panel.visibleDayCount());
        const int last = lastDay(entry.month.toInt(), entry.year.toInt());
        const MemorySelector* shown = m_panel.visibleDay();
        if (shown != &m_panel.day[std::size_t(last - 28)] || shown->count() != last)
            return QStringLiteral("the day list of %1 days shows for month %2 of year %3")
                .arg(shown->count())
                .arg(entry.month, entry.year);
        if (entry.day.toInt() > last)
            return QStringLiteral("entry day %1 does not exist in month %2 of year %3")
                .arg(entry.day, entry.month, entry.year);
        if (shown->listIndex() != entry.day.toInt() - 1 || shown->text() != entry.day)
            return QStringLiteral("the day list shows \"%1\", entry day is \"%2\"")
                .arg(shown->text(), entry.day);
        return {};
    }

    QString checkTitle() {
        const int index = m_panel.address.listIndex();
        if (index >= 0 && m_panel.core.titles().titleFor(index) != m_panel.title.text())
            return QStringLiteral("address %1 stores \"%2\", the title box shows \"%3\"")
                .arg(m_panel.address.entry(index), m_panel.core.titles().titleFor(index),
                     m_panel.title.text());
        return {};
    }

    QString checkLink() {
        const bool open = m_panel.port.isOpen();
        // Until the first connect "Disconnect" still lies visible beneath "CONNECT".
        const bool disconnectShowing = open || !m_everConnected;
        if (m_panel.connectButton().isVisible() == open ||
            m_panel.disconnectButton().isVisible() != disconnectShowing ||
            !m_panel.settingButton().isVisible())
            return QStringLiteral("the menu buttons do not show a %1 port")
                .arg(open ? QLatin1String("open") : QLatin1String("closed"));
        const QString link =
            open ? openPortStatusText(m_panel.port.lineLabel(), m_panel.port.settings())
                 : closedPortStatusText();
        const QStringList expected{m_noticeShown.isValid() ? kLeftOutNotice
                                                           : QStringLiteral("Status"),
                                   link, m_expectedDatePanel};
        if (m_panel.statusBar.panels() != expected)
            return QStringLiteral("the status bar shows [%1], expected [%2]")
                .arg(m_panel.statusBar.panels().join(QLatin1Char('|')),
                     expected.join(QLatin1Char('|')));

        const PortSettings& settings = m_panel.core.portSettings();
        // "BAUD,P,D,S" in selector order: baud rate, data bits, parity, stop bits.
        const QStringList parts = settings.line.text().split(QLatin1Char(','));
        const QString held[] = {parts.at(0), parts.at(2), parts.at(1), parts.at(3),
                                QStringLiteral("Comport %1").arg(settings.lineName.number)};
        const QStringList parities{QStringLiteral("E"), QStringLiteral("O"), QStringLiteral("N")};
        if (settings.lineName.number < 1 || settings.lineName.number > 16 ||
            !SettingsDialogLogic::entries(SettingsDialogLogic::kBaudRate)
                 .contains(held[SettingsDialogLogic::kBaudRate]) ||
            !SettingsDialogLogic::entries(SettingsDialogLogic::kDataBits)
                 .contains(held[SettingsDialogLogic::kDataBits]) ||
            !parities.contains(held[SettingsDialogLogic::kParity]) ||
            !SettingsDialogLogic::entries(SettingsDialogLogic::kStopBits)
                 .contains(held[SettingsDialogLogic::kStopBits]))
            return QStringLiteral("port settings %1 on port %2 are not a valid choice")
                .arg(settings.line.text())
                .arg(settings.lineName.number);

        // A selection showing in the dialog is the setting held.
        MemorySettingsDialog& dialog = m_panel.settingsDialog();
        if (!dialog.isLoaded())
            return {};
        for (int index = 0; index < SettingsDialogLogic::kSelectorCount; ++index) {
            const MemorySelector& selector = dialog.config(index);
            if (selector.listIndex() < 0)
                continue;
            QString shown = selector.text();
            if (index == SettingsDialogLogic::kParity)
                shown = shown.left(1);
            if (shown != held[index])
                return QStringLiteral("the dialog shows \"%1\" but the setting is \"%2\"")
                    .arg(selector.text(), held[index]);
        }
        return {};
    }

    QString checkDisplays() {
        if (m_panel.timeDisplay.text() != m_expectedTime ||
            m_panel.dateDisplay.text() != m_expectedDate)
            return QStringLiteral("the displays show %1 %2, expected %3 %4")
                .arg(m_panel.timeDisplay.text(), m_panel.dateDisplay.text(), m_expectedTime,
                     m_expectedDate);
        return {};
    }

    QString checkMessages() {
        const auto& shown = m_panel.messages.shown();
        if (int(shown.size()) != m_expectedMessages.size())
            return QStringLiteral("%1 message boxes shown, expected %2 (last expected: %3)")
                .arg(shown.size())
                .arg(m_expectedMessages.size())
                .arg(m_expectedMessages.value(m_expectedMessages.size() - 1));
        for (int index = m_messagesChecked; index < int(shown.size()); ++index) {
            const QString seen = shown[std::size_t(index)].title + QStringLiteral(" | ") +
                                 shown[std::size_t(index)].text;
            if (seen != m_expectedMessages[index])
                return QStringLiteral("message \"%1\", expected \"%2\"")
                    .arg(seen, m_expectedMessages[index]);
        }
        m_messagesChecked = int(shown.size());
        return {};
    }

    QString checkLine() {
        const QByteArray& written = m_panel.port.written();
        const QByteArray fresh = written.mid(m_bytesChecked);
        if (written.size() != m_expected.size() || fresh != m_expected.mid(m_bytesChecked))
            return QStringLiteral("the line got [%1], expected [%2]")
                .arg(QString::fromLatin1(fresh.toHex(' ')),
                     QString::fromLatin1(m_expected.mid(m_bytesChecked).toHex(' ')));
        m_bytesChecked = int(written.size());

        // Title bytes go out one by one, each clock frame in one write.
        const std::vector<QByteArray>& writes = m_panel.port.writes();
        for (std::size_t index = m_writesChecked; index < writes.size(); ++index) {
            const QByteArray& write = writes[index];
            if (write.size() != 1 &&
                !(write.size() == 4 && write[0] == '/' && clockFieldIndex(write[1]) >= 0))
                return QStringLiteral("a write of [%1]").arg(QString::fromLatin1(write.toHex(' ')));
        }
        m_writesChecked = writes.size();

        // Every step ends on a frame boundary, so whatever the decoder still holds is a fault.
        std::vector<LineEvent> events = m_decoder.feed(fresh);
        for (LineEvent& held : m_decoder.finish())
            events.push_back(held);
        int field = 0;
        for (const LineEvent& event : events) {
            switch (event.kind) {
            case LineEvent::Kind::Invalid:
                return QStringLiteral("undecodable: %1").arg(describeEvent(event));
            case LineEvent::Kind::ClockField:
                if (field == kClockFieldCount || event.letter != kClockFields[field].letter)
                    return QStringLiteral("clock frame %1 out of order").arg(describeEvent(event));
                ++field;
                break;
            case LineEvent::Kind::ClockGroup: {
                if (field != kClockFieldCount)
                    return QStringLiteral("a clock group of %1 frames").arg(field);
                field = 0;
                const ClockSetting& clock = event.clock;
                if (clock.day > lastDay(clock.month, clock.year))
                    return QStringLiteral("the devices were sent day %1 of month %2 in year %3")
                        .arg(clock.day)
                        .arg(clock.month)
                        .arg(clock.year);
                break;
            }
            case LineEvent::Kind::Title:
            case LineEvent::Kind::Clear:
                if (field != 0)
                    return QStringLiteral("a title frame inside a clock group");
                break;
            }
        }
        if (field != 0)
            return QStringLiteral("a clock group cut off after %1 frames").arg(field);
        return {};
    }

    std::mt19937 m_random;
    std::discrete_distribution<int> m_choose = chooser();
    MemoryPanel m_panel{kStart};
    FrameDecoder m_decoder;

    // What the panel is expected to have done so far, and how much of it has been compared.
    QByteArray m_expected;
    int m_bytesChecked = 0;
    std::size_t m_writesChecked = 0;
    QStringList m_expectedMessages;
    int m_messagesChecked = 0;
    QString m_expectedTime;
    QString m_expectedDate;
    QString m_expectedDatePanel;
    QDateTime m_noticeShown; // invalid: the first panel shows its own text
    qint64 m_lastMinute = -1; // the last minute whose second 00 the sync dealt with
    std::array<QString, 255> m_titles;
    bool m_twelveHour = false;
    std::optional<qint64> m_lastPolled;
    QString m_openRefusal;
    QString m_settingsRefusal;
    bool m_everConnected = false;

    int m_ticksToCome = 0;
    std::function<QString()> m_after;
    std::deque<QString> m_recent;
};

const Session::Action Session::kActions[] = {
    {18, &Session::tickOnce},
    {5, &Session::timerFires},
    {2, &Session::jumpToEdge},
    {0.5, &Session::jumpAnywhere},
    {1, &Session::tickDuringNextBox},
    {3, &Session::toggleSync},
    {1, &Session::pickHourMode},
    {10, &Session::pickClockSelector},
    {5, &Session::typeIntoClockSelector},
    {2, &Session::updateTime},
    {3, &Session::setTime},
    {5, &Session::pickAddress},
    {2, &Session::typeIntoAddress},
    {4, &Session::typeTitle},
    {2, &Session::pasteTitle},
    {2, &Session::clearTitle},
    {3, &Session::sendTitle},
    {4, &Session::clickMenu},
    {1, &Session::loseThePort},
    {1, &Session::troubleWithTheDevice},
    {5, &Session::useDialog},
};

std::discrete_distribution<int> Session::chooser() {
    std::vector<double> weights;
    for (const Action& action : kActions)
        weights.push_back(action.weight);
    return std::discrete_distribution<int>(weights.begin(), weights.end());
}

std::optional<quint32> numberFromEnvironment(const char* name) {
    if (!qEnvironmentVariableIsSet(name))
        return std::nullopt;
    bool ok = false;
    const quint32 value = qEnvironmentVariable(name).toUInt(&ok);
    if (!ok)
        return std::nullopt;
    return value;
}

} // namespace

class TestRandomized : public QObject {
    Q_OBJECT

private slots:
    void operatorSessions_data() {
        QTest::addColumn<quint32>("seed");
        if (const std::optional<quint32> seed = numberFromEnvironment("VELK_SEED")) {
            QTest::addRow("seed %u", *seed) << *seed;
            return;
        }
        for (quint32 seed = 1; seed <= kSeedCount; ++seed)
            QTest::addRow("seed %u", seed) << seed;
    }

    void operatorSessions() {
        QFETCH(quint32, seed);
        const int steps = int(numberFromEnvironment("VELK_STEPS").value_or(kStepCount));
        Session session(seed);
        for (int step = 1; step <= steps; ++step) {
            const QString problem = session.step();
            if (problem.isEmpty())
                continue;
            const QString report =
                QStringLiteral("seed %1, step %2: %3\nlast actions:\n%4\nreplay: VELK_SEED=%1")
                    .arg(seed)
                    .arg(step)
                    .arg(problem, session.recentActions());
            QVERIFY2(false, qPrintable(report));
        }
    }
};

QTEST_GUILESS_MAIN(TestRandomized)
#include "tst_randomized.moc"
