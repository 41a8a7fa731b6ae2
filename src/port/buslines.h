#pragma once

#include <QString>

namespace velk {

// Why this build cannot reach a line's bridge on an MQTT broker; empty where it can.
QString busLinesMissing();

} // namespace velk
