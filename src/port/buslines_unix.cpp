#include "port/buslines.h"

namespace velk {

QString busLinesMissing() {
    return {};
}

} // namespace velk
