#include "commtools/StreamMonitor.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

namespace stream_monitor_test {

using commtools::StreamMonitor;
using namespace std::chrono_literals;

namespace {

const StreamMonitor::Clock::time_point kOpened{};

// "$body*HH\r\n" with the body's checksum, in upper- or lower-case hex.
std::string Sentence(const std::string& body, bool lowerHex = false, char start = '$') {
    unsigned char sum = 0;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    const char* digits = lowerHex ? "0123456789abcdef" : "0123456789ABCDEF";
    return start + body + '*' + digits[sum >> 4] + digits[sum & 15] + "\r\n";
}

const std::string kGga = Sentence("GNGGA,120000.00,5540.1234,N,01234.5678,E,4,14,0.8,12.3,M,40.1,M,1.0,0000");
const std::string kRmc = Sentence("GNRMC,120000.00,A,5540.1234,N,01234.5678,E,5.1,90.0,111226,,,R");

// Five seconds of a receiver at 10 Hz GGA and 1 Hz RMC, fed as `reads`
// splits each second's bytes; the summary one second on.
std::string FiveSeconds(const std::function<std::vector<std::string>(const std::string&)>& reads) {
    StreamMonitor monitor(kOpened);
    for (int second = 0; second < 5; ++second) {
        std::string bytes = kRmc;
        for (int i = 0; i < 10; ++i) {
            bytes += kGga;
        }
        for (const std::string& read : reads(bytes)) {
            monitor.Feed(read, kOpened + std::chrono::seconds(second) + 500ms);
        }
    }
    return monitor.Summary(kOpened + 5s + 400ms);
}

} // namespace

TEST(StreamMonitor, ReadsTheReceiverWhateverTheReadsAndTheNoise) {
    const std::string expected =
        "fix RTK fixed 14 sats HDOP 0.8 age 1.0 s station 0000 12:00:00.0; GNGGA 10.0 Hz, GNRMC 1.0 Hz";
    struct Case {
        std::function<std::vector<std::string>(const std::string&)> reads;
        const char* reason;
        const char* other = "";
    };
    const Case cases[] = {
        {[](const std::string& b) { return std::vector<std::string>{b}; }, "whole seconds"},
        {[](const std::string& b) {
             std::vector<std::string> bytes;
             for (const char c : b) {
                 bytes.emplace_back(1, c);
             }
             return bytes;
         },
         "one byte per read: every sentence split"},
        {[](const std::string& b) {
             // Binary noise before each sentence, without a line end.
             std::mt19937 random(5);
             std::string noisy;
             for (std::size_t at = 0; at < b.size();) {
                 const std::size_t next = b.find('$', at + 1);
                 for (int i = 0; i < 40; ++i) {
                     const char c = static_cast<char>(random() % 256);
                     noisy += c == '$' || c == '!' ? '\x7f' : c;
                 }
                 noisy += b.substr(at, next - at);
                 at = next == std::string::npos ? b.size() : next;
             }
             return std::vector<std::string>{noisy};
         },
         "binary noise between sentences: 40 bytes before each of 11 sentences a second", " + 440 B/s other"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FiveSeconds(c.reads), expected + c.other) << c.reason;
    }
}

TEST(StreamMonitor, SummaryOfWhatArrived) {
    struct Read {
        std::string bytes;
        std::chrono::milliseconds at;
    };
    struct Case {
        std::vector<Read> reads;
        std::chrono::milliseconds asked;
        std::string summary;
        const char* reason;
    };
    const std::string binary(1240, '\x81');
    const Case cases[] = {
        {{}, 3000ms, "no data", "nothing arrived"},
        {{{binary, 1000ms}, {binary, 2000ms}, {binary, 3000ms}, {binary, 4000ms}, {binary, 5000ms}},
         5500ms,
         "1,240 B/s",
         "no sentences: the byte rate, grouped"},
        {{{binary, 200ms}}, 1000ms, "1,240 B/s", "the first second counts as a whole second"},
        {{{binary, 1000ms}}, 6500ms, "no data", "five seconds of silence"},
        {{{Sentence("GPGGA,1,2,N,3,E,5,08,,,,,,,"), 1000ms}},
         2000ms,
         "fix RTK float 8 sats; GPGGA 0.5 Hz",
         "the satellites without their leading zero"},
        {{{Sentence("GPGGA,1,2,N,3,E,,,,,,,,,"), 1000ms}},
         2000ms,
         "fix unknown; GPGGA 0.5 Hz",
         "a GGA without a fix yet"},
        {{{Sentence("GPGGA,1,2,N,3,E,1,01,1,1,M,1,M,,", true), 1000ms}},
         2000ms,
         "fix GPS 1 sat HDOP 1; GPGGA 0.5 Hz",
         "lower-case hex"},
        {{{kRmc, 1000ms}, {"$GNRMC,120000.00,A\r\n", 1100ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz, GNRMC 0.5 Hz no checksum",
         "a missing \"*\": rated apart"},
        {{{kRmc, 1000ms}, {"$GNRMC,120001.00,A*00\r\n", 1100ms}, {"$GNRMC,1*0\r\n", 1200ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz (2 bad)",
         "a wrong checksum and one of a single digit"},
        {{{kRmc, 1000ms}, {kRmc.substr(0, kRmc.size() - 2) + "00\r\n", 1100ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz (1 bad)",
         "text after the two checksum digits"},
        {{{"$GNRMC,1*00\r\n", 100ms}}, 7000ms, "no data", "bad checksums of the window only"},
        {{{binary, 1000ms}}, 6000ms, "no data", "bytes exactly five seconds old no longer count"},
        {{{binary, 200ms}}, 500ms, "1,240 B/s", "within the first second, a whole second"},
        {{{Sentence("AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", false, '!'), 1000ms}},
         2000ms,
         "NMEA AIVDM 0.5 Hz",
         "an encapsulated sentence"},
        {{{"$" + std::string(10000, 'A') + "\r\n" + kRmc, 1000ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz + 5,002 B/s other",
         "a line of 10,000 characters is no sentence, and the next one counts"},
        {{{"$GN" + kRmc, 1000ms}, {"$\r\n$$,*00\r\n", 1000ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz + 7 B/s other",
         "a sentence begun again, and noise after a \"$\": 14 bytes of no sentence"},
        {{{kGga, 1000ms}, {kRmc, 6500ms}}, 7000ms, "NMEA GNRMC 0.2 Hz", "the fix goes with its GGA"},
    };
    for (const Case& c : cases) {
        StreamMonitor monitor(kOpened);
        for (const Read& read : c.reads) {
            monitor.Feed(read.bytes, kOpened + read.at);
        }
        EXPECT_EQ(monitor.Summary(kOpened + c.asked), c.summary) << c.reason;
    }
}

// Whatever arrives, the monitor keeps a bounded number of addresses and
// sentences: a stream of endless distinct addresses, or sentences faster than
// any receiver sends them.
TEST(StreamMonitor, StaysBoundedWhateverArrives) {
    StreamMonitor monitor(kOpened);
    std::string many;
    for (int i = 0; i < 100; ++i) {
        many += Sentence("PX" + std::to_string(100 + i) + ",1");
    }
    monitor.Feed(many, kOpened + 2s);
    const std::string listed = monitor.Summary(kOpened + 2s);
    EXPECT_EQ(std::count(listed.begin(), listed.end(), ','), 63) << "64 addresses listed";

    StreamMonitor fast(kOpened);
    std::string burst;
    for (std::size_t i = 0; i < StreamMonitor::kMostSentences + 1000; ++i) {
        burst += kRmc;
    }
    fast.Feed(burst, kOpened + 5s);
    EXPECT_EQ(fast.Summary(kOpened + 5s), "NMEA GNRMC 13107.2 Hz") << "65,536 sentences kept over five seconds";

    // Random bytes rich in the characters a sentence is made of, in reads of
    // any size: no sentence is made up, and nothing breaks.
    StreamMonitor noisy(kOpened);
    std::mt19937 random(11);
    const std::string alphabet = "$!*,\r\nGPA0123456789abcdef\x81\xff";
    for (int read = 0; read < 2000; ++read) {
        std::string bytes(random() % 700, '\0');
        for (char& c : bytes) {
            c = alphabet[random() % alphabet.size()];
        }
        noisy.Feed(bytes, kOpened + std::chrono::milliseconds(read));
    }
    EXPECT_EQ(noisy.Summary(kOpened + 2s).find(" Hz"), std::string::npos);

    // Reset when the port opens again: nothing seen, no bad checksums.
    fast.Feed("$GNRMC,1*00\r\n", kOpened + 5s);
    fast.Reset(kOpened + 10s);
    EXPECT_EQ(fast.Summary(kOpened + 11s), "no data");
}

namespace {

// A feed laid out in time: each source sends its line every `period` from
// `offset` on, and everything due within one tenth of a second arrives as one
// read, as a serial port hands it over.
struct Source {
    std::string line;
    std::chrono::milliseconds period;
    std::chrono::milliseconds offset{0};
};

void Play(StreamMonitor& monitor, const std::vector<Source>& sources, std::chrono::milliseconds until) {
    for (auto tick = 0ms; tick < until; tick += 100ms) {
        std::string read;
        for (const Source& source : sources) {
            for (auto at = source.offset; at < tick + 100ms; at += source.period) {
                if (at >= tick) {
                    read += source.line;
                }
            }
        }
        monitor.Feed(read, kOpened + tick + 100ms);
    }
}

const std::string kFixGga = Sentence("GNGGA,123456.70,5540.1234,N,01234.5678,E,4,14,0.7,12.3,M,40.1,M,1.0,0101");

} // namespace

// A survey vessel's ports carry several devices at once: what the line says
// of each kind of stream, after six seconds of it.
TEST(StreamMonitor, SaysWhatEachDeviceOnTheLineSends) {
    struct Case {
        std::vector<Source> sources;
        std::string summary;
        const char* reason;
    };
    const std::string hdt = "$HEHDT,123.45,T\r\n";
    const std::string motion = ":00F000 0012 -0034 0056F\r\n"; // 26 bytes
    const Case cases[] = {
        {{{kFixGga, 100ms},
          {kRmc, 1000ms, 50ms},
          {hdt, 50ms, 20ms},
          {Sentence("PXYZA,1,2,3"), 200ms, 30ms},
          {Sentence("AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", false, '!'), 500ms, 70ms}},
         "fix RTK fixed 14 sats HDOP 0.7 age 1.0 s station 0101 12:34:56.7; GNGGA 10.0 Hz, "
         "HEHDT 20.0 Hz no checksum, PXYZA 5.0 Hz, AIVDM 2.0 Hz, GNRMC 1.0 Hz",
         "the fix first, then GGA, then the rest from the fastest down"},
        {{{kFixGga, 1000ms}, {motion, 20ms, 10ms}},
         "fix RTK fixed 14 sats HDOP 0.7 age 1.0 s station 0101 12:34:56.7; GNGGA 1.0 Hz + 1,300 B/s other",
         "a motion sensor's plain lines beside GGA: their bytes"},
        {{{Sentence("GPGSV,3,1,11,01,40,083,46"), 1000ms},
          {Sentence("GPGSV,3,2,11,02,17,308,41"), 1000ms, 1ms},
          {Sentence("GPGSV,3,3,11,12,07,344,39"), 1000ms, 2ms}},
         "NMEA GPGSV 1.0 Hz × 3",
         "a view in three parts is one a second"},
        {{{kRmc, 1000ms}, {"$GNRMC,120000.00,A,5540.1234,N,01234\x81\x7f.5678,E*6B\r\n", 2000ms, 500ms}},
         "NMEA GNRMC 1.0 Hz (2 broken) + 6 B/s other",
         "a sentence cut by a framing error: the rest of it is no sentence"},
        {{{kRmc, 1000ms}, {"$GNRMC,120000.00,A*00\r\n", 500ms, 300ms}},
         "NMEA GNRMC 1.0 Hz (10 bad)",
         "bad checksums of the last five seconds"},
        {{{hdt, 50ms}, {"$HEHDT,123.45,T*00\r\n", 1000ms, 10ms}},
         "NMEA HEHDT 20.0 Hz no checksum (5 bad)",
         "a gyro without checksum, now and then one with a wrong one"},
    };
    for (const Case& c : cases) {
        StreamMonitor monitor(kOpened);
        Play(monitor, c.sources, 6000ms);
        EXPECT_EQ(monitor.Summary(kOpened + 6050ms), c.summary) << c.reason;
    }
}

TEST(StreamMonitor, TheToolTipCountsDamageSinceThePortOpened) {
    StreamMonitor monitor(kOpened);
    Play(monitor, {{kRmc, 1000ms}, {"$GNRMC,120000.00,A*00\r\n", 1000ms, 300ms}}, 3000ms);
    Play(monitor, {{kGga, 1000ms}, {"$GNGGA,1\x81\r\n", 1000ms, 600ms}}, 9000ms);
    const commtools::StreamSummary summary = monitor.Summarize(kOpened + 9050ms);
    EXPECT_EQ(summary.Whole().find("GNRMC"), std::string::npos) << "the bad RMCs are older than the window";
    EXPECT_EQ(summary.sinceOpened, "since the port opened: 3 bad checksums (GNRMC 3); 9 broken (GNGGA 9)");
}

// Arrival jitter delays a sentence by up to 300 ms; a rate of 1 Hz must read
// 1.0 Hz all the same, second after second (counting the sentences of the
// window, most summaries said 0.8 or 1.2 Hz; from the first to the last
// sentence alone, one in nine still said 0.9 or 1.1; held steady, about one
// in a hundred, mostly the first), and a stream's rate is right as soon as
// its second sentence is in.
TEST(StreamMonitor, ARateHoldsStillUnderJitterAndIsRightFromTheSecondSentence) {
    int summaries = 0;
    std::vector<std::string> off;
    for (unsigned seed = 1; seed <= 20; ++seed) {
        StreamMonitor monitor(kOpened);
        std::mt19937 random(seed);
        std::uniform_int_distribution<int> jitter(0, 300);
        auto asked = 6s;
        for (int second = 0; second < 60; ++second) {
            const auto arrival = std::chrono::seconds(second) + std::chrono::milliseconds(jitter(random));
            while (second >= 6 && asked < arrival) {
                const std::string line = monitor.Summary(kOpened + asked);
                ++summaries;
                if (line != "NMEA GNRMC 1.0 Hz") {
                    off.push_back(line);
                }
                asked += 1s;
            }
            monitor.Feed(kRmc, kOpened + arrival);
        }
    }
    EXPECT_LE(off.size() * 50, static_cast<std::size_t>(summaries))
        << "at most one summary in fifty off 1.0 Hz; " << off.size() << " of " << summaries;

    struct Case {
        std::vector<std::chrono::milliseconds> arrivals;
        std::chrono::milliseconds asked;
        std::string summary;
        const char* reason;
    };
    const Case cases[] = {
        {{0ms, 200ms}, 300ms, "NMEA GNRMC 5.0 Hz", "5 Hz from the second sentence, within the first second"},
        {{100ms, 200ms, 300ms, 400ms}, 450ms, "NMEA GNRMC 10.0 Hz", "10 Hz in the first half second"},
        {{1000ms, 3000ms}, 3500ms, "NMEA GNRMC 0.5 Hz", "two seconds apart"},
    };
    for (const Case& c : cases) {
        StreamMonitor fresh(kOpened);
        for (const auto at : c.arrivals) {
            fresh.Feed(kRmc, kOpened + at);
        }
        EXPECT_EQ(fresh.Summary(kOpened + c.asked), c.summary) << c.reason;
    }
}

// Where sentences are framed by something else than their line end: two TCP
// clients whose pieces interleave on the way in, and UDP datagrams that hold
// one sentence each without CR LF.
TEST(StreamMonitor, EachConnectionAndEachDatagramFramesItsOwnSentences) {
    const std::string gga = kFixGga;
    const std::string rmc = kRmc;
    {
        commtools::PeerStreams streams(kOpened);
        for (int tenth = 0; tenth < 30; ++tenth) {
            const auto now = kOpened + std::chrono::milliseconds(100 * tenth + 100);
            // Each client sends its sentence in two pieces, the pieces of the
            // two alternating as they arrive.
            const std::size_t half = 20;
            streams.Feed(1, gga.substr(0, half), now);
            streams.Feed(2, rmc.substr(0, half), now);
            streams.Feed(1, gga.substr(half), now);
            streams.Feed(2, rmc.substr(half), now);
        }
        const commtools::StreamSummary summary = streams.Summarize(kOpened + 3050ms);
        EXPECT_EQ(summary.Whole(), "2 connections, latest: NMEA GNRMC 10.0 Hz") << "the connection accepted last";
        EXPECT_EQ(summary.sinceOpened, "connection 2: NMEA GNRMC 10.0 Hz\n"
                                       "connection 1: fix RTK fixed 14 sats HDOP 0.7 age 1.0 s station 0101 "
                                       "12:34:56.7; GNGGA 10.0 Hz");
        streams.End(2);
        EXPECT_EQ(streams.Summary(kOpened + 3050ms).rfind("fix RTK", 0), 0u) << "the one still open";
    }
    {
        commtools::PeerStreams streams(kOpened);
        for (int tenth = 0; tenth < 30; ++tenth) {
            const auto now = kOpened + std::chrono::milliseconds(100 * tenth + 100);
            streams.FeedRecord(0, rmc.substr(0, rmc.size() - 2), now);
        }
        EXPECT_EQ(streams.Summary(kOpened + 3050ms), "NMEA GNRMC 10.0 Hz") << "datagrams without line ends";
    }
}

// A line too narrow for every address leaves out the slowest, never GGA, and
// says that something was left out; the whole list stays for the tool tip.
TEST(StreamMonitor, ANarrowLineLeavesOutTheSlowestAddressesNeverGga) {
    StreamMonitor monitor(kOpened);
    Play(monitor,
         {{kGga, 1000ms}, {"$HEHDT,123.45,T\r\n", 50ms}, {kRmc, 500ms, 10ms}, {Sentence("PXYZA,1"), 2000ms, 20ms}},
         6000ms);
    const commtools::StreamSummary summary = monitor.Summarize(kOpened + 6050ms);
    const std::string fix = "fix RTK fixed 14 sats HDOP 0.8 age 1.0 s station 0000 12:00:00.0; ";
    struct Case {
        std::size_t width;
        std::string shown;
    };
    const Case cases[] = {
        {500, fix + "GNGGA 1.0 Hz, HEHDT 20.0 Hz no checksum, GNRMC 2.0 Hz, PXYZA 0.5 Hz"},
        {fix.size() + 45, fix + "GNGGA 1.0 Hz, HEHDT 20.0 Hz no checksum, …"},
        {fix.size() + 20, fix + "GNGGA 1.0 Hz, …"},
        {10, fix + "GNGGA 1.0 Hz, …"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(summary.Fitted([&](const std::string& line) { return line.size() <= c.width; }), c.shown) << c.width;
    }
    EXPECT_EQ(summary.Whole(), cases[0].shown);
}

} // namespace stream_monitor_test
