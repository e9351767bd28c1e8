// The stream monitor's cost per received byte: a serial line at 115,200 baud
// or a TCP feed runs every read through it on the window's thread, so its
// throughput must stay far above any port's.
#include "commtools/StreamMonitor.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

namespace {

using commtools::StreamMonitor;

std::string Sentence(const std::string& body) {
    unsigned char sum = 0;
    for (const char c : body) {
        sum ^= static_cast<unsigned char>(c);
    }
    const char* digits = "0123456789ABCDEF";
    return "$" + body + '*' + digits[sum >> 4] + digits[sum & 15] + "\r\n";
}

// One second of a survey vessel's multi-device feed: GNSS at 10 Hz GGA with
// 1 Hz RMC and GSV in three parts, a gyro's HDT at 20 Hz without checksum, a
// motion sensor's plain lines at 50 Hz.
std::string OneSecondOfFeed() {
    std::string feed;
    for (int tenth = 0; tenth < 10; ++tenth) {
        feed += Sentence("GNGGA,123456.70,5540.1234,N,01234.5678,E,4,14,0.7,12.3,M,40.1,M,1.0,0101");
        for (int i = 0; i < 2; ++i) {
            feed += "$HEHDT,123.45,T\r\n";
        }
        for (int i = 0; i < 5; ++i) {
            feed += ":00F000 0012 -0034 0056F\r\n";
        }
    }
    feed += Sentence("GNRMC,123456.70,A,5540.1234,N,01234.5678,E,5.1,90.0,111226,,,R");
    for (int part = 1; part <= 3; ++part) {
        feed += Sentence("GPGSV,3," + std::to_string(part) + ",11,01,40,083,46,02,17,308,41,12,07,344,39,14,22,228,45");
    }
    return feed;
}

void BM_StreamMonitorFeed(benchmark::State& state) {
    const std::string second = OneSecondOfFeed();
    std::string data;
    while (data.size() < (1u << 20)) {
        data += second;
    }
    const auto readSize = static_cast<std::size_t>(state.range(0));
    StreamMonitor monitor(StreamMonitor::Clock::time_point{});
    auto now = StreamMonitor::Clock::time_point{};
    for (auto _ : state) {
        for (std::size_t at = 0; at < data.size(); at += readSize) {
            now += std::chrono::microseconds(100);
            monitor.Feed(std::string_view(data).substr(at, readSize), now);
        }
        benchmark::DoNotOptimize(monitor.Summary(now));
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations()) * static_cast<std::int64_t>(data.size()));
}
BENCHMARK(BM_StreamMonitorFeed)->Arg(64)->Arg(4096);

} // namespace

BENCHMARK_MAIN();
