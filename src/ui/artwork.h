#pragma once

#include <QCursor>
#include <QIcon>
#include <QImage>
#include <QPixmap>
#include <QSize>
#include <QString>

#include <array>

namespace velk {

// One of the program's own pictures. It is drawn as a vector image, resources/images/NAME.svg,
// and carried rendered from that drawing at its size and at twice its size, as bare
// premultiplied RGBA bytes (NAME.rgba, NAME@2x.rgba, made by scripts/render-artwork): showing
// it at start-up then neither parses SVG nor decodes an image file.
struct Picture {
    const char* name;
    QSize size;                        // logical pixels
    const char* description = nullptr; // what a screen reader says for it where it stands alone
};

namespace artwork {
inline constexpr Picture kLogo{"logo", QSize(280, 120), "a clock and title display"};
inline constexpr Picture kBanner{"banner", QSize(372, 51), "displays on one line"};
inline constexpr Picture kBadge{"badge", QSize(26, 28), "an alarm clock"};
inline constexpr Picture kTitlePicture{"title", QSize(48, 48), "a title display"};
inline constexpr Picture kClockPicture{"clock", QSize(48, 48), "a clock and a calendar"};
inline constexpr Picture kPortPicture{"port", QSize(48, 48), "a serial port"};
inline constexpr Picture kConnectPicture{"connect", QSize(48, 48)};
inline constexpr Picture kSettingPicture{"setting", QSize(48, 48)};
inline constexpr Picture kDisconnectPicture{"disconnect", QSize(48, 48)};
inline constexpr Picture kHandCursor{"hand", QSize(32, 32)};

inline constexpr std::array kAll{
    kLogo,        kBanner,         kBadge,          kTitlePicture,      kClockPicture,
    kPortPicture, kConnectPicture, kSettingPicture, kDisconnectPicture, kHandCursor};

// The scales each picture is carried at.
inline constexpr std::array kScales{1, 2};
} // namespace artwork

// The file name of `picture` rendered at `scale`: "logo.rgba", "logo@2x.rgba".
inline QString pictureFileName(const Picture& picture, int scale) {
    const QString name = QLatin1String(picture.name);
    return scale == 1 ? name + QStringLiteral(".rgba")
                      : QStringLiteral("%1@%2x.rgba").arg(name).arg(scale);
}

// The byte layout of the carried renderings.
inline constexpr QImage::Format kPictureFormat = QImage::Format_RGBA8888_Premultiplied;

// The rendering of `picture` carried at `scale`; a null image if it is missing or malformed.
QImage carriedPicture(const Picture& picture, int scale);

// The picture at its size in logical pixels, sharp on high-resolution screens.
QPixmap picturePixmap(const Picture& picture);

// The picture for a screen of `ratio` device pixels per logical pixel: the rendering carried at
// that scale, or the nearest larger one scaled down smoothly.
QPixmap picturePixmap(const Picture& picture, qreal ratio);

// The icon shared by the main window and the settings dialog.
QIcon programIcon();

// The hand-shaped pointer every command button shows.
QCursor handPointer();

} // namespace velk
