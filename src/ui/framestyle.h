#pragma once

#include <QProxyStyle>

namespace velk {

// Frames drawn as a plain etched line on their container's own background, the caption set
// into the top line near the left, where some styles would tint the whole inside of a group box
// and put the caption above it.
class FrameStyle : public QProxyStyle {
    Q_OBJECT
public:
    FrameStyle() = default;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget = nullptr) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                         SubControl subControl, const QWidget* widget = nullptr) const override;
};

} // namespace velk
