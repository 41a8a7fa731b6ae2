#pragma once

#include "bus/brokeraccess.h"

#include <QByteArray>
#include <QObject>
#include <QString>
#include <functional>
#include <memory>

namespace velk {

struct LineName;

// Each frame a bus line's bridge writes, as it publishes it on BASE/frames: a line watched from
// anywhere, read-only. `frame` runs once per frame; `failed` once, when the broker cannot be
// reached, refuses or is lost (never tried again), naming it. Nothing is returned, and `failed`
// has run, where this build has no bus lines.
using FrameHandler = std::function<void(const QByteArray& frame)>;
using TapFailure = std::function<void(const QString& why)>;
std::unique_ptr<QObject> watchBusFrames(const LineName& line, const BrokerAccess& access,
                                        FrameHandler frame, TapFailure failed);

} // namespace velk
