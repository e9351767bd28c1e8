#include "commtools/StreamMonitor.h"

#include "common/NumberFormat.h"

#include <algorithm>
#include <array>
#include <map>

namespace commtools {

namespace {

using namespace std::chrono_literals;

// Arrivals this close together count as one in the byte tally.
constexpr auto kMerge = 100ms;

// A sentence address: the talker and the sentence type ("GNGGA"), or a
// proprietary "P" and the maker's letters; upper-case letters and digits.
bool IsAddress(std::string_view text) {
    return text.size() >= 3 && text.size() <= 10 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

// 1240 as "1,240".
std::string Grouped(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return digits;
}

// The GGA fix quality in words.
std::string QualityWords(const std::string& field) {
    static constexpr std::array<const char*, 9> kWords{
        "invalid", "GPS", "DGPS", "PPS", "RTK fixed", "RTK float", "dead reckoning", "manual", "simulation",
    };
    if (field.size() == 1 && field[0] >= '0' && field[0] <= '8') {
        return kWords[static_cast<std::size_t>(field[0] - '0')];
    }
    return field.empty() ? "unknown" : "quality " + field;
}

// The fields of a sentence's body (between the address's comma and the "*").
std::vector<std::string_view> Fields(std::string_view body) {
    std::vector<std::string_view> fields;
    std::size_t start = 0;
    while (true) {
        const std::size_t comma = body.find(',', start);
        fields.push_back(body.substr(start, comma == std::string_view::npos ? std::string_view::npos : comma - start));
        if (comma == std::string_view::npos) {
            return fields;
        }
        start = comma + 1;
    }
}

} // namespace

StreamMonitor::StreamMonitor(Clock::time_point now) : opened_(now) {}

void StreamMonitor::Reset(Clock::time_point now) { *this = StreamMonitor(now); }

void StreamMonitor::Feed(std::string_view bytes, Clock::time_point now) {
    if (bytes.empty()) {
        return;
    }
    Forget(now);
    if (!bytes_.empty() && now - bytes_.back().first < kMerge) {
        bytes_.back().second += bytes.size();
    } else {
        bytes_.emplace_back(now, bytes.size());
    }
    for (const char c : bytes) {
        if (c == '$' || c == '!') {
            // A new sentence starts here; an unfinished one before it is no sentence.
            line_.assign(1, c);
            inSentence_ = true;
        } else if (!inSentence_) {
            continue;
        } else if (c == '\r' || c == '\n') {
            EndSentence(now);
        } else if (static_cast<unsigned char>(c) < 0x20 || static_cast<unsigned char>(c) > 0x7E ||
                   line_.size() >= kLongestSentence) {
            // Binary noise or a line far too long: not a sentence.
            inSentence_ = false;
            line_.clear();
        } else {
            line_ += c;
        }
    }
}

void StreamMonitor::EndSentence(Clock::time_point now) {
    inSentence_ = false;
    const std::string line = std::move(line_);
    line_.clear();
    const std::string_view text(line);
    const std::size_t star = text.rfind('*');
    const std::string_view content = text.substr(1, star == std::string_view::npos ? std::string_view::npos : star - 1);
    const std::string_view address = content.substr(0, content.find(','));
    if (!IsAddress(address)) {
        return; // noise that began with "$" or "!"
    }
    bool good = false;
    if (star != std::string_view::npos && text.size() == star + 3) {
        const int high = common::HexDigitValue(text[star + 1]);
        const int low = common::HexDigitValue(text[star + 2]);
        unsigned char sum = 0;
        for (const char c : content) {
            sum ^= static_cast<unsigned char>(c);
        }
        good = high >= 0 && low >= 0 && sum == high * 16 + low;
    }
    if (!good) {
        ++badChecksums_;
        return;
    }

    auto known = std::find(addresses_.begin(), addresses_.end(), address);
    if (known == addresses_.end()) {
        if (addresses_.size() >= kMostAddresses) {
            return;
        }
        known = addresses_.emplace(addresses_.end(), address);
    }
    sentences_.emplace_back(now, static_cast<std::uint16_t>(known - addresses_.begin()));
    if (sentences_.size() > kMostSentences) {
        sentences_.pop_front();
    }
    if (address.size() == 5 && address.substr(2) == "GGA") {
        // $--GGA,time,lat,N,lon,E,quality,satellites,...
        const std::vector<std::string_view> fields = Fields(content);
        ggaSeen_ = true;
        ggaTime_ = now;
        ggaQuality_ = fields.size() > 6 ? std::string(fields[6]) : std::string();
        ggaSatellites_ = fields.size() > 7 ? std::string(fields[7]) : std::string();
    }
}

void StreamMonitor::Forget(Clock::time_point now) {
    const Clock::time_point start = now - kWindow;
    while (!bytes_.empty() && bytes_.front().first <= start) {
        bytes_.pop_front();
    }
    while (!sentences_.empty() && sentences_.front().first <= start) {
        sentences_.pop_front();
    }
}

std::string StreamMonitor::Summary(Clock::time_point now) {
    Forget(now);
    // Rates over the window, or over the time since the port opened when that
    // is shorter, and never over less than a second.
    const double seconds =
        std::chrono::duration<double>(std::clamp<Clock::duration>(now - opened_, 1s, kWindow)).count();
    const std::string bad =
        badChecksums_ == 0 ? std::string()
                           : "; " + Grouped(badChecksums_) + (badChecksums_ == 1 ? " bad checksum" : " bad checksums");

    if (sentences_.empty()) {
        std::uint64_t total = 0;
        for (const auto& arrival : bytes_) {
            total += arrival.second;
        }
        if (total == 0) {
            return "no data" + bad;
        }
        return Grouped(static_cast<std::uint64_t>(static_cast<double>(total) / seconds + 0.5)) + " B/s" + bad;
    }

    std::map<std::string, std::uint64_t> counts;
    for (const auto& sentence : sentences_) {
        ++counts[addresses_[sentence.second]];
    }
    std::string summary = "NMEA ";
    bool first = true;
    for (const auto& [address, count] : counts) {
        summary += (first ? "" : ", ") + address + " " +
                   common::FormatFixed(static_cast<double>(count) / seconds, 0, 1) + " Hz";
        first = false;
    }
    summary += bad;
    if (ggaSeen_ && ggaTime_ > now - kWindow) {
        summary += "; fix " + QualityWords(ggaQuality_);
        const std::string_view satellites(ggaSatellites_);
        const std::size_t digits = satellites.find_first_not_of('0');
        if (!satellites.empty() && satellites.size() <= 3 &&
            std::all_of(satellites.begin(), satellites.end(), [](char c) { return c >= '0' && c <= '9'; })) {
            const std::string count = digits == std::string_view::npos ? "0" : std::string(satellites.substr(digits));
            summary += ", " + count + (count == "1" ? " sat" : " sats");
        }
    }
    return summary;
}

} // namespace commtools
