#pragma once

#include "wire/framelayout.h"
#include "wire/lineevent.h"

#include <QByteArray>

#include <vector>

namespace velk {

// Turns the bytes read off the line into events, however the bytes are cut into chunks.
//
// A title frame ends at its terminator 0x0D only, since its text may hold the start byte. Bytes
// that make no frame are reported, never dropped, and decoding picks up again at the next start
// byte. Rejected bytes are held until that start byte arrives, so a run of noise is reported as
// one event whatever the chunks were; a longer run goes out in pieces of kMaxNoiseRun bytes, so a
// line of nothing but noise shows as it comes and holds no more than that.
class FrameDecoder {
public:
    // The longest title text accepted before a missing terminator is assumed.
    static constexpr int kMaxTitleLength = 255;
    // The most rejected bytes held before they are reported.
    static constexpr int kMaxNoiseRun = 4096;

    std::vector<LineEvent> feed(const QByteArray& bytes);
    // Whether rejected bytes wait to be reported.
    bool holdsNoise() const { return !m_noise.bytes.isEmpty(); }
    // Reports held noise now instead of at the next start byte; a frame being read is kept.
    std::vector<LineEvent> flushNoise();
    // The input has ended: reports whatever is held, a cut-off frame included, and starts afresh.
    std::vector<LineEvent> finish();

private:
    enum class State { Hunting, Letter, Address, Payload, Digits };

    void take(char byte, std::vector<LineEvent>& out);
    void takeLetter(char byte, std::vector<LineEvent>& out);
    void takePayload(char byte, std::vector<LineEvent>& out);
    void takeDigit(char byte, std::vector<LineEvent>& out);
    void startFrame(std::vector<LineEvent>& out);
    void reject(LineEvent invalid, char byte, std::vector<LineEvent>& out);
    void rejectLongTitle(char byte, std::vector<LineEvent>& out);
    void reportNoise(std::vector<LineEvent>& out);
    void report(LineEvent event, std::vector<LineEvent>& out);

    State m_state = State::Hunting;
    QByteArray m_frame; // the frame being read, from its start byte
    LineEvent m_noise;  // rejected bytes waiting for the next start byte
    int m_groupLength = 0;
    int m_group[frames::kClockFieldCount] = {};
};

} // namespace velk
