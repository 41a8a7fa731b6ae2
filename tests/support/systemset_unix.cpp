#include "support/systemset.h"

namespace velk::test {

QByteArray euroBytes() {
    return {};
}

} // namespace velk::test
