#pragma once

#include "controls/windowcontrols.h"

#include <QWidget>
#include <array>
#include <memory>

class QGroupBox;

namespace velk {

class CloseRequestFilter;
class FormBuilder;
class QtButton;
class QtDayLists;
class QtCheckBox;
class QtMessageBox;
class QtOptionGroup;
class QtSelector;
class QtStatusBar;
class QtTextBox;

// The panel's main window "VELK-PRO", laid out as drawn. It holds no behaviour: the handlers
// are bound to its controls from outside.
class MainWindow : public QWidget {
    Q_OBJECT
public:
    explicit MainWindow(QWidget* parent = nullptr);
    ~MainWindow() override;

    MainWindowControls& controls() { return *m_controls; }

    // The version as the window names it, major and minor only: "V 1.0" for 1.0.0.
    static QString versionCaption(const QString& version);

signals:
    // The operator closed the window; the program ends with it, whatever else is open.
    void closed();

protected:
    void showEvent(QShowEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void buildHeader(const FormBuilder& form);
    void buildTitleFrame(const FormBuilder& form);
    void buildTimeFrame(const FormBuilder& form);
    void buildSystemFrame(const FormBuilder& form);
    void buildBottom(const FormBuilder& form);
    void setFocusOrder();
    void nameForScreenReaders();
    void watchReturnKey();
    void gatherControls();
    std::unique_ptr<QtSelector> makeSelector(const FormBuilder& form, QWidget* parent,
                                             const QString& name, const QRect& twips,
                                             const QStringList& entries) const;
    std::unique_ptr<QtButton> makeCommand(const FormBuilder& form, QWidget* parent,
                                          const QString& name, const QString& caption,
                                          const QRect& twips) const;

    std::unique_ptr<CloseRequestFilter> m_closeRequests;
    std::unique_ptr<QtSelector> m_address;
    std::unique_ptr<QtSelector> m_hour;
    std::unique_ptr<QtSelector> m_minute;
    std::unique_ptr<QtSelector> m_second;
    std::unique_ptr<QtSelector> m_month;
    std::unique_ptr<QtSelector> m_year;
    std::unique_ptr<QtDayLists> m_days;
    std::unique_ptr<QtTextBox> m_title;
    std::unique_ptr<QtTextBox> m_timeDisplay;
    std::unique_ptr<QtTextBox> m_dateDisplay;
    std::unique_ptr<QtOptionGroup> m_hourMode;
    std::unique_ptr<QtCheckBox> m_sync;
    std::array<std::unique_ptr<QtButton>, 3> m_menu;
    std::unique_ptr<QtButton> m_clear;
    std::unique_ptr<QtButton> m_send;
    std::unique_ptr<QtButton> m_setTime;
    std::unique_ptr<QtButton> m_updateTime;
    std::unique_ptr<QtStatusBar> m_statusBar;
    std::unique_ptr<QtMessageBox> m_messageBox;
    std::unique_ptr<MainWindowControls> m_controls;
    bool m_centred = false;
    bool m_painted = false;
};

} // namespace velk
