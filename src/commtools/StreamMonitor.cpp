#include "commtools/StreamMonitor.h"

#include "common/NumberFormat.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace commtools {

namespace {

using namespace std::chrono_literals;

// Arrivals this close together count as one in the byte tally.
constexpr auto kMerge = 100ms;

// A rate estimate this close to the one shown is arrival jitter, not a
// changed stream: the shown rate only glides towards it. A device's rate is
// set in steps (1, 2, 5, 10, 20 Hz), far wider apart than this.
constexpr double kSteady = 0.1;
constexpr double kGlide = 0.25;

// A sentence address: the talker and the sentence type ("GNGGA"), or a
// proprietary "P" and the maker's letters; upper-case letters and digits.
bool IsAddress(std::string_view text) {
    return text.size() >= 3 && text.size() <= 10 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
           });
}

bool EndsWith(std::string_view text, std::string_view end) {
    return text.size() >= end.size() && text.substr(text.size() - end.size()) == end;
}

bool IsDigits(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// 1240 as "1,240".
std::string Grouped(std::uint64_t value) {
    std::string digits = std::to_string(value);
    for (auto at = static_cast<std::ptrdiff_t>(digits.size()) - 3; at > 0; at -= 3) {
        digits.insert(static_cast<std::size_t>(at), 1, ',');
    }
    return digits;
}

std::string ByteRate(std::uint64_t bytes, double seconds) {
    return Grouped(static_cast<std::uint64_t>(static_cast<double>(bytes) / seconds + 0.5)) + " B/s";
}

// The GGA fix quality in words.
std::string QualityWords(std::string_view field) {
    static constexpr std::array<const char*, 9> kWords{
        "invalid", "GPS", "DGPS", "PPS", "RTK fixed", "RTK float", "dead reckoning", "manual", "simulation",
    };
    if (field.size() == 1 && field[0] >= '0' && field[0] <= '8') {
        return kWords[static_cast<std::size_t>(field[0] - '0')];
    }
    return field.empty() ? "unknown" : "quality " + std::string(field);
}

// The fields of a sentence's body (between the "$" and the "*").
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

// "123456.70" as "12:34:56.7": the fraction as the receiver sends it, without
// trailing zeros, so a 20 Hz epoch keeps its hundredths.
std::string UtcTime(std::string_view field) {
    const std::size_t point = field.find('.');
    const std::string_view whole = field.substr(0, point);
    if (whole.size() != 6 || !IsDigits(whole)) {
        return {};
    }
    std::string time =
        std::string(whole.substr(0, 2)) + ':' + std::string(whole.substr(2, 2)) + ':' + std::string(whole.substr(4, 2));
    if (point != std::string_view::npos) {
        std::string_view fraction = field.substr(point + 1);
        if (!IsDigits(fraction) || fraction.size() > 4) {
            return time;
        }
        while (fraction.size() > 1 && fraction.back() == '0') {
            fraction.remove_suffix(1);
        }
        time += '.' + std::string(fraction);
    }
    return time;
}

// A short field as sent, or nothing for an empty or runaway one.
std::string_view Short(const std::vector<std::string_view>& fields, std::size_t at, std::size_t longest = 8) {
    return at < fields.size() && fields[at].size() <= longest ? fields[at] : std::string_view();
}

// "RTK fixed 14 sats HDOP 0.7 age 1.0 s station 0101 12:34:56.7" from a GGA:
// $--GGA,time,lat,N,lon,E,quality,satellites,HDOP,alt,M,geoid,M,age,station
std::string FixWords(const std::vector<std::string_view>& fields) {
    std::string fix = QualityWords(fields.size() > 6 ? fields[6] : std::string_view());
    const std::string_view satellites = Short(fields, 7);
    if (IsDigits(satellites) && satellites.size() <= 3) {
        const std::size_t digits = satellites.find_first_not_of('0');
        const std::string count = digits == std::string_view::npos ? "0" : std::string(satellites.substr(digits));
        fix += ' ' + count + (count == "1" ? " sat" : " sats");
    }
    if (const std::string_view hdop = Short(fields, 8); !hdop.empty()) {
        fix += " HDOP " + std::string(hdop);
    }
    if (const std::string_view age = Short(fields, 13); !age.empty()) {
        fix += " age " + std::string(age) + " s";
    }
    if (const std::string_view station = Short(fields, 14); !station.empty()) {
        fix += " station " + std::string(station);
    }
    if (const std::string time = UtcTime(Short(fields, 1, 12)); !time.empty()) {
        fix += ' ' + time;
    }
    return fix;
}

// "3 bad checksums (GNRMC 1, HEHDT 1, others 1)", or nothing.
std::string CountsByAddress(const std::vector<std::uint64_t>& counts, const std::vector<std::string>& addresses,
                            std::uint64_t others, const char* one, const char* many) {
    std::uint64_t total = others;
    std::string each;
    for (std::size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] > 0) {
            total += counts[i];
            each += (each.empty() ? "" : ", ") + addresses[i] + ' ' + Grouped(counts[i]);
        }
    }
    if (others > 0 && !each.empty()) {
        each += ", others " + Grouped(others);
    }
    if (total == 0) {
        return {};
    }
    return Grouped(total) + ' ' + (total == 1 ? one : many) + (each.empty() ? std::string() : " (" + each + ')');
}

} // namespace

std::string StreamSummary::Shown(std::size_t count) const {
    std::string line = head;
    count = std::min(count, items.size());
    for (std::size_t i = 0; i < count; ++i) {
        line += (i == 0 ? "" : ", ") + items[i];
    }
    if (count < items.size()) {
        line += count == 0 ? "…" : ", …";
    }
    return line + tail;
}

std::string StreamSummary::Fitted(const std::function<bool(const std::string&)>& fits) const {
    for (std::size_t count = items.size(); count > kept; --count) {
        std::string line = Shown(count);
        if (fits(line)) {
            return line;
        }
    }
    return Shown(kept);
}

StreamMonitor::StreamMonitor(Clock::time_point now) : opened_(now) {}

void StreamMonitor::Reset(Clock::time_point now) { *this = StreamMonitor(now); }

void StreamMonitor::Feed(std::string_view bytes, Clock::time_point now) { Take(bytes, now, false); }

void StreamMonitor::FeedRecord(std::string_view bytes, Clock::time_point now) { Take(bytes, now, true); }

void StreamMonitor::Take(std::string_view bytes, Clock::time_point now, bool recordEnds) {
    if (bytes.empty()) {
        return;
    }
    Forget(now);
    otherInRead_ = 0;
    const std::size_t size = bytes.size();
    for (std::size_t at = 0; at < size;) {
        if (!inSentence_) {
            // Between sentences: what is no NMEA goes by in one step.
            if (sentenceEnded_ && bytes[at] == '\n') {
                ++at;
            }
            sentenceEnded_ = false;
            const std::size_t start = std::min(bytes.find_first_of("$!", at), size);
            otherInRead_ += start - at;
            if (start == size) {
                break;
            }
            line_.assign(1, bytes[start]);
            inSentence_ = true;
            at = start + 1;
            continue;
        }
        const char c = bytes[at++];
        const auto byte = static_cast<unsigned char>(c);
        if (c == '$' || c == '!') {
            // A new sentence starts here: the one before it lost its end.
            CutSentence(now);
            line_.assign(1, c);
            inSentence_ = true;
        } else if (c == '\r' || c == '\n') {
            sentenceEnded_ = EndSentence(now) && c == '\r';
        } else if (byte < 0x20 || byte > 0x7E) {
            // A framing error or noise on the line cut the sentence.
            ++otherInRead_;
            CutSentence(now);
        } else if (line_.size() >= kLongestSentence) {
            // A line far too long is no sentence.
            otherInRead_ += line_.size() + 1;
            line_.clear();
            inSentence_ = false;
        } else {
            line_ += c;
        }
    }
    if (recordEnds) {
        if (inSentence_) {
            EndSentence(now);
        }
        sentenceEnded_ = false;
    }
    if (!bytes_.empty() && now - bytes_.back().time < kMerge) {
        bytes_.back().bytes += size;
        bytes_.back().other += otherInRead_;
    } else {
        bytes_.push_back({now, size, otherInRead_});
    }
}

void StreamMonitor::CutSentence(Clock::time_point now) {
    const std::string_view text(line_);
    const std::size_t comma = text.find_first_of(",*");
    if (comma != std::string_view::npos && IsAddress(text.substr(1, comma - 1))) {
        Record(text.substr(1, comma - 1), Kind::Broken, now);
    } else {
        otherInRead_ += line_.size();
    }
    line_.clear();
    inSentence_ = false;
}

bool StreamMonitor::EndSentence(Clock::time_point now) {
    inSentence_ = false;
    const std::string_view text(line_);
    // A field never holds a "*": the first one opens the checksum.
    const std::size_t star = text.find('*');
    const std::string_view content = text.substr(1, star == std::string_view::npos ? std::string_view::npos : star - 1);
    const std::string_view address = content.substr(0, content.find(','));
    if (!IsAddress(address)) {
        otherInRead_ += line_.size() + 1; // noise that began with "$" or "!"
        line_.clear();
        return false;
    }
    Kind kind = Kind::NoChecksum;
    if (star != std::string_view::npos) {
        kind = Kind::BadChecksum;
        // Exactly two hex digits end the sentence: anything after them means
        // the line was damaged, whatever the digits say.
        if (text.size() == star + 3) {
            const int high = common::HexDigitValue(static_cast<unsigned char>(text[star + 1]));
            const int low = common::HexDigitValue(static_cast<unsigned char>(text[star + 2]));
            unsigned char sum = 0;
            for (const char c : content) {
                sum ^= static_cast<unsigned char>(c);
            }
            if (high >= 0 && low >= 0 && sum == high * 16 + low) {
                kind = Kind::Good;
            }
        }
    }
    if (kind != Kind::BadChecksum && address.size() == 5 && (EndsWith(address, "GGA") || EndsWith(address, "GSV"))) {
        if (EndsWith(address, "GGA")) {
            // Put in words only when the line is shown: a receiver at 20 Hz
            // sends far more GGAs than the line shows.
            ggaSeen_ = true;
            ggaTime_ = now;
            ggaContent_.assign(content);
        } else if (const std::vector<std::string_view> fields = Fields(content);
                   fields.size() > 2 && IsDigits(fields[1]) && IsDigits(fields[2]) && fields[1].size() <= 2 &&
                   fields[2].size() <= 2) {
            // $--GSV,parts,part,...: a satellite view takes several sentences
            // per epoch; its rate is that of whole views, counted at part 1.
            if (fields[2] != "1" && fields[2] != "01") {
                line_.clear();
                return true;
            }
            Record(address, kind, now);
            const auto found = std::find(addresses_.begin(), addresses_.end(), address);
            if (found != addresses_.end()) {
                parts_[static_cast<std::size_t>(found - addresses_.begin())] =
                    static_cast<std::uint16_t>(std::stoi(std::string(fields[1])));
            }
            line_.clear();
            return true;
        }
    }
    Record(address, kind, now);
    line_.clear();
    return true;
}

void StreamMonitor::Record(std::string_view address, Kind kind, Clock::time_point now) {
    auto known = std::find(addresses_.begin(), addresses_.end(), address);
    if (known == addresses_.end()) {
        if (addresses_.size() >= kMostAddresses) {
            return;
        }
        if (kind != Kind::Good && !Confirmed(address)) {
            // Still a damaged sentence the port brought, if not one to rate.
            otherBad_ += kind == Kind::BadChecksum ? 1u : 0u;
            return;
        }
        known = addresses_.emplace(addresses_.end(), address);
        badSinceOpened_.push_back(0);
        brokenSinceOpened_.push_back(0);
        parts_.push_back(1);
        shownRate_.insert(shownRate_.end(), 2, 0.0);
    }
    const auto index = static_cast<std::size_t>(known - addresses_.begin());
    if (kind == Kind::BadChecksum) {
        ++badSinceOpened_[index];
    } else if (kind == Kind::Broken) {
        ++brokenSinceOpened_[index];
    }
    events_.push_back({now, static_cast<std::uint16_t>(index), kind});
    if (events_.size() > kMostSentences) {
        events_.pop_front();
    }
}

bool StreamMonitor::Confirmed(std::string_view address) {
    // Line noise makes up "$GPGGA,..." without a valid checksum now and then,
    // but hardly a plausible address twice: one a checksum does not vouch for
    // is taken from its second sentence on, and only in letters, as talkers
    // and sentence types are written ("HEHDT", proprietary "PXYZA").
    const bool letters = std::all_of(address.begin(), address.end(), [](char c) { return c >= 'A' && c <= 'Z'; });
    if (!letters || (address.size() != 5 && address[0] != 'P')) {
        return false;
    }
    if (std::find(unconfirmed_.begin(), unconfirmed_.end(), address) != unconfirmed_.end()) {
        return true;
    }
    unconfirmed_[nextUnconfirmed_].assign(address);
    nextUnconfirmed_ = (nextUnconfirmed_ + 1) % unconfirmed_.size();
    return false;
}

void StreamMonitor::Forget(Clock::time_point now) {
    // What is exactly five seconds old is out of the window.
    const Clock::time_point start = now - kWindow;
    while (!bytes_.empty() && bytes_.front().time <= start) {
        bytes_.pop_front();
    }
    while (!events_.empty() && events_.front().time <= start) {
        events_.pop_front();
    }
}

StreamSummary StreamMonitor::Summarize(Clock::time_point now) {
    Forget(now);
    // Byte rates over the window, or over the time since the port opened
    // when that is shorter, and never over less than a second: a first read
    // must not read as a flood.
    const double seconds =
        std::chrono::duration<double>(std::clamp<Clock::duration>(now - opened_, 1s, kWindow)).count();
    std::uint64_t total = 0;
    std::uint64_t other = 0;
    for (const Arrival& arrival : bytes_) {
        total += arrival.bytes;
        other += arrival.other;
    }

    StreamSummary summary;
    const std::string bad = CountsByAddress(badSinceOpened_, addresses_, otherBad_, "bad checksum", "bad checksums");
    const std::string broken = CountsByAddress(brokenSinceOpened_, addresses_, 0, "broken", "broken");
    if (!bad.empty() || !broken.empty()) {
        summary.sinceOpened = "since the port opened: " + bad + (bad.empty() || broken.empty() ? "" : "; ") + broken;
    }
    if (events_.empty()) {
        std::fill(shownRate_.begin(), shownRate_.end(), 0.0);
        summary.head = total == 0 ? "no data" : ByteRate(total, seconds);
        return summary;
    }

    // Per address, with and without checksum: the sentences in the window,
    // the first and last arrival, and how many came with the first read.
    struct Tally {
        std::uint64_t count = 0, atFirst = 0, bad = 0, broken = 0;
        Clock::time_point first{}, last{};
    };
    std::vector<Tally> tallies(addresses_.size() * 2);
    for (const Event& event : events_) {
        Tally& withSum = tallies[event.address * 2u];
        switch (event.kind) {
        case Kind::BadChecksum:
            ++withSum.bad;
            continue;
        case Kind::Broken:
            ++withSum.broken;
            continue;
        case Kind::Good:
        case Kind::NoChecksum:
            break;
        }
        Tally& tally = tallies[event.address * 2u + (event.kind == Kind::NoChecksum ? 1u : 0u)];
        if (tally.count == 0) {
            tally.first = event.time;
        }
        tally.atFirst += event.time == tally.first ? 1u : 0u;
        tally.last = event.time;
        ++tally.count;
    }

    struct Item {
        bool gga;
        double rate; // negative: none in the window, only damaged ones
        std::string text;
        const std::string* address;
    };
    std::vector<Item> items;
    for (std::size_t i = 0; i < tallies.size(); ++i) {
        Tally& tally = tallies[i];
        const std::size_t index = i / 2;
        const bool noChecksum = i % 2 == 1;
        if (!noChecksum && tally.count == 0 && (tally.bad > 0 || tally.broken > 0)) {
            // Only damaged sentences with a checksum: the counts go with the
            // address's sentences without one, when there are any.
            Tally& plain = tallies[i + 1];
            if (plain.count > 0) {
                plain.bad += tally.bad;
                plain.broken += tally.broken;
                continue;
            }
        }
        if (tally.count == 0 && tally.bad == 0 && tally.broken == 0) {
            shownRate_[i] = 0.0;
            continue;
        }
        double rate = -1.0;
        if (tally.count > 0) {
            // The intervals between the first and the last arrival: arrival
            // jitter moves only the two ends, and a rate is right from the
            // second sentence on. Sentences of one read arrive together, so
            // the first read's count is not an interval.
            const double span = std::chrono::duration<double>(tally.last - tally.first).count();
            rate = span > 0.0 ? static_cast<double>(tally.count - tally.atFirst) / span
                              : static_cast<double>(tally.count) / seconds;
            double& shown = shownRate_[i];
            shown = shown > 0.0 && std::abs(rate - shown) <= kSteady * shown ? shown + (rate - shown) * kGlide : rate;
            rate = shown;
        } else {
            shownRate_[i] = 0.0;
        }
        const std::string& address = addresses_[index];
        std::string text = address;
        if (rate >= 0.0) {
            text += ' ' + common::FormatFixed(rate, 0, 1) + " Hz";
            if (parts_[index] > 1) {
                text += " × " + std::to_string(parts_[index]);
            }
            if (noChecksum) {
                text += " no checksum";
            }
        }
        if (tally.bad > 0 || tally.broken > 0) {
            text += " (";
            if (tally.bad > 0) {
                text += Grouped(tally.bad) + " bad";
            }
            if (tally.broken > 0) {
                text += (tally.bad > 0 ? ", " : "") + Grouped(tally.broken) + " broken";
            }
            text += ')';
        }
        items.push_back({address.size() == 5 && EndsWith(address, "GGA"), rate, std::move(text), &address});
    }
    // GGA carries the fix and goes first; the others from the fastest down.
    std::stable_sort(items.begin(), items.end(), [](const Item& a, const Item& b) {
        if (a.gga != b.gga) {
            return a.gga;
        }
        if (a.rate != b.rate) {
            return a.rate > b.rate;
        }
        return *a.address < *b.address;
    });
    // The fix says by itself that NMEA arrives; the line is short of room.
    summary.head = ggaSeen_ && ggaTime_ > now - kWindow ? "fix " + FixWords(Fields(ggaContent_)) + "; " : "NMEA ";
    for (Item& item : items) {
        summary.kept += item.gga ? 1 : 0;
        summary.items.push_back(std::move(item.text));
    }
    if (other > 0) {
        summary.tail = " + " + ByteRate(other, seconds) + " other";
    }
    return summary;
}

void PeerStreams::Reset(Clock::time_point now) { *this = PeerStreams(now); }

StreamMonitor& PeerStreams::Of(std::uint64_t peer) {
    auto found = peers_.find(peer);
    if (found == peers_.end()) {
        if (peers_.size() >= kMostPeers) {
            peers_.erase(peers_.begin());
        }
        // Rates count from when the socket went online, as for a serial
        // port: what a connection sent before it was accepted is nothing.
        found = peers_.emplace(peer, StreamMonitor(opened_)).first;
    }
    return found->second;
}

void PeerStreams::Feed(std::uint64_t peer, std::string_view bytes, Clock::time_point now) {
    if (!bytes.empty()) {
        Of(peer).Feed(bytes, now);
    }
}

void PeerStreams::FeedRecord(std::uint64_t peer, std::string_view bytes, Clock::time_point now) {
    if (!bytes.empty()) {
        Of(peer).FeedRecord(bytes, now);
    }
}

void PeerStreams::End(std::uint64_t peer) { peers_.erase(peer); }

StreamSummary PeerStreams::Summarize(Clock::time_point now) {
    if (peers_.empty()) {
        StreamMonitor nothing(opened_);
        return nothing.Summarize(now);
    }
    StreamSummary latest = peers_.rbegin()->second.Summarize(now);
    if (peers_.size() == 1) {
        return latest;
    }
    std::string each;
    for (auto peer = peers_.rbegin(); peer != peers_.rend(); ++peer) {
        const StreamSummary summary = peer == peers_.rbegin() ? latest : peer->second.Summarize(now);
        each += (each.empty() ? "" : "\n") + ("connection " + std::to_string(peer->first) + ": ") + summary.Whole();
        if (!summary.sinceOpened.empty()) {
            each += "; " + summary.sinceOpened;
        }
    }
    latest.head = std::to_string(peers_.size()) + " connections, latest: " + latest.head;
    latest.sinceOpened = each;
    return latest;
}

} // namespace commtools
