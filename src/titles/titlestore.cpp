#include "titles/titlestore.h"

namespace velk {

QString TitleStore::title(int slot) const {
    return isSlot(slot) ? m_titles[std::size_t(slot)] : QString();
}

void TitleStore::store(int slot, const QString& text) {
    if (isSlot(slot))
        m_titles[std::size_t(slot)] = text;
}

} // namespace velk
