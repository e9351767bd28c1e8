// What a receive stream is saying, in one line under its memo: the question a
// surveyor brings to the terminal is "is the GNSS really sending what the
// acquisition software expects?". On a survey vessel one port often carries
// several devices at once (GNSS, gyro, motion sensor, AIS), so from what
// arrived in the last five seconds the line gives, first, the fix of the last
// GGA (quality, satellites, HDOP, age of corrections, station, UTC time: an
// RTK fix on stale corrections or a frozen epoch shows at once), then each
// sentence address with its rate, GGA's before all others and the rest from
// the fastest down, the sentences that were sent without a checksum, came
// with a wrong one or were cut by line noise, and the bytes that were no NMEA
// at all; or, with no sentence, the byte rate.
//
// Bytes come in reads of any size: a sentence may be split across reads,
// binary noise may lie between sentences, and a line may never end. Memory
// stays bounded whatever arrives.
#pragma once

#include <array>
#include <chrono>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <string>
#include <string_view>
#include <vector>

namespace commtools {

// A summary in its parts, so that a line too narrow for all of it can leave
// out the slowest addresses and never the fix or GGA.
struct StreamSummary {
    // "fix RTK fixed 14 sats ...; " or "NMEA " before the address items, or the
    // byte rate, or "no data".
    std::string head;
    // One item per address ("GNGGA 10.0 Hz", "HEHDT 20.0 Hz no checksum",
    // "GNRMC 1.0 Hz (2 bad)"), GGA first, then by rate; the first `kept` are
    // never left out.
    std::vector<std::string> items;
    std::size_t kept = 0;
    // "; 2 broken" and "+ 2,150 B/s other".
    std::string tail;
    // What the line leaves to its tool tip: the counts since the port opened.
    std::string sinceOpened;

    // The whole line, every address.
    std::string Whole() const { return Shown(items.size()); }
    // The line with the first `count` items, "…" for those left out.
    std::string Shown(std::size_t count) const;
    // The longest line that `fits`; when even the items that stay do not fit,
    // those alone.
    std::string Fitted(const std::function<bool(const std::string&)>& fits) const;
};

class StreamMonitor {
public:
    using Clock = std::chrono::steady_clock;

    // How far back the line looks.
    static constexpr Clock::duration kWindow = std::chrono::seconds(5);
    // The longest sentence taken: the standard allows 82 characters; a few
    // receivers' proprietary sentences run longer. A longer line is no sentence.
    static constexpr std::size_t kLongestSentence = 1024;
    // Sentence addresses remembered at once; a stream of more is no receiver.
    static constexpr std::size_t kMostAddresses = 64;
    // Sentences remembered in the window; beyond this the oldest are let go.
    static constexpr std::size_t kMostSentences = 65536;

    // A port opened at `now`: nothing seen yet.
    explicit StreamMonitor(Clock::time_point now = Clock::now());
    void Reset(Clock::time_point now);

    void Feed(std::string_view bytes, Clock::time_point now);
    // A datagram: whatever sentence it leaves open ends with it, as a UDP
    // sender need not end its last sentence with a line end.
    void FeedRecord(std::string_view bytes, Clock::time_point now);

    // The line in its parts. A rate follows a changed stream at once but holds
    // still under arrival jitter, so asking is not free of state.
    StreamSummary Summarize(Clock::time_point now);
    // "1,240 B/s", "no data", "NMEA HEHDT 20.0 Hz no checksum", or "fix RTK fixed 14 sats HDOP 0.7 age
    // 1.0 s 12:34:56.7; GNGGA 10.0 Hz, GNRMC 1.0 Hz (2 bad) + 2,150 B/s other".
    std::string Summary(Clock::time_point now) { return Summarize(now).Whole(); }

private:
    enum class Kind : std::uint8_t { Good, NoChecksum, BadChecksum, Broken };
    struct Event {
        Clock::time_point time;
        std::uint16_t address;
        Kind kind;
    };
    struct Arrival {
        Clock::time_point time;
        std::uint64_t bytes;
        std::uint64_t other; // bytes that were no part of a sentence
    };

    void Take(std::string_view bytes, Clock::time_point now, bool recordEnds);
    // False when the line was no sentence at all.
    bool EndSentence(Clock::time_point now);
    // The sentence under way ends without its line end: counted as broken
    // when its address was already read, else its bytes were noise.
    void CutSentence(Clock::time_point now);
    void Record(std::string_view address, Kind kind, Clock::time_point now);
    void Forget(Clock::time_point now);
    // Whether an address no checksum vouches for was seen lately.
    bool Confirmed(std::string_view address);

    Clock::time_point opened_;
    std::deque<Arrival> bytes_;
    std::uint64_t otherInRead_ = 0;
    std::deque<Event> events_;
    std::vector<std::string> addresses_;
    std::array<std::string, 8> unconfirmed_;
    std::size_t nextUnconfirmed_ = 0;
    // Since the port opened, per address.
    std::vector<std::uint64_t> badSinceOpened_, brokenSinceOpened_;
    // Bad checksums of addresses not (yet) taken.
    std::uint64_t otherBad_ = 0;
    // Multi-part messages (GSV): the part count of each address's last cycle.
    std::vector<std::uint16_t> parts_;
    // The rate each address was last shown with (with and without checksum).
    std::vector<double> shownRate_;
    // The last GGA: when, and its content as sent.
    Clock::time_point ggaTime_{};
    bool ggaSeen_ = false;
    std::string ggaContent_;
    // The sentence being read, from its "$" or "!"; empty between sentences.
    std::string line_;
    bool inSentence_ = false;
    // A sentence just ended at its CR: the LF after it is part of it.
    bool sentenceEnded_ = false;
};

// The streams of a port or a listening socket: one monitor, and so one
// sentence assembly, per TCP connection, since two clients' pieces interleave
// on the way in (a serial port or UDP socket is one stream). The line speaks
// of the connection that was accepted last and is still open; the tool tip
// gives every open connection's whole line.
class PeerStreams {
public:
    using Clock = StreamMonitor::Clock;
    // Connections followed at once; a newer one displaces the oldest.
    static constexpr std::size_t kMostPeers = 16;

    explicit PeerStreams(Clock::time_point now = Clock::now()) : opened_(now) {}
    void Reset(Clock::time_point now);

    void Feed(std::uint64_t peer, std::string_view bytes, Clock::time_point now);
    void FeedRecord(std::uint64_t peer, std::string_view bytes, Clock::time_point now);
    // The connection closed: its monitor goes.
    void End(std::uint64_t peer);

    // The latest connection's summary; with more than one open, its head says
    // how many, and `sinceOpened` lists each one's whole line.
    StreamSummary Summarize(Clock::time_point now);
    std::string Summary(Clock::time_point now) { return Summarize(now).Whole(); }

private:
    StreamMonitor& Of(std::uint64_t peer);

    Clock::time_point opened_;
    // By peer number, which grows with each accepted connection.
    std::map<std::uint64_t, StreamMonitor> peers_;
};

} // namespace commtools
