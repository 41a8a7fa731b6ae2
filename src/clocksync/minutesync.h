#pragma once

namespace velk {

class ClockCapture;
class Transmitter;

// The sync's work in one second: during second 00 of a minute the PC clock goes to the devices
// as one clock group. The caller delivers each second once (the Ticker does); a closed port or a
// clock that cannot be read means this minute is not sent, and nothing is made up later.
class MinuteSync {
public:
    MinuteSync(ClockCapture& capture, Transmitter& transmitter);

    // True when a clock group went to the port.
    bool tick();

private:
    ClockCapture& m_capture;
    Transmitter& m_transmitter;
};

} // namespace velk
