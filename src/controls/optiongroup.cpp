#include "controls/optiongroup.h"

namespace velk {

bool OptionGroup::select(int index) {
    if (index < 0 || index >= count())
        return false;
    check(index);
    raiseClick(index);
    return true;
}

} // namespace velk
