#pragma once

#include <QCursor>
#include <QIcon>
#include <QPixmap>
#include <QSize>
#include <QString>

namespace velk {

// The program's own pictures, kept as vector images in the resources.
namespace artwork {
inline const QString kLogo = QStringLiteral(":/images/logo.svg");                    // 280 x 120
inline const QString kBanner = QStringLiteral(":/images/banner.svg");                // 372 x 51
inline const QString kBadge = QStringLiteral(":/images/badge.svg");                  // 26 x 28
inline const QString kTitlePicture = QStringLiteral(":/images/title.svg");           // 48 x 48
inline const QString kClockPicture = QStringLiteral(":/images/clock.svg");           // 48 x 48
inline const QString kPortPicture = QStringLiteral(":/images/port.svg");             // 48 x 48
inline const QString kConnectPicture = QStringLiteral(":/images/connect.svg");       // 48 x 48
inline const QString kSettingPicture = QStringLiteral(":/images/setting.svg");       // 48 x 48
inline const QString kDisconnectPicture = QStringLiteral(":/images/disconnect.svg"); // 48 x 48
inline const QString kHandCursor = QStringLiteral(":/images/hand.svg");              // 32 x 32
} // namespace artwork

// Renders a vector image at `size` logical pixels, sharp on high-resolution screens.
QPixmap renderImage(const QString& resource, const QSize& size);

// The icon shared by the main window and the settings dialog.
QIcon programIcon();

// The hand-shaped pointer every command button shows.
QCursor handPointer();

} // namespace velk
