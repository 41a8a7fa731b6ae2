#include "ui/qtstatusbar.h"

#include <QFontMetrics>
#include <QLabel>
#include <QStatusBar>

namespace velk {

namespace {
constexpr int kPanelPadding = 3;
} // namespace

QtStatusBar::QtStatusBar(QStatusBar* bar) : m_bar(bar) {
    m_bar->setSizeGripEnabled(false);
}

void QtStatusBar::appendPanel(const QString& text, int width, Width kind) {
    QLabel* label = makePanel();
    label->setText(text);
    if (kind == Width::Fixed) {
        label->setFixedWidth(width);
        m_bar->insertWidget(int(m_panels.size()), label);
    } else {
        label->setMinimumWidth(1);
        label->setMaximumWidth(width);
        m_bar->insertWidget(int(m_panels.size()), label, 1);
    }
    m_panels.append(label);
}

QLabel* QtStatusBar::panel(int position) const {
    return m_panels.value(position - 1, nullptr);
}

int QtStatusBar::panelCount() const {
    return int(m_panels.size());
}

void QtStatusBar::insertPanel(int position) {
    const int index = qBound(0, position - 1, int(m_panels.size()));
    QLabel* label = makePanel();
    m_bar->insertWidget(index, label);
    m_panels.insert(index, label);
    fitPanelToText(index + 1);
}

QString QtStatusBar::panelText(int position) const {
    const QLabel* label = panel(position);
    return label ? label->text() : QString();
}

void QtStatusBar::setPanelText(int position, const QString& text) {
    if (QLabel* label = panel(position))
        label->setText(text);
}

void QtStatusBar::fitPanelToText(int position) {
    QLabel* label = panel(position);
    if (!label)
        return;
    // The advance counts trailing blanks, which a label's own size hint would drop.
    const int textWidth = label->fontMetrics().horizontalAdvance(label->text());
    const QMargins margins = label->contentsMargins();
    label->setFixedWidth(textWidth + margins.left() + margins.right() + 1);
}

QLabel* QtStatusBar::makePanel() const {
    auto* label = new QLabel(m_bar);
    label->setTextFormat(Qt::PlainText);
    label->setContentsMargins(kPanelPadding, 0, kPanelPadding, 0);
    return label;
}

} // namespace velk
