#include "ui/formbuilder.h"

#include "ui/artwork.h"
#include "ui/framestyle.h"
#include "ui/look.h"
#include "ui/twips.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace velk {

FormBuilder::FormBuilder(QWidget* form)
    : m_form(form), m_hand(handPointer()), m_frameStyle(new FrameStyle) {
    m_frameStyle->setParent(m_form);
}

void FormBuilder::place(QWidget* widget, const QString& name, const QRect& twips) const {
    widget->setObjectName(name);
    QRect rect = twipsRect(twips.x(), twips.y(), twips.width(), twips.height());
    QWidget* parent = widget->parentWidget();
    if (parent && parent != m_form)
        rect.translate(-parent->mapTo(m_form, QPoint(0, 0)));
    widget->setGeometry(rect);
}

QLabel* FormBuilder::label(QWidget* parent, const QString& name, const QString& text,
                           const QRect& twips, const QFont& font) const {
    auto* label = new QLabel(text, parent);
    label->setTextFormat(Qt::PlainText);
    label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    // Labels show their container's white through, so overlapping ones never blot each other.
    label->setFont(font);
    place(label, name, twips);
    return label;
}

QGroupBox* FormBuilder::frame(QWidget* parent, const QString& name, const QString& caption,
                              const QRect& twips, const QFont& font) const {
    auto* frame = new QGroupBox(caption, parent);
    frame->setFont(font);
    frame->setStyle(m_frameStyle);
    fillBackground(frame, Qt::white);
    place(frame, name, twips);
    return frame;
}

namespace {

// A drop-down is built when it first opens, not with its window; it takes its field's spoken
// name then.
class SelectorBox : public QComboBox {
public:
    using QComboBox::QComboBox;

    void showPopup() override {
        view()->setAccessibleName(accessibleName());
        QComboBox::showPopup();
    }
};

} // namespace

QComboBox* FormBuilder::selector(QWidget* parent, const QString& name, const QRect& twips) const {
    auto* combo = new SelectorBox(parent);
    // Any font change builds the combo box's drop-down at once; most selectors already have the
    // standard font from their frame, and their drop-downs can wait until first opened.
    if (combo->font() != standardFont())
        combo->setFont(standardFont());
    place(combo, name, twips);
    return combo;
}

QLineEdit* FormBuilder::textBox(QWidget* parent, const QString& name, const QRect& twips,
                                const QFont& font) const {
    auto* edit = new QLineEdit(parent);
    edit->setFont(font);
    place(edit, name, twips);
    return edit;
}

QPushButton* FormBuilder::button(QWidget* parent, const QString& name, const QString& caption,
                                 const QRect& twips, const QFont& font) const {
    auto* button = new QPushButton(caption, parent);
    button->setFont(font);
    button->setCursor(m_hand);
    place(button, name, twips);
    return button;
}

QLabel* FormBuilder::picture(QWidget* parent, const QString& name, const Picture& image,
                             const QRect& twips) const {
    auto* picture = new QLabel(parent);
    picture->setPixmap(picturePixmap(image));
    picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    picture->setFrameShape(QFrame::NoFrame);
    // Said by a screen reader in place of the picture.
    picture->setAccessibleName(QStringLiteral("Picture: ") + QLatin1String(image.description));
    place(picture, name, twips);
    return picture;
}

void FormBuilder::nameForScreenReaders(QWidget* form,
                                       std::initializer_list<std::pair<QString, QString>> spoken) {
    for (const auto& [name, words] : spoken) {
        auto* control = form->findChild<QWidget*>(name);
        if (!control)
            continue;
        control->setAccessibleName(words);
        if (auto* selector = qobject_cast<QComboBox*>(control); selector && selector->lineEdit())
            selector->lineEdit()->setAccessibleName(words);
    }
}

void FormBuilder::nameFields(QWidget* form,
                             std::initializer_list<std::pair<QString, QString>> spoken) {
    nameForScreenReaders(form, spoken);
    for (const auto& [name, words] : spoken) {
        auto* control = form->findChild<QWidget*>(name);
        if (!control)
            continue;
        control->setAccessibleDescription(words);
        if (auto* selector = qobject_cast<QComboBox*>(control); selector && selector->lineEdit())
            selector->lineEdit()->setAccessibleDescription(words);
    }
}

void FormBuilder::tieLabels(QWidget* form,
                            std::initializer_list<std::pair<QString, QString>> labelsAndControls) {
    for (const auto& [label, control] : labelsAndControls) {
        if (auto* caption = form->findChild<QLabel*>(label))
            caption->setBuddy(form->findChild<QWidget*>(control));
    }
}

QString elementName(const char* array, int index) {
    return QStringLiteral("%1(%2)").arg(QLatin1String(array)).arg(index);
}

} // namespace velk
