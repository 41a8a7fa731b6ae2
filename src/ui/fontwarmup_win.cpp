#include "ui/fontwarmup.h"

namespace velk {

// Windows keeps its font list in the system: there is no configuration to read first.
struct FontWarmup::Worker {};

FontWarmup::FontWarmup() = default;
FontWarmup::~FontWarmup() = default;

} // namespace velk
