#pragma once

#include "ui/qtselector.h"

#include <array>
#include <memory>

class QComboBox;

namespace velk {

// The window's four day lists (28, 29, 30 and 31 days) drawn as one combo box. The list shown
// has the combo box; the others keep their selection until shown. So nothing is built that is
// never shown, and a screen reader finds one day field.
class QtDayLists {
public:
    static constexpr int kListCount = 4;

    // Shows the last list until another one is shown. The combo box must outlive the lists.
    explicit QtDayLists(QComboBox* combo);
    ~QtDayLists();

    Selector& list(int index);

private:
    class List;
    void show(int index);
    void hide(int index);

    QtSelector m_field;
    std::array<std::unique_ptr<List>, kListCount> m_lists;
    int m_shown = -1;
};

} // namespace velk
