#pragma once

#include <QByteArray>

namespace velk {

// The platform plugin request (QT_QPA_PLATFORM) the panel starts with, given the one the user
// set (empty when none). A choice the user made is always kept.
QByteArray platformRequest(const QByteArray& requested);

// Puts platformRequest() into QT_QPA_PLATFORM; runs before the QApplication exists.
void requestFontEngine();

} // namespace velk
