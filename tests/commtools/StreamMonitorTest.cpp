#include "commtools/StreamMonitor.h"

#include <algorithm>
#include <functional>
#include <gtest/gtest.h>
#include <random>
#include <string>
#include <vector>

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
    const std::string expected = "NMEA GNGGA 10.0 Hz, GNRMC 1.0 Hz; fix RTK fixed, 14 sats";
    struct Case {
        std::function<std::vector<std::string>(const std::string&)> reads;
        const char* reason;
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
         "binary noise between sentences"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(FiveSeconds(c.reads), expected) << c.reason;
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
         "NMEA GPGGA 0.5 Hz; fix RTK float, 8 sats",
         "the satellites without their leading zero"},
        {{{Sentence("GPGGA,1,2,N,3,E,,,,,,,,,"), 1000ms}},
         2000ms,
         "NMEA GPGGA 0.5 Hz; fix unknown",
         "a GGA without a fix yet"},
        {{{Sentence("GPGGA,1,2,N,3,E,1,01,1,1,M,1,M,,", true), 1000ms}},
         2000ms,
         "NMEA GPGGA 0.5 Hz; fix GPS, 1 sat",
         "lower-case hex"},
        {{{kRmc, 1000ms}, {"$GNRMC,120000.00,A\r\n", 1100ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz; 1 bad checksum",
         "a missing \"*\""},
        {{{kRmc, 1000ms}, {"$GNRMC,120001.00,A*00\r\n", 1100ms}, {"$GNRMC,1*0\r\n", 1200ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz; 2 bad checksums",
         "a wrong checksum and one of a single digit"},
        {{{"$GNRMC,1*00\r\n", 100ms}}, 7000ms, "no data; 1 bad checksum", "bad checksums count since the port opened"},
        {{{Sentence("AIVDM,1,1,,A,13aEOK?P00PD2wVMdLDRhgvL289?,0", false, '!'), 1000ms}},
         2000ms,
         "NMEA AIVDM 0.5 Hz",
         "an encapsulated sentence"},
        {{{"$" + std::string(10000, 'A') + "\r\n" + kRmc, 1000ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz",
         "a line of 10,000 characters is no sentence, and the next one counts"},
        {{{"$GN" + kRmc, 1000ms}, {"$\r\n$$,*00\r\n", 1000ms}},
         2000ms,
         "NMEA GNRMC 0.5 Hz",
         "a sentence begun again, and noise after a \"$\""},
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
    EXPECT_EQ(noisy.Summary(kOpened + 2s).find("NMEA"), std::string::npos);

    // Reset when the port opens again: nothing seen, no bad checksums.
    fast.Feed("$GNRMC,1*00\r\n", kOpened + 5s);
    fast.Reset(kOpened + 10s);
    EXPECT_EQ(fast.Summary(kOpened + 11s), "no data");
}
