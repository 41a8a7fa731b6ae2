#pragma once

#include <QRect>

namespace velk {

// The windows are drawn in twips: 1440 to the inch, 15 to a logical pixel at 96 dots per inch.
// Qt scales logical pixels to the screen itself.
constexpr int kTwipsPerPixel = 15;

constexpr int twipsToPixels(int twips) {
    return (twips + kTwipsPerPixel / 2) / kTwipsPerPixel;
}

inline QRect twipsRect(int left, int top, int width, int height) {
    return QRect(twipsToPixels(left), twipsToPixels(top), twipsToPixels(width),
                 twipsToPixels(height));
}

inline QRect twipsRect(const QRect& twips) {
    return twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
}

} // namespace velk
