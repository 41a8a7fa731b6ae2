#pragma once

#include <QAbstractNativeEventFilter>

class QWidget;

namespace velk {

// The window system's request to close a window (its close box, the system menu, Alt+F4), taken
// before Qt sees it and answered by closing the window. Qt itself drops such a request while a
// modal message box is open, yet closing the main window ends the program whatever is open.
class CloseRequestFilter : public QAbstractNativeEventFilter {
public:
    // Watches for requests to close `window`, from the moment it is made.
    explicit CloseRequestFilter(QWidget& window);

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

private:
    QWidget& m_window;
};

} // namespace velk
