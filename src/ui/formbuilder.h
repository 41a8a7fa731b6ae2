#pragma once

#include <QCursor>
#include <QFont>
#include <QRect>
#include <QSize>
#include <QString>

#include <initializer_list>
#include <utility>

class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStyle;
class QWidget;

namespace velk {

struct Picture;

// Puts named controls on a form as drawn: places and sizes in twips of the form's client area,
// whatever frame a control sits in.
class FormBuilder {
public:
    explicit FormBuilder(QWidget* form);

    // Names `widget` and gives it `twips` in form coordinates, converted to its parent's.
    void place(QWidget* widget, const QString& name, const QRect& twips) const;

    QLabel* label(QWidget* parent, const QString& name, const QString& text, const QRect& twips,
                  const QFont& font) const;
    QGroupBox* frame(QWidget* parent, const QString& name, const QString& caption,
                     const QRect& twips, const QFont& font) const;
    QComboBox* selector(QWidget* parent, const QString& name, const QRect& twips) const;
    QLineEdit* textBox(QWidget* parent, const QString& name, const QRect& twips,
                       const QFont& font) const;
    QPushButton* button(QWidget* parent, const QString& name, const QString& caption,
                        const QRect& twips, const QFont& font) const;
    // A borderless picture showing `image` at its size from its top-left corner.
    QLabel* picture(QWidget* parent, const QString& name, const Picture& image,
                    const QRect& twips) const;

    const QCursor& handCursor() const { return m_hand; }

    // Gives the controls named in `spoken` (object name, words) the words a screen reader says
    // for them; a selector's text field and list take its words too.
    static void nameForScreenReaders(QWidget* form,
                                     std::initializer_list<std::pair<QString, QString>> spoken);
    // As nameForScreenReaders, and the words go into each control's description too: where
    // the platform names an editable field by its value, the description still tells it apart.
    static void nameFields(QWidget* form,
                           std::initializer_list<std::pair<QString, QString>> spoken);
    // Ties each label (object name) to the control it stands by (object name), so a screen
    // reader says the label with the control.
    static void tieLabels(QWidget* form,
                          std::initializer_list<std::pair<QString, QString>> labelsAndControls);

private:
    QWidget* m_form;
    QCursor m_hand;
    QStyle* m_frameStyle; // child of the form
};

// "Name(index)": the name of one element of a control array.
QString elementName(const char* array, int index);

} // namespace velk
