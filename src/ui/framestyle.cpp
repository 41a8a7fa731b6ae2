#include "ui/framestyle.h"

#include <QPainter>
#include <QStyleOptionGroupBox>
#include <qdrawutil.h>

namespace velk {

namespace {
constexpr int kCaptionIndent = 6;
constexpr int kCaptionPadding = 2;
} // namespace

void FrameStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                                    QPainter* painter, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect frame = box->rect.adjusted(0, box->fontMetrics.height() / 2, 0, 0);
    qDrawShadeRect(painter, frame, box->palette, true, 1, 0, nullptr);
    if (box->text.isEmpty())
        return;
    // The caption interrupts the top line.
    const QRect caption = subControlRect(CC_GroupBox, box, SC_GroupBoxLabel, widget);
    painter->fillRect(caption, box->palette.window());
    drawItemText(painter, caption, Qt::AlignCenter | Qt::TextShowMnemonic, box->palette,
                 box->state & State_Enabled, box->text, QPalette::WindowText);
}

QRect FrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                 SubControl subControl, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box || subControl != SC_GroupBoxLabel)
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    const QSize text = box->fontMetrics.size(Qt::TextShowMnemonic, box->text);
    return QRect(kCaptionIndent, 0, text.width() + 2 * kCaptionPadding, text.height());
}

} // namespace velk
