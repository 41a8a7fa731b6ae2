#pragma once

#include <QDateTime>
#include <QString>

namespace velk {

class LocalClock;
class StatusBar;

// The status bar's own panels: the first one, which carries short notices for the operator, and
// the last one, the date. The link panel between them belongs to the port control.
class StatusPanels {
public:
    // How long a notice stands before the first panel shows its own text again.
    static constexpr int kNoticeSeconds = 5;

    StatusPanels(StatusBar& bar, const LocalClock& clock);

    // Shows `text` in the first panel for a few seconds, without a message box.
    void showNotice(const QString& text);
    // Puts `text` in the first panel in place of its own until restoreOwnText(). A notice
    // showing meanwhile still stands its few seconds and then gives way to `text`.
    void replaceOwnText(const QString& text);
    void restoreOwnText();
    // The date as the clock has it, in the system's short form.
    void showDate();
    // Once a second: the date, and the end of a notice whose time is up.
    void tick();

private:
    StatusBar& m_bar;
    const LocalClock& m_clock;
    void setOwnText(const QString& text);

    QString m_ownText;       // the first panel's text while a notice covers it
    QDateTime m_noticeShown; // invalid: no notice showing
    QString m_replacedText;  // the first panel's own text while replaced
    bool m_replaced = false;
};

inline const QString kLeftOutNotice =
    QStringLiteral("Characters the display cannot show were left out.");

} // namespace velk
