#include "clocksync/statuspanels.h"

#include "controls/localclock.h"
#include "controls/statusbar.h"

#include <QLocale>

namespace velk {

StatusPanels::StatusPanels(StatusBar& bar, const LocalClock& clock) : m_bar(bar), m_clock(clock) {}

void StatusPanels::showNotice(const QString& text) {
    if (!m_noticeShown.isValid())
        m_ownText = m_bar.firstText();
    m_bar.setFirstText(text);
    m_noticeShown = m_clock.now();
}

void StatusPanels::replaceOwnText(const QString& text) {
    if (!m_replaced) {
        m_replacedText = m_noticeShown.isValid() ? m_ownText : m_bar.firstText();
        m_replaced = true;
    }
    setOwnText(text);
}

void StatusPanels::restoreOwnText() {
    if (!m_replaced)
        return;
    m_replaced = false;
    setOwnText(m_replacedText);
}

void StatusPanels::setOwnText(const QString& text) {
    if (m_noticeShown.isValid())
        m_ownText = text;
    else
        m_bar.setFirstText(text);
}

void StatusPanels::tick() {
    showDate();
    if (!m_noticeShown.isValid())
        return;
    const qint64 shownFor = m_noticeShown.secsTo(m_clock.now());
    // A clock set back counts as time up, so a notice never stays for good.
    if (shownFor >= kNoticeSeconds || shownFor < 0) {
        m_bar.setFirstText(m_ownText);
        m_noticeShown = QDateTime();
    }
}

void StatusPanels::showDate() {
    m_bar.setDateText(QLocale::system().toString(m_clock.now().date(), QLocale::ShortFormat));
}

} // namespace velk
