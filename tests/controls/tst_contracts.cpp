// The notification rules of the control contracts, run once against the in-memory controls and
// once against the Qt adapters, so handlers tested on the former behave the same in the window.

#include "doubles/memorycontrols.h"
#include "ui/qtbutton.h"
#include "ui/qtcheckbox.h"
#include "ui/qtmessagebox.h"
#include "ui/qtoptiongroup.h"
#include "ui/qtselector.h"
#include "ui/qtstatusbar.h"
#include "ui/qttextbox.h"

#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QTest>
#include <QTimer>
#include <memory>

using namespace velk;

namespace {

const QString kMemory = QStringLiteral("memory");
const QString kQt = QStringLiteral("qt");

// A control together with the operator's ways of using it.
class SelectorRig {
public:
    virtual ~SelectorRig() = default;
    virtual Selector& selector() = 0;
    virtual void pick(int index) = 0;
    // Replaces the field's text by typing `text`.
    virtual void type(const QString& text) = 0;
};

class TextBoxRig {
public:
    virtual ~TextBoxRig() = default;
    virtual TextBox& box() = 0;
    // Types at the end of the text.
    virtual void type(const QString& text) = 0;
    // Replaces the whole text by pasting.
    virtual void paste(const QString& text) = 0;
};

class OptionRig {
public:
    virtual ~OptionRig() = default;
    virtual OptionGroup& group() = 0;
    virtual void click(int index) = 0;
};

class ButtonRig {
public:
    virtual ~ButtonRig() = default;
    virtual Button& button() = 0;
    virtual void click() = 0;
};

class MemorySelectorRig : public SelectorRig {
public:
    explicit MemorySelectorRig(const QStringList& entries) : m_selector(entries) {}
    Selector& selector() override { return m_selector; }
    void pick(int index) override { m_selector.pick(index); }
    void type(const QString& text) override { m_selector.type(text); }

private:
    MemorySelector m_selector;
};

// Qt controls live in a shown window so that mouse and keyboard reach them as they would.
class QtRig {
protected:
    QtRig() {
        m_window.resize(300, 200);
        m_window.show();
        if (!QTest::qWaitForWindowExposed(&m_window))
            qWarning("test window not exposed");
    }
    QWidget m_window;
};

class QtSelectorRig : public SelectorRig, QtRig {
public:
    explicit QtSelectorRig(const QStringList& entries)
        : m_combo(new QComboBox(&m_window)), m_selector(m_combo, entries) {
        m_combo->setGeometry(10, 10, 120, 24);
        m_combo->show();
    }
    Selector& selector() override { return m_selector; }
    QComboBox* combo() const { return m_combo; }

    // Opens the list, moves to the entry and presses Enter, as an operator picks by keyboard.
    void pick(int index) override {
        m_combo->showPopup();
        QAbstractItemView* view = m_combo->view();
        view->setCurrentIndex(m_combo->model()->index(index, 0));
        QTest::keyClick(view, Qt::Key_Return);
    }
    void type(const QString& text) override {
        m_combo->setFocus();
        m_combo->lineEdit()->selectAll();
        QTest::keyClicks(m_combo->lineEdit(), text);
    }

private:
    QComboBox* m_combo;
    QtSelector m_selector;
};

class MemoryTextBoxRig : public TextBoxRig {
public:
    explicit MemoryTextBoxRig(int limit) : m_box(limit) {}
    TextBox& box() override { return m_box; }
    void type(const QString& text) override {
        for (const QChar c : text)
            m_box.type(QString(c));
    }
    void paste(const QString& text) override { m_box.paste(text); }

private:
    MemoryTextBox m_box;
};

class QtTextBoxRig : public TextBoxRig, QtRig {
public:
    explicit QtTextBoxRig(int limit) : m_edit(new QLineEdit(&m_window)), m_box(m_edit, limit) {
        m_edit->setGeometry(10, 10, 200, 24);
        m_edit->show();
        m_edit->setFocus();
    }
    TextBox& box() override { return m_box; }
    void type(const QString& text) override {
        m_edit->end(false);
        QTest::keyClicks(m_edit, text);
    }
    void paste(const QString& text) override {
        QApplication::clipboard()->setText(text);
        m_edit->selectAll();
        QTest::keyClick(m_edit, Qt::Key_V, Qt::ControlModifier);
    }

private:
    QLineEdit* m_edit;
    QtTextBox m_box;
};

class MemoryOptionRig : public OptionRig {
public:
    OptionGroup& group() override { return m_group; }
    void click(int index) override { m_group.pick(index); }

private:
    MemoryOptionGroup m_group{2};
};

class QtOptionRig : public OptionRig, QtRig {
public:
    QtOptionRig()
        : m_buttons{new QRadioButton(QStringLiteral("  12 Hour"), &m_window),
                    new QRadioButton(QStringLiteral("  24 Hour"), &m_window)},
          m_group({m_buttons[0], m_buttons[1]}) {
        for (int index = 0; index < 2; ++index) {
            m_buttons[index]->setGeometry(10, 10 + 30 * index, 120, 24);
            m_buttons[index]->show();
        }
    }
    OptionGroup& group() override { return m_group; }
    void click(int index) override { QTest::mouseClick(m_buttons[index], Qt::LeftButton); }

private:
    QRadioButton* m_buttons[2];
    QtOptionGroup m_group;
};

class MemoryButtonRig : public ButtonRig {
public:
    Button& button() override { return m_button; }
    void click() override { m_button.click(); }

private:
    MemoryButton m_button;
};

class QtButtonRig : public ButtonRig, QtRig {
public:
    QtButtonRig() : m_push(new QPushButton(QStringLiteral("C&lear"), &m_window)), m_button(m_push) {
        m_push->setGeometry(10, 10, 80, 24);
        m_push->show();
    }
    Button& button() override { return m_button; }
    void click() override { QTest::mouseClick(m_push, Qt::LeftButton); }

private:
    QPushButton* m_push;
    QtButton m_button;
};

std::unique_ptr<SelectorRig> makeSelector(const QString& kind, const QStringList& entries) {
    if (kind == kQt)
        return std::make_unique<QtSelectorRig>(entries);
    return std::make_unique<MemorySelectorRig>(entries);
}

std::unique_ptr<TextBoxRig> makeTextBox(const QString& kind, int limit) {
    if (kind == kQt)
        return std::make_unique<QtTextBoxRig>(limit);
    return std::make_unique<MemoryTextBoxRig>(limit);
}

std::unique_ptr<OptionRig> makeOptions(const QString& kind) {
    if (kind == kQt)
        return std::make_unique<QtOptionRig>();
    return std::make_unique<MemoryOptionRig>();
}

std::unique_ptr<ButtonRig> makeButton(const QString& kind) {
    if (kind == kQt)
        return std::make_unique<QtButtonRig>();
    return std::make_unique<MemoryButtonRig>();
}

// Counts the handler runs of one control.
struct Runs {
    int clicks = 0;
    int changes = 0;
    QList<int> indices;
};

void watch(Selector& selector, Runs& runs) {
    selector.onClick([&runs] { ++runs.clicks; });
    selector.onChange([&runs] { ++runs.changes; });
}

const QStringList kHours = twoDigitEntries(kHourEntries);
const QString kTwenty = QStringLiteral("Title String ...abcd");

} // namespace

class TestContracts : public QObject {
    Q_OBJECT

private:
    void addKinds() {
        QTest::addColumn<QString>("kind");
        QTest::newRow("memory") << kMemory;
        QTest::newRow("qt") << kQt;
    }

private slots:
    void selectorStartsEmpty_data() { addKinds(); }
    void selectorStartsEmpty() {
        QFETCH(QString, kind);
        auto rig = makeSelector(kind, kHours);
        QCOMPARE(rig->selector().listIndex(), -1);
        QCOMPARE(rig->selector().text(), QString());
        QCOMPARE(rig->selector().count(), 24);
        QCOMPARE(rig->selector().entry(23), QStringLiteral("23"));
    }

    void setListIndexRunsClickOnce_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("index");
        for (const QString& kind : {kMemory, kQt}) {
            QTest::addRow("%s first", qPrintable(kind)) << kind << 0;
            QTest::addRow("%s last", qPrintable(kind)) << kind << 23;
        }
    }
    void setListIndexRunsClickOnce() {
        QFETCH(QString, kind);
        QFETCH(int, index);
        auto rig = makeSelector(kind, kHours);
        Runs runs;
        watch(rig->selector(), runs);
        QVERIFY(rig->selector().setListIndex(index));
        QCOMPARE(runs.clicks, 1);
        QCOMPARE(rig->selector().listIndex(), index);
        QCOMPARE(rig->selector().text(), kHours.at(index));
        // Selecting the selected entry again still notifies.
        QVERIFY(rig->selector().setListIndex(index));
        QCOMPARE(runs.clicks, 2);
        QCOMPARE(runs.changes, 0);
    }

    void setListIndexRefusesOutOfRange_data() {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("index");
        for (const QString& kind : {kMemory, kQt}) {
            QTest::addRow("%s none", qPrintable(kind)) << kind << -1;
            QTest::addRow("%s past end", qPrintable(kind)) << kind << 24;
        }
    }
    void setListIndexRefusesOutOfRange() {
        QFETCH(QString, kind);
        QFETCH(int, index);
        auto rig = makeSelector(kind, kHours);
        rig->selector().setListIndex(5);
        Runs runs;
        watch(rig->selector(), runs);
        QVERIFY(!rig->selector().setListIndex(index));
        QCOMPARE(rig->selector().listIndex(), 5);
        QCOMPARE(rig->selector().text(), QStringLiteral("05"));
        QCOMPARE(runs.clicks, 0);
        QCOMPARE(runs.changes, 0);
    }

    void pickRunsClickOnce_data() { addKinds(); }
    void pickRunsClickOnce() {
        QFETCH(QString, kind);
        auto rig = makeSelector(kind, kHours);
        Runs runs;
        watch(rig->selector(), runs);
        int seenIndex = -2;
        rig->selector().onClick([&] {
            ++runs.clicks;
            seenIndex = rig->selector().listIndex();
        });
        rig->pick(7);
        QCOMPARE(runs.clicks, 1);
        QCOMPARE(seenIndex, 7); // the handler already sees the new selection
        QCOMPARE(rig->selector().text(), QStringLiteral("07"));
        QCOMPARE(runs.changes, 0);
    }

    void typingRunsChangeAndClearsIndex_data() { addKinds(); }
    void typingRunsChangeAndClearsIndex() {
        QFETCH(QString, kind);
        auto rig = makeSelector(kind, kHours);
        rig->selector().setListIndex(3);
        Runs runs;
        watch(rig->selector(), runs);
        int seenIndex = -2;
        rig->selector().onChange([&] {
            ++runs.changes;
            seenIndex = rig->selector().listIndex();
        });
        rig->type(QStringLiteral("9"));
        QCOMPARE(runs.changes, 1);
        QCOMPARE(seenIndex, -1);
        QCOMPARE(rig->selector().listIndex(), -1);
        QCOMPARE(rig->selector().text(), QStringLiteral("9"));
        QCOMPARE(runs.clicks, 0);
    }

    // Undoing a typed edit selects the entry that was selected before; the text follows.
    void reselectAfterTypingRestoresEntry_data() { addKinds(); }
    void reselectAfterTypingRestoresEntry() {
        QFETCH(QString, kind);
        auto rig = makeSelector(kind, kHours);
        rig->selector().setListIndex(3);
        rig->type(QStringLiteral("9"));
        Runs runs;
        watch(rig->selector(), runs);
        QVERIFY(rig->selector().setListIndex(3));
        QCOMPARE(rig->selector().listIndex(), 3);
        QCOMPARE(rig->selector().text(), QStringLiteral("03"));
        QCOMPARE(runs.clicks, 1);
        QCOMPARE(runs.changes, 0);
    }

    // A selection change made from inside the change handler must not be undone by the field.
    void selectFromChangeHandler_data() { addKinds(); }
    void selectFromChangeHandler() {
        QFETCH(QString, kind);
        auto rig = makeSelector(kind, kHours);
        rig->selector().setListIndex(4);
        Runs runs;
        rig->selector().onClick([&runs] { ++runs.clicks; });
        rig->selector().onChange([&] {
            ++runs.changes;
            rig->selector().setListIndex(4);
        });
        rig->type(QStringLiteral("x"));
        QCOMPARE(runs.changes, 1);
        QCOMPARE(runs.clicks, 1);
        QCOMPARE(rig->selector().listIndex(), 4);
        QCOMPARE(rig->selector().text(), QStringLiteral("04"));
    }

    void selectorVisibility_data() { addKinds(); }
    void selectorVisibility() {
        QFETCH(QString, kind);
        auto rig = makeSelector(kind, kHours);
        QVERIFY(rig->selector().isVisible());
        rig->selector().setVisible(false);
        QVERIFY(!rig->selector().isVisible());
        rig->selector().setVisible(true);
        QVERIFY(rig->selector().isVisible());
    }

    void setTextRunsChangeOnlyOnChange_data() { addKinds(); }
    void setTextRunsChangeOnlyOnChange() {
        QFETCH(QString, kind);
        auto rig = makeTextBox(kind, 20);
        int changes = 0;
        QString seen;
        rig->box().onChange([&] {
            ++changes;
            seen = rig->box().text();
        });
        rig->box().setText(QStringLiteral("Title String ..."));
        QCOMPARE(changes, 1);
        QCOMPARE(seen, QStringLiteral("Title String ..."));
        rig->box().setText(QStringLiteral("Title String ..."));
        QCOMPARE(changes, 1);
        rig->box().setText(QString());
        QCOMPARE(changes, 2);
    }

    void typingRunsChange_data() { addKinds(); }
    void typingRunsChange() {
        QFETCH(QString, kind);
        auto rig = makeTextBox(kind, 20);
        rig->box().setText(QStringLiteral("AB"));
        int changes = 0;
        rig->box().onChange([&changes] { ++changes; });
        rig->type(QStringLiteral("C"));
        QCOMPARE(rig->box().text(), QStringLiteral("ABC"));
        QCOMPARE(changes, 1);
    }

    void typingStopsAtLimit_data() { addKinds(); }
    void typingStopsAtLimit() {
        QFETCH(QString, kind);
        auto rig = makeTextBox(kind, 20);
        rig->box().setText(kTwenty.left(19));
        int changes = 0;
        rig->box().onChange([&changes] { ++changes; });
        rig->type(QStringLiteral("de"));
        QCOMPARE(rig->box().text(), kTwenty);
        QCOMPARE(changes, 1); // the 21st character is refused and changes nothing
    }

    void pasteIsCutToLimit_data() { addKinds(); }
    void pasteIsCutToLimit() {
        QFETCH(QString, kind);
        auto rig = makeTextBox(kind, 20);
        rig->box().setText(QStringLiteral("old"));
        int changes = 0;
        rig->box().onChange([&changes] { ++changes; });
        rig->paste(kTwenty + QStringLiteral("XYZ"));
        QCOMPARE(rig->box().text(), kTwenty);
        QCOMPARE(changes, 1);
    }

    // The limit counts characters: one outside the basic plane is kept or refused whole.
    void limitCountsWholeCharacters_data() { addKinds(); }
    void limitCountsWholeCharacters() {
        QFETCH(QString, kind);
        auto rig = makeTextBox(kind, 20);
        const QString emoji = QString::fromUtf8("😀");
        rig->paste(emoji.repeated(21));
        QCOMPARE(rig->box().text(), emoji.repeated(20));
        rig->paste(kTwenty.left(19) + emoji + emoji);
        QCOMPARE(rig->box().text(), kTwenty.left(19) + emoji);
    }

    void codeTextIsNotLimited_data() { addKinds(); }
    void codeTextIsNotLimited() {
        QFETCH(QString, kind);
        auto rig = makeTextBox(kind, 20);
        const QString longText = kTwenty + QStringLiteral(" and more");
        int changes = 0;
        rig->box().onChange([&changes] { ++changes; });
        rig->box().setText(longText);
        QCOMPARE(rig->box().text(), longText);
        QCOMPARE(changes, 1);
        // The operator cannot make it longer still.
        rig->type(QStringLiteral("!"));
        QCOMPARE(rig->box().text(), longText);
        QCOMPARE(changes, 1);
    }

    void optionSelectRunsClickWithIndex_data() { addKinds(); }
    void optionSelectRunsClickWithIndex() {
        QFETCH(QString, kind);
        auto rig = makeOptions(kind);
        QList<int> indices;
        rig->group().onClick([&indices](int index) { indices << index; });
        QCOMPARE(rig->group().selected(), -1);
        QVERIFY(rig->group().select(1));
        QCOMPARE(indices, QList<int>{1});
        QCOMPARE(rig->group().selected(), 1);
        QVERIFY(!rig->group().select(2));
        QCOMPARE(indices, QList<int>{1});
        QCOMPARE(rig->group().selected(), 1);
    }

    void optionClickRunsClickWithIndex_data() { addKinds(); }
    void optionClickRunsClickWithIndex() {
        QFETCH(QString, kind);
        auto rig = makeOptions(kind);
        rig->group().select(1);
        QList<int> indices;
        rig->group().onClick([&indices](int index) { indices << index; });
        rig->click(0);
        QCOMPARE(indices, QList<int>{0});
        QCOMPARE(rig->group().selected(), 0);
    }

    void buttonClickAndVisibility_data() { addKinds(); }
    void buttonClickAndVisibility() {
        QFETCH(QString, kind);
        auto rig = makeButton(kind);
        int clicks = 0;
        rig->button().onClick([&clicks] { ++clicks; });
        rig->click();
        QCOMPARE(clicks, 1);
        rig->button().setVisible(false);
        QVERIFY(!rig->button().isVisible());
        rig->button().setVisible(true);
        QVERIFY(rig->button().isVisible());
    }

    void checkBoxHoldsMark() {
        QCheckBox widget;
        QtCheckBox qt(&widget);
        MemoryCheckBox memory;
        for (CheckBox* box : std::initializer_list<CheckBox*>{&qt, &memory}) {
            QVERIFY(!box->isChecked());
            box->setChecked(true);
            QVERIFY(box->isChecked());
            box->setChecked(false);
            QVERIFY(!box->isChecked());
        }
    }

    void statusBarInsertMovesPanels_data() { addKinds(); }
    void statusBarInsertMovesPanels() {
        QFETCH(QString, kind);
        MemoryStatusBar memory({QStringLiteral("Status"), QStringLiteral("date")});
        QStatusBar widget;
        QtStatusBar qt(&widget);
        qt.appendPanel(QStringLiteral("Status"), 469, QtStatusBar::Width::AtMost);
        qt.appendPanel(QStringLiteral("date"), 96);
        StatusBar& bar = kind == kQt ? static_cast<StatusBar&>(qt) : memory;

        QCOMPARE(bar.panelCount(), 2);
        bar.insertPanel(2);
        QCOMPARE(bar.panelCount(), 3);
        QCOMPARE(bar.panelText(1), QStringLiteral("Status"));
        QCOMPARE(bar.panelText(2), QString());
        QCOMPARE(bar.panelText(3), QStringLiteral("date"));
        bar.setPanelText(2, QStringLiteral("Com :  Not Connected    "));
        QCOMPARE(bar.panelText(2), QStringLiteral("Com :  Not Connected    "));
        QCOMPARE(bar.panelText(3), QStringLiteral("date"));
        bar.setPanelText(4, QStringLiteral("nowhere"));
        QCOMPARE(bar.panelCount(), 3);
    }

    // The panels by name: the date stays last, the link panel comes in once, behind the first.
    void statusBarNamedPanels_data() { addKinds(); }
    void statusBarNamedPanels() {
        QFETCH(QString, kind);
        MemoryStatusBar memory({QStringLiteral("Status"), QStringLiteral("date")});
        QStatusBar widget;
        QtStatusBar qt(&widget);
        qt.appendPanel(QStringLiteral("Status"), 469, QtStatusBar::Width::AtMost);
        qt.appendPanel(QStringLiteral("date"), 96);
        StatusBar& bar = kind == kQt ? static_cast<StatusBar&>(qt) : memory;

        bar.setDateText(QStringLiteral("day 1"));
        QCOMPARE(bar.panelText(2), QStringLiteral("day 1"));
        bar.insertLinkPanel();
        for (const QString& link :
             {QStringLiteral("Com :  Not Connected    "), QStringLiteral("Com 1 : 9600,N,8,1  ")}) {
            bar.setLinkText(link);
            bar.insertLinkPanel(); // in place already: nothing more
            QCOMPARE(bar.panelCount(), 3);
            QCOMPARE(bar.panelText(2), link);
        }
        bar.setDateText(QStringLiteral("day 2"));
        bar.setFirstText(QStringLiteral("notice"));
        QCOMPARE(bar.firstText(), QStringLiteral("notice"));
        QCOMPARE(bar.panelText(3), QStringLiteral("day 2"));
    }

    // Qt's own rules that the adapters have to hold off.

    // Qt would select an entry matching the typed text when the field loses focus and report
    // that as a pick.
    void qtTypedEntryStaysTyped() {
        QtSelectorRig rig(kHours);
        QLineEdit other(rig.combo()->window());
        other.show();
        rig.selector().setListIndex(2);
        Runs runs;
        watch(rig.selector(), runs);
        rig.type(QStringLiteral("05"));
        QTest::keyClick(rig.combo()->lineEdit(), Qt::Key_Return);
        other.setFocus();
        QCOMPARE(runs.clicks, 0);
        QCOMPARE(rig.selector().listIndex(), -1);
        QCOMPARE(rig.selector().text(), QStringLiteral("05"));
        QCOMPARE(rig.combo()->count(), 24);
    }

    void qtLockedSelectorTakesNoTyping() {
        QtSelectorRig rig(kHours);
        static_cast<QtSelector&>(rig.selector()).setTextLocked(true);
        rig.selector().setListIndex(10);
        Runs runs;
        watch(rig.selector(), runs);
        rig.type(QStringLiteral("3"));
        QCOMPARE(runs.changes, 0);
        QCOMPARE(rig.selector().text(), QStringLiteral("10"));
        rig.pick(11);
        QCOMPARE(runs.clicks, 1);
        QCOMPARE(rig.selector().listIndex(), 11);
    }

    void qtStatusPanelFitsTrailingBlanks() {
        QStatusBar widget;
        QtStatusBar bar(&widget);
        bar.appendPanel(QStringLiteral("Status"), 469, QtStatusBar::Width::AtMost);
        bar.insertPanel(2);
        const QString text = QStringLiteral("Com 1 : 9600,N,8,1  ");
        bar.setPanelText(2, text);
        bar.fitPanelToText(2);
        QLabel* panel = bar.panel(2);
        const QMargins margins = panel->contentsMargins();
        QVERIFY(panel->width() - margins.left() - margins.right() >=
                panel->fontMetrics().horizontalAdvance(text));
        QVERIFY(panel->fontMetrics().horizontalAdvance(text) >
                panel->fontMetrics().horizontalAdvance(text.trimmed()));
    }

    void qtMessageBoxIsModalWithOkOnly_data() {
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("expected");
        QTest::newRow("none") << int(MessageBox::Icon::None) << int(QMessageBox::NoIcon);
        QTest::newRow("information")
            << int(MessageBox::Icon::Information) << int(QMessageBox::Information);
    }
    void qtMessageBoxIsModalWithOkOnly() {
        QFETCH(int, icon);
        QFETCH(int, expected);
        QWidget window;
        QtMessageBox messages(&window);
        QMessageBox* seen = nullptr;
        QString text, title;
        int seenIcon = -1;
        bool modal = false;
        QWidget* parent = nullptr;
        QList<QAbstractButton*> buttons;
        QTimer::singleShot(0, this, [&] {
            seen = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!seen)
                return;
            text = seen->text();
            title = seen->windowTitle();
            seenIcon = seen->icon();
            modal = seen->isModal();
            parent = seen->parentWidget();
            buttons = seen->buttons();
            if (!buttons.isEmpty())
                buttons.first()->click();
        });
        const QString message = QStringLiteral("<b>Press Connect Comport.</b>");
        messages.show(message, kAppTitle, MessageBox::Icon(icon));
        QVERIFY(seen);
        QCOMPARE(text, message);
        QCOMPARE(title, kAppTitle);
        QCOMPARE(seenIcon, expected);
        QVERIFY(modal);
        QCOMPARE(buttons.size(), 1);
        QCOMPARE(parent, &window);
    }
};

QTEST_MAIN(TestContracts)
#include "tst_contracts.moc"
