// What a receive stream is saying, in one line under its memo: the question a
// surveyor brings to the terminal is "is the GNSS really sending what the
// acquisition software expects?". From what arrived in the last five seconds
// the line gives the byte rate, or, when NMEA 0183 sentences arrive, each
// sentence address with its rate, the count of sentences with a bad checksum
// since the port opened and the fix quality and satellites of the last GGA.
//
// Bytes come in reads of any size: a sentence may be split across reads,
// binary noise may lie between sentences, and a line may never end. Memory
// stays bounded whatever arrives.
#pragma once

#include <chrono>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <vector>

namespace commtools {

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

    // "1,240 B/s", "no data", or "NMEA GNGGA 10.0 Hz, GNRMC 1.0 Hz; 2 bad
    // checksums; fix RTK fixed, 14 sats".
    std::string Summary(Clock::time_point now);

private:
    void EndSentence(Clock::time_point now);
    void Forget(Clock::time_point now);

    Clock::time_point opened_;
    // Bytes per arrival, neighbouring arrivals within a tenth of a second merged.
    std::deque<std::pair<Clock::time_point, std::uint64_t>> bytes_;
    // Good sentences in the window: when, and which address (index in addresses_).
    std::deque<std::pair<Clock::time_point, std::uint16_t>> sentences_;
    std::vector<std::string> addresses_;
    std::uint64_t badChecksums_ = 0;
    // The last GGA in the window: when, its quality field and satellites field.
    Clock::time_point ggaTime_{};
    bool ggaSeen_ = false;
    std::string ggaQuality_, ggaSatellites_;
    // The sentence being read, from its "$" or "!"; empty between sentences.
    std::string line_;
    bool inSentence_ = false;
    bool sawCr_ = false;
};

} // namespace commtools
