#pragma once

#include <QString>

namespace velk {

// Modal message boxes with an OK button only. The one-second tick keeps running while one is open.
class MessageBox {
public:
    enum class Icon { None, Information };

    virtual ~MessageBox() = default;
    virtual void show(const QString& text, const QString& title, Icon icon) = 0;
};

// Title of every box that names no other.
inline const QString kAppTitle = QStringLiteral("VELK-Pro");

} // namespace velk
