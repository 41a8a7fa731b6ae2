#pragma once

#include "controls/button.h"
#include "controls/selector.h"

#include <QDialog>
#include <QStringList>
#include <array>
#include <memory>

class QLabel;

namespace velk {

class FormBuilder;
class QtButton;
class QtSelector;

// The port settings dialog "Configuration", laid out as drawn. It holds no behaviour: the
// handlers (the selections, Ok, Cancel, Restore Defaults) are bound from outside, and Ok and
// Cancel hide it. Escape hides it like Cancel.
class ConfigureDialog : public QDialog {
    Q_OBJECT
public:
    // `entries` are the lists of the selectors 0 to 4, in list order.
    explicit ConfigureDialog(const std::array<QStringList, 5>& entries, QWidget* parent = nullptr);
    ~ConfigureDialog() override;

    // The selectors 0 baud rate, 1 data bits, 2 parity, 3 stop bits, 4 port.
    Selector& config(int index);
    Button& ok();
    Button& cancel();
    Button& restoreDefaults();
    // One line under the settings, hidden while `note` is empty.
    void showNote(const QString& note);

signals:
    // The operator closed the dialog with the window's close control: it is to be discarded
    // with its selections, and the next opening starts afresh.
    void discarded();

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    static QRect inFrame(int left, int top, int width, int height);
    void buildRows(const FormBuilder& form, QWidget* frame,
                   const std::array<QStringList, 5>& entries);
    void buildButtons(const FormBuilder& form, QWidget* frame);
    void setFocusOrder();

    std::array<std::unique_ptr<QtSelector>, 5> m_configs;
    std::unique_ptr<QtButton> m_ok;
    std::unique_ptr<QtButton> m_cancel;
    std::unique_ptr<QtButton> m_restoreDefaults;
    bool m_centred = false;
    QLabel* m_note = nullptr; // made on the first note: most runs never show one
};

} // namespace velk
