#pragma once

#include "controls/optiongroup.h"

#include <QList>
#include <QObject>

class QAbstractButton;
class QButtonGroup;

namespace velk {

// An exclusive group of option buttons; a button's index is its place in the list given.
// The operator's click raises the handler from Qt's side, a selection by code through the
// contract.
class QtOptionGroup : public QObject, public OptionGroup {
    Q_OBJECT
public:
    explicit QtOptionGroup(const QList<QAbstractButton*>& buttons);

    int selected() const override;
    int count() const override;

protected:
    void check(int index) override;

private:
    QButtonGroup* m_group; // child of this adapter
};

} // namespace velk
