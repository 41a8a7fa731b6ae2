#pragma once

#include "controls/linesettings.h"

#include <QByteArray>
#include <array>
#include <optional>

namespace velk {

// The client's side of Telnet with the COM port option, as a device server speaks it: no
// sockets here, bytes in and bytes out. The line is write-only, so data from the server is
// dropped; what counts from it are its option requests, which get answers as RFC 1143 has them
// (never one for a state already in effect), its replies to the line settings, which are
// collected, and its answers to timing marks, which are counted.
class TelnetCodec {
public:
    static constexpr quint8 kIac = 255;
    static constexpr quint8 kDont = 254;
    static constexpr quint8 kDo = 253;
    static constexpr quint8 kWont = 252;
    static constexpr quint8 kWill = 251;
    static constexpr quint8 kSb = 250;
    static constexpr quint8 kSe = 240;
    static constexpr quint8 kBinary = 0;
    static constexpr quint8 kSuppressGoAhead = 3;
    static constexpr quint8 kTimingMark = 6;
    static constexpr quint8 kComPort = 44;
    // The line-setting commands; a server answers command c with c + kServerReply.
    static constexpr quint8 kSetBaudRate = 1;
    static constexpr quint8 kSetDataSize = 2;
    static constexpr quint8 kSetParity = 3;
    static constexpr quint8 kSetStopSize = 4;
    static constexpr quint8 kServerReply = 100;
    // The longest option text kept from the server; the rest of a longer one is dropped.
    static constexpr int kMaxSubnegotiation = 64;

    // The data as it must go out: each 0xFF doubled, so the far end's line gets it once.
    static QByteArray escape(const QByteArray& data);
    // What the client says first: it will use the COM port option, and binary both ways.
    QByteArray greeting();
    // The four line-setting commands for `settings`. Values a server cannot express (a speed
    // below 1) are sent as they are and so come back unconfirmed.
    static QByteArray settingsRequest(const LineSettings& settings);

    // A timing mark: the server answers it only once it has read everything sent before it.
    QByteArray timingMark();
    // How many marks the server has answered since the last call, in the order they were sent.
    int takeMarkAnswers() { return std::exchange(m_markAnswers, 0); }

    // Reads what the server sent; answers collect in takeReplies(). Returns the line's own bytes
    // among them, each doubled 0xFF once.
    QByteArray feed(const QByteArray& bytes);
    QByteArray takeReplies() { return std::exchange(m_replies, {}); }

    // The server declined the COM port option.
    bool comPortRefused() const { return m_comPortRefused; }
    // Whether the server has answered all four line settings since forgetSettings().
    bool settingsAnswered() const;
    // `requested` with every value the server answered differently replaced by its answer.
    LineSettings answeredSettings(const LineSettings& requested) const;
    void forgetSettings();

private:
    enum class State { Data, Iac, Option, Sub, SubIac };
    void option(quint8 verb, quint8 code);
    void subnegotiation();
    void reply(quint8 verb, quint8 code);
    static bool accepted(quint8 code) {
        return code == kBinary || code == kSuppressGoAhead || code == kComPort;
    }

    State m_state = State::Data;
    quint8 m_verb = 0;
    QByteArray m_sub;
    QByteArray m_replies;
    // Per option: we use it, the server uses it, we asked and wait for the answer.
    std::array<bool, 256> m_weWill{};
    std::array<bool, 256> m_theyWill{};
    std::array<bool, 256> m_askedWill{};
    std::array<bool, 256> m_askedDo{};
    // Per option: refused once already. A request repeated for a state already in effect gets
    // no answer, so a server repeating one endlessly gets one refusal.
    std::array<bool, 256> m_refusedDo{};
    std::array<bool, 256> m_refusedWill{};
    int m_marksAsked = 0;
    int m_markAnswers = 0;
    bool m_comPortRefused = false;
    std::optional<quint32> m_baudRate;
    std::optional<quint8> m_dataSize;
    std::optional<quint8> m_parity;
    std::optional<quint8> m_stopSize;
};

} // namespace velk
