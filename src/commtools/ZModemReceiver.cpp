#include "commtools/ZModemReceiver.h"

#include "common/NewFileName.h"
#include "common/NumberFormat.h"
#include "common/WorkingFile.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <cstring>
#include <system_error>

namespace commtools {
namespace {

// The byte a ZDLE escape stands for: "l" and "m" the two rubouts, a control
// character with bit 6 set; none for any other byte after a ZDLE.
std::optional<unsigned char> Unescaped(unsigned char byte) {
    if (byte == 'l') {
        return 0x7F;
    }
    if (byte == 'm') {
        return 0xFF;
    }
    if ((byte & 0x60) == 0x40) {
        return static_cast<unsigned char>(byte ^ 0x40);
    }
    return std::nullopt;
}

constexpr unsigned char kPad = '*';
constexpr unsigned char kZdle = 0x18; // also CAN: five in a row cancel a session
constexpr unsigned char kXon = 0x11;
constexpr unsigned char kXoff = 0x13;
constexpr std::size_t kMaxSubpacket = 8192;

// A file lies under "." name ".partial-XXXXXX" until it is whole; its working
// file puts six letters or digits in place of the X.
constexpr std::string_view kWorkingMark = ".partial-";
constexpr std::size_t kWorkingRandom = 6;
// A working file this old belongs to no transfer still running.
constexpr auto kStaleWorkingFile = std::chrono::hours(24);

// After its ZFIN a sender writes the rest of that header's line (CR, then LF
// with or without its high bit) and, once it has read ours, "OO". They come at
// once; a byte that is late or out of order is terminal data.
constexpr int kClosingCr = 0, kClosingLf = 1, kClosingFirstO = 2, kClosingSecondO = 3;
constexpr auto kClosingWindow = std::chrono::seconds(1);

bool FitsClosing(int step, unsigned char byte) {
    switch (step) {
    case kClosingCr:
        return byte == '\r';
    case kClosingLf:
        return byte == '\n' || byte == 0x8a;
    default:
        return byte == 'O';
    }
}

// What this receiver can do, told to the sender in ZRINIT: full duplex, overlapped
// input and output, 32-bit CRCs. No buffer limit: the sender may stream.
constexpr std::uint32_t kCanFdx = 0x01, kCanOvio = 0x02, kCanFc32 = 0x20;
constexpr std::uint32_t kReceiverFlags = (kCanFdx | kCanOvio | kCanFc32) << 24;

constexpr std::array<std::uint16_t, 256> MakeCrc16Table() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned n = 0; n < 256; ++n) {
        std::uint16_t crc = static_cast<std::uint16_t>(n << 8);
        for (int bit = 0; bit < 8; ++bit) {
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        }
        table[n] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> MakeCrc32Table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t crc = n;
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
        }
        table[n] = crc;
    }
    return table;
}

constexpr auto kCrc16Table = MakeCrc16Table();
constexpr auto kCrc32Table = MakeCrc32Table();

inline std::uint16_t UpdateCrc16(std::uint16_t crc, unsigned char byte) {
    return static_cast<std::uint16_t>((crc << 8) ^ kCrc16Table[((crc >> 8) ^ byte) & 0xFF]);
}

inline std::uint32_t UpdateCrc32(std::uint32_t crc, unsigned char byte) {
    return kCrc32Table[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

bool NeedsEscape(unsigned char byte) {
    switch (byte) {
    case kZdle:
    case 0x10:
    case 0x90:
    case kXon:
    case 0x91:
    case kXoff:
    case 0x93:
        return true;
    default:
        return false;
    }
}

void AppendEscaped(std::string& out, unsigned char byte) {
    if (NeedsEscape(byte)) {
        out += static_cast<char>(kZdle);
        out += static_cast<char>(byte ^ 0x40);
    } else {
        out += static_cast<char>(byte);
    }
}

std::array<unsigned char, 5> HeaderBytes(ZFrame type, std::uint32_t argument) {
    return {static_cast<unsigned char>(type), static_cast<unsigned char>(argument & 0xFF),
            static_cast<unsigned char>((argument >> 8) & 0xFF), static_cast<unsigned char>((argument >> 16) & 0xFF),
            static_cast<unsigned char>((argument >> 24) & 0xFF)};
}

// A byte that stands for itself inside escaped data.
inline bool IsPlain(unsigned char byte) { return byte != kZdle && (byte & 0x7F) != kXon && (byte & 0x7F) != kXoff; }

std::string CancelSequence() { return std::string(8, static_cast<char>(kZdle)) + std::string(8, '\b'); }

bool IsLetterOrDigit(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

bool IsWorkingFileName(std::string_view file) {
    if (file.size() < 1 + kWorkingMark.size() + kWorkingRandom || file.front() != '.') {
        return false;
    }
    const std::string_view random = file.substr(file.size() - kWorkingRandom);
    if (!std::all_of(random.begin(), random.end(), IsLetterOrDigit)) {
        return false;
    }
    const std::string_view rest = file.substr(1, file.size() - 1 - kWorkingRandom);
    if (!rest.ends_with(kWorkingMark)) {
        return false;
    }
    const std::string_view name = rest.substr(0, rest.size() - kWorkingMark.size());
    return !name.empty() && SafeFileName(name) == name;
}

} // namespace

std::uint16_t Crc16(std::string_view bytes) {
    std::uint16_t crc = 0;
    for (unsigned char byte : bytes) {
        crc = UpdateCrc16(crc, byte);
    }
    return crc;
}

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes) {
        crc = UpdateCrc32(crc, byte);
    }
    return ~crc;
}

std::string HexHeader(ZFrame type, std::uint32_t argument) {
    static const char digits[] = "0123456789abcdef";
    const auto header = HeaderBytes(type, argument);
    std::string out = "**\x18"
                      "B";
    std::uint16_t crc = 0;
    for (unsigned char byte : header) {
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
        crc = UpdateCrc16(crc, byte);
    }
    for (unsigned char byte : {static_cast<unsigned char>(crc >> 8), static_cast<unsigned char>(crc & 0xFF)}) {
        out += digits[byte >> 4];
        out += digits[byte & 0x0F];
    }
    // CR and LF with its high bit set; XON except after ACK and FIN, which the
    // sender reads at the end of a session and must not take for data.
    out += "\r\x8a";
    if (type != ZFrame::ACK && type != ZFrame::FIN) {
        out += static_cast<char>(kXon);
    }
    return out;
}

std::string BinaryHeader(ZFrame type, std::uint32_t argument, bool crc32) {
    const auto header = HeaderBytes(type, argument);
    std::string out = "*\x18";
    out += crc32 ? 'C' : 'A';
    const std::string_view raw(reinterpret_cast<const char*>(header.data()), header.size());
    for (unsigned char byte : raw) {
        AppendEscaped(out, byte);
    }
    if (crc32) {
        const std::uint32_t crc = Crc32(raw);
        for (int shift = 0; shift < 32; shift += 8) {
            AppendEscaped(out, static_cast<unsigned char>(crc >> shift));
        }
    } else {
        const std::uint16_t crc = Crc16(raw);
        AppendEscaped(out, static_cast<unsigned char>(crc >> 8));
        AppendEscaped(out, static_cast<unsigned char>(crc & 0xFF));
    }
    return out;
}

std::string DataSubpacket(std::string_view data, char end, bool crc32) {
    std::string out = EscapeZdle(data);
    out += static_cast<char>(kZdle);
    out += end;
    if (crc32) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (unsigned char byte : data) {
            crc = UpdateCrc32(crc, byte);
        }
        crc = ~UpdateCrc32(crc, static_cast<unsigned char>(end));
        for (int shift = 0; shift < 32; shift += 8) {
            AppendEscaped(out, static_cast<unsigned char>(crc >> shift));
        }
    } else {
        std::uint16_t crc = 0;
        for (unsigned char byte : data) {
            crc = UpdateCrc16(crc, byte);
        }
        crc = UpdateCrc16(crc, static_cast<unsigned char>(end));
        AppendEscaped(out, static_cast<unsigned char>(crc >> 8));
        AppendEscaped(out, static_cast<unsigned char>(crc & 0xFF));
    }
    return out;
}

std::string EscapeZdle(std::string_view data) {
    std::string out;
    out.reserve(data.size() + data.size() / 16);
    for (unsigned char byte : data) {
        AppendEscaped(out, byte);
    }
    return out;
}

namespace {

// How many bytes of `text` from `at` make one well-formed UTF-8 character
// (no overlong forms, no surrogates, nothing past U+10FFFF); 0 when they do not.
std::size_t Utf8Length(std::string_view text, std::size_t at) {
    const auto byte = [&](std::size_t n) { return static_cast<unsigned char>(text[at + n]); };
    const unsigned char lead = byte(0);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (at + length > text.size() || byte(1) < low || byte(1) > high) {
        return 0;
    }
    for (std::size_t n = 2; n < length; ++n) {
        if (byte(n) < 0x80 || byte(n) > 0xBF) {
            return 0;
        }
    }
    return length;
}

// The name with every control character and every byte that is no UTF-8 as
// "_": a name shows in a file manager, a listing and the status log as it is
// stored, and never moves a terminal's cursor or rings its bell.
std::string Printable(std::string_view name) {
    std::string out;
    out.reserve(name.size());
    for (std::size_t at = 0; at < name.size();) {
        const std::size_t length = Utf8Length(name, at);
        const auto lead = static_cast<unsigned char>(name[at]);
        const bool control = lead < 0x20 || lead == 0x7F ||
                             (length == 2 && lead == 0xC2 && static_cast<unsigned char>(name[at + 1]) < 0xA0);
        if (length == 0 || control) {
            out += '_';
            at += length == 0 ? 1 : length;
        } else {
            out.append(name.substr(at, length));
            at += length;
        }
    }
    return out;
}

// Cuts valid UTF-8 to at most `longest` bytes without splitting a character.
std::string_view CutAtCharacter(std::string_view text, std::size_t longest) {
    if (text.size() <= longest) {
        return text;
    }
    std::size_t end = longest;
    while (end > 0 && (static_cast<unsigned char>(text[end]) & 0xC0) == 0x80) {
        --end;
    }
    return text.substr(0, end);
}

// An extension longer than this is more likely part of the name itself.
constexpr std::size_t kLongestKeptExtension = 16;

} // namespace

std::string SafeFileName(std::string_view peerName, std::size_t longest) {
    const auto slash = peerName.find_last_of("/\\");
    const std::string_view last = slash == std::string_view::npos ? peerName : peerName.substr(slash + 1);
    if (last.empty() || last == "." || last == "..") {
        return {};
    }
    std::string name = Printable(last);
    if (name.front() == '-') {
        name.front() = '_';
    }
    if (name.size() <= longest) {
        return name;
    }
    // The extension says what opens the file ("line 12.all", "svp.asvp"): the
    // stem gives way.
    const auto dot = name.find_last_of('.');
    std::string_view extension;
    if (dot != std::string::npos && dot > 0 && name.size() - dot <= kLongestKeptExtension &&
        name.size() - dot < longest) {
        extension = std::string_view(name).substr(dot);
    }
    const std::string_view stem = std::string_view(name).substr(0, name.size() - extension.size());
    std::string shortened(CutAtCharacter(stem, longest - extension.size()));
    shortened += extension;
    return shortened;
}

std::optional<std::uint64_t> AnnouncedSize(std::string_view fileInformation) {
    const std::string_view field = fileInformation.substr(0, fileInformation.find(' '));
    std::uint64_t size = 0;
    const auto [end, error] = std::from_chars(field.data(), field.data() + field.size(), size);
    if (field.empty() || error != std::errc() || end != field.data() + field.size()) {
        return std::nullopt;
    }
    return size;
}

namespace {

// A size in the unit that suits `scale` bytes: whole bytes, else one decimal of
// kB, MB or GB.
struct SizeUnit {
    double divisor;
    int decimals;
    const char* name;
};

SizeUnit UnitFor(std::uint64_t scale) {
    if (scale < 1000) {
        return {1, 0, "B"};
    }
    if (scale < 999950) {
        return {1e3, 1, "kB"};
    }
    if (scale < 999950000) {
        return {1e6, 1, "MB"};
    }
    return {1e9, 1, "GB"};
}

std::string Amount(std::uint64_t bytes, const SizeUnit& unit) {
    return common::FormatFixed(static_cast<double>(bytes) / unit.divisor, 0, unit.decimals);
}

// "9 s", "2 min 5 s", "1 h 4 min", rounded up: a download never takes less than said.
std::string Duration(double seconds) {
    const auto whole = static_cast<std::uint64_t>(std::ceil(seconds));
    if (whole < 60) {
        return std::to_string(whole) + " s";
    }
    if (whole < 3600) {
        return std::to_string(whole / 60) + " min " + std::to_string(whole % 60) + " s";
    }
    return std::to_string(whole / 3600) + " h " + std::to_string(whole % 3600 / 60) + " min";
}

} // namespace

int ProgressPercent(const TransferProgress& progress) {
    if (!progress.announced || progress.received > *progress.announced) {
        return -1;
    }
    if (progress.received == *progress.announced) {
        return 100;
    }
    return static_cast<int>(progress.received * 100 / *progress.announced);
}

std::string RateText(double bytesPerSecond) {
    if (bytesPerSecond < 999.5) {
        return common::FormatFixed(bytesPerSecond, 0, 0) + " B/s";
    }
    if (bytesPerSecond < 999.5e3) {
        return common::FormatFixed(bytesPerSecond / 1e3, 0, 0) + " kB/s";
    }
    if (bytesPerSecond < 999.95e6) {
        return common::FormatFixed(bytesPerSecond / 1e6, 0, 1) + " MB/s";
    }
    return common::FormatFixed(bytesPerSecond / 1e9, 0, 1) + " GB/s";
}

std::string ProgressText(const TransferProgress& progress) {
    std::string text = progress.file + ": ";
    const int percent = ProgressPercent(progress);
    if (percent >= 0) {
        const SizeUnit unit = UnitFor(*progress.announced);
        text += Amount(progress.received, unit) + " of " + Amount(*progress.announced, unit) + " " + unit.name + ", " +
                std::to_string(percent) + " %";
    } else {
        const SizeUnit unit = UnitFor(progress.received);
        text += Amount(progress.received, unit) + " " + unit.name;
    }
    const double seconds = std::chrono::duration<double>(progress.elapsed).count();
    if (seconds < 1 || progress.received == 0) {
        return text;
    }
    const double rate = static_cast<double>(progress.received) / seconds;
    text += ", " + RateText(rate);
    if (percent >= 0 && percent < 100) {
        text += ", " + Duration(static_cast<double>(*progress.announced - progress.received) / rate) + " left";
    }
    return text;
}

namespace {

// Outside a session, what the bytes held back since a '*' are: still possibly a
// sender's first header, that header whole with a good CRC, or no header.
enum class Opening { Partial, Start, None };

// Only a sender's first frames open a session: its ZRQINIT, or its ZFILE when
// it took an earlier session's ZRINIT as its answer.
bool Opens(unsigned char type) {
    return type == static_cast<unsigned char>(ZFrame::RQINIT) || type == static_cast<unsigned char>(ZFrame::FILE);
}

// Senders put one pad before a binary header and two before a hex one; a line
// of stars in a device's banner is no header.
constexpr std::size_t kMostPads = 4;
// Pads, ZDLE, format, a 32-bit CRC header with every byte escaped, and room
// for flow-control bytes between them.
constexpr std::size_t kLongestOpening = 48;

Opening ClassifyOpening(std::string_view bytes) {
    std::size_t at = 0;
    while (at < bytes.size() && bytes[at] == kPad) {
        ++at;
    }
    if (at > kMostPads || bytes.size() > kLongestOpening) {
        return Opening::None;
    }
    if (at == bytes.size()) {
        return Opening::Partial;
    }
    if (static_cast<unsigned char>(bytes[at++]) != kZdle) {
        return Opening::None;
    }
    if (at == bytes.size()) {
        return Opening::Partial;
    }
    const char format = bytes[at++];
    if (format == 'B') {
        std::array<unsigned char, 7> header{};
        std::size_t digits = 0;
        for (; at < bytes.size() && digits < 14; ++at, ++digits) {
            const int value = common::HexDigitValue(bytes[at]);
            if (value < 0) {
                return Opening::None;
            }
            header[digits / 2] = static_cast<unsigned char>(header[digits / 2] << 4 | value);
            if (digits == 1 && !Opens(header[0])) {
                return Opening::None;
            }
        }
        if (digits < 14) {
            return Opening::Partial;
        }
        std::uint16_t crc = 0;
        for (unsigned char byte : header) {
            crc = UpdateCrc16(crc, byte);
        }
        return crc == 0 ? Opening::Start : Opening::None;
    }
    if (format != 'A' && format != 'C') {
        return Opening::None;
    }
    const std::size_t length = format == 'C' ? 9 : 7;
    std::string header;
    bool escape = false;
    for (; at < bytes.size(); ++at) {
        auto byte = static_cast<unsigned char>(bytes[at]);
        if ((byte & 0x7F) == kXon || (byte & 0x7F) == kXoff) {
            continue;
        }
        if (!escape && byte == kZdle) {
            escape = true;
            continue;
        }
        if (escape) {
            escape = false;
            const std::optional<unsigned char> plain = Unescaped(byte);
            if (!plain) {
                return Opening::None;
            }
            byte = *plain;
        }
        header += static_cast<char>(byte);
        if (header.size() == 1 && !Opens(byte)) {
            return Opening::None;
        }
    }
    if (header.size() < length) {
        return Opening::Partial;
    }
    if (format == 'A') {
        return Crc16(header) == 0 ? Opening::Start : Opening::None;
    }
    std::uint32_t sent = 0;
    for (int n = 0; n < 4; ++n) {
        sent |= static_cast<std::uint32_t>(static_cast<unsigned char>(header[5 + n])) << (8 * n);
    }
    return Crc32(std::string_view(header).substr(0, 5)) == sent ? Opening::Start : Opening::None;
}

} // namespace

ZModemReceiver::ZModemReceiver(Settings settings)
    : settings_(std::move(settings)), naming_(common::SystemFileNaming()) {}

ZModemReceiver::~ZModemReceiver() {
    // The owner's log may already be gone; the unfinished file goes silently.
    log_ = nullptr;
    progressOut_ = nullptr;
    DropFile();
}

void ZModemReceiver::Log(const std::string& text) {
    if (log_) {
        log_(text);
    }
}

void ZModemReceiver::Reply(const std::string& frame, bool remember) {
    if (remember) {
        lastReply_ = frame;
    }
    if (sendToPeer_) {
        sendToPeer_(frame);
    }
}

std::string ZModemReceiver::Receive(std::string_view data, Clock::time_point now) {
    std::string display;
    now_ = now;
    std::size_t i = 0;
    while (i < data.size()) {
        if (!inSession_) {
            const unsigned char byte = static_cast<unsigned char>(data[i++]);
            if (!DropsAsClosing(byte, display, now)) {
                PassOn(byte, display, now);
            }
            continue;
        }
        ended_ = false;
        while (i < data.size() && !ended_) {
            // File data is mostly plain bytes: take a run of them in one go.
            if (parse_ == Parse::Subpacket && !escape_) {
                const std::size_t room = kMaxSubpacket - std::min(kMaxSubpacket, data_.size());
                std::size_t run = 0;
                while (run < room && i + run < data.size() && IsPlain(static_cast<unsigned char>(data[i + run]))) {
                    ++run;
                }
                if (run > 0) {
                    data_.append(data.data() + i, run);
                    canRun_ = 0;
                    i += run;
                    // The data of a subpacket that a good header announced: on
                    // a slow line a long subpacket must not time out half-way.
                    lastHeard_ = now;
                    continue;
                }
            }
            FeedSession(static_cast<unsigned char>(data[i++]));
        }
    }
    return display;
}

void ZModemReceiver::PassOn(unsigned char byte, std::string& display, Clock::time_point now) {
    if (!opening_.empty() || byte == kPad) {
        WatchForHeader(byte, display, now);
        return;
    }
    display += std::exchange(announcement_, {});
    display += static_cast<char>(byte);
    static constexpr char kStart[] = "rz\r";
    if (byte == static_cast<unsigned char>(kStart[startMatch_])) {
        if (++startMatch_ == 3) {
            // A sender's announcement belongs to its session, not to the
            // display; it waits to see whether a header follows at once.
            startMatch_ = 0;
            const std::size_t held = std::min<std::size_t>(3, display.size());
            announcement_ = display.substr(display.size() - held);
            display.resize(display.size() - held);
        }
    } else {
        startMatch_ = byte == 'r' ? 1 : 0;
    }
}

void ZModemReceiver::WatchForHeader(unsigned char byte, std::string& display, Clock::time_point now) {
    opening_ += static_cast<char>(byte);
    switch (ClassifyOpening(opening_)) {
    case Opening::Partial:
        return;
    case Opening::Start: {
        // The session's own parser reads the header again from its first byte,
        // so a session runs exactly as if it had been open all along.
        announcement_.clear();
        const std::string header = std::exchange(opening_, {});
        StartSession(now);
        for (unsigned char headerByte : header) {
            FeedSession(headerByte);
        }
        return;
    }
    case Opening::None:
        break;
    }
    opening_.pop_back();
    display += std::exchange(announcement_, {});
    display += std::exchange(opening_, {});
    startMatch_ = 0;
    // The byte that showed it was no header may begin one itself, or be data.
    PassOn(byte, display, now);
}

bool ZModemReceiver::Holding() const {
    return !announcement_.empty() || !opening_.empty() || closing_ == kClosingSecondO;
}

std::string ZModemReceiver::TakeHeld() {
    std::string held = std::exchange(announcement_, {}) + std::exchange(opening_, {});
    if (closing_ == kClosingSecondO) {
        held += 'O';
    }
    closing_ = -1;
    return held;
}

bool ZModemReceiver::DropsAsClosing(unsigned char byte, std::string& display, Clock::time_point now) {
    if (closing_ < 0) {
        return false;
    }
    if (now - finishedAt_ <= kClosingWindow && FitsClosing(closing_, byte)) {
        closing_ = closing_ == kClosingSecondO ? -1 : closing_ + 1;
        return true;
    }
    // An 'O' held back in case its twin followed turns out to start a line.
    if (closing_ == kClosingSecondO) {
        PassOn('O', display, now);
    }
    closing_ = -1;
    return false;
}

void ZModemReceiver::StartSession(Clock::time_point now) {
    startMatch_ = 0;
    inSession_ = true;
    parse_ = Parse::SeekHeader;
    expect_ = Expect::Nothing;
    sawPad_ = sawZdle_ = escape_ = false;
    canRun_ = 0;
    errors_ = 0;
    retries_ = 0;
    lastHeard_ = now;
    Log("session started");
    std::error_code error;
    std::filesystem::create_directories(settings_.folder, error);
    // The session opens on the sender's ZRQINIT, which gets its answer at once,
    // or on its ZFILE. A second, unasked ZRINIT would reach the sender when it
    // waits for the answer to its next frame, and every later answer would
    // then come one frame late (sz -e repeats its ZSINIT, its ZFILE and its
    // ZFIN for it). A sender that goes silent gets it with the first time-out.
    lastReply_ = HexHeader(ZFrame::RINIT, kReceiverFlags);
}

void ZModemReceiver::EndSession() {
    DropFile();
    inSession_ = false;
    ended_ = true;
    expect_ = Expect::Nothing;
    parse_ = Parse::SeekHeader;
    lastReply_.clear();
}

void ZModemReceiver::Abort(const std::string& reason) {
    Log("session aborted: " + reason);
    Reply(CancelSequence(), false);
    EndSession();
}

void ZModemReceiver::CarrierLost() {
    if (!inSession_) {
        return;
    }
    Log("session aborted: carrier lost");
    EndSession();
}

void ZModemReceiver::Tick(Clock::time_point now) {
    if (!inSession_ || now - lastHeard_ < settings_.timeout) {
        return;
    }
    lastHeard_ = now;
    if (++retries_ > settings_.timeoutRetries) {
        Abort("time-out");
        return;
    }
    Log("time-out, retry " + std::to_string(retries_));
    if (expect_ == Expect::FileData || file_) {
        AskFromOffset();
    } else if (!lastReply_.empty()) {
        Reply(lastReply_, false);
    }
}

void ZModemReceiver::CountError(const std::string& what) {
    Log(what);
    if (++errors_ > settings_.errorLimit) {
        Abort("too many errors");
    }
}

// After a damaged or out-of-place subpacket, everything up to the next header
// is discarded and the sender is asked to go on from the last good byte.
void ZModemReceiver::AskFromOffset() {
    expect_ = file_ ? Expect::Nothing : expect_;
    parse_ = Parse::SeekHeader;
    Reply(HexHeader(ZFrame::RPOS, offset_));
}

void ZModemReceiver::FeedSession(unsigned char byte) {
    if (byte == kZdle) {
        if (++canRun_ >= 5) {
            Log("session cancelled by the sender");
            DropFile();
            EndSession();
            return;
        }
    } else {
        canRun_ = 0;
    }

    switch (parse_) {
    case Parse::SeekHeader:
        if (byte == kPad) {
            sawPad_ = true;
            sawZdle_ = false;
        } else if (byte == kZdle && sawPad_) {
            sawZdle_ = true;
        } else if (sawZdle_ && (byte == 'A' || byte == 'B' || byte == 'C')) {
            format_ = static_cast<char>(byte);
            header_.clear();
            escape_ = false;
            parse_ = byte == 'B' ? Parse::HexHeader : Parse::BinaryHeader;
            sawPad_ = sawZdle_ = false;
        } else if ((byte & 0x7F) != kXon && (byte & 0x7F) != kXoff) {
            sawPad_ = sawZdle_ = false;
        }
        return;
    case Parse::HexHeader:
        if (common::HexDigitValue(byte) < 0) {
            parse_ = Parse::SeekHeader;
            CountError("bad hex header");
            return;
        }
        header_ += static_cast<char>(byte);
        if (header_.size() == 14) {
            HeaderDone();
        }
        return;
    case Parse::HexTrailer:
        if (SkipsAsHexTrailer(byte)) {
            return;
        }
        parse_ = Parse::Subpacket; // a line end cut short: this byte is already data
        break;
    default:
        break;
    }

    // Escaped bytes: binary headers, subpackets and their CRCs.
    if ((byte & 0x7F) == kXon || (byte & 0x7F) == kXoff) {
        return;
    }
    if (!escape_ && byte == kZdle) {
        escape_ = true;
        return;
    }
    bool frameEnd = false;
    if (escape_) {
        escape_ = false;
        if (byte == kZdle) {
            return; // part of a cancel run
        }
        if (parse_ == Parse::Subpacket && (byte == kZCrcE || byte == kZCrcG || byte == kZCrcQ || byte == kZCrcW)) {
            frameEnd = true;
        } else if (const std::optional<unsigned char> plain = Unescaped(byte)) {
            byte = *plain;
        } else {
            parse_ = Parse::SeekHeader;
            CountError("bad escape sequence");
            if (inSession_ && file_) {
                AskFromOffset();
            }
            return;
        }
    }

    switch (parse_) {
    case Parse::BinaryHeader:
        header_ += static_cast<char>(byte);
        if (header_.size() == (format_ == 'C' ? 9u : 7u)) {
            HeaderDone();
        }
        return;
    case Parse::Subpacket:
        if (frameEnd) {
            subpacketEnd_ = static_cast<char>(byte);
            crcBytes_.clear();
            parse_ = Parse::SubpacketCrc;
        } else if (data_.size() < kMaxSubpacket) {
            data_ += static_cast<char>(byte);
        } else {
            parse_ = Parse::SeekHeader;
            CountError("subpacket too long");
            if (inSession_ && file_) {
                AskFromOffset();
            }
        }
        return;
    case Parse::SubpacketCrc:
        crcBytes_ += static_cast<char>(byte);
        if (crcBytes_.size() == (dataCrc32_ ? 4u : 2u)) {
            SubpacketDone();
        }
        return;
    default:
        return;
    }
}

// A hex header's line ends in CR, then LF, either with its high bit set or not;
// the XON after them goes with the other flow-control bytes.
bool ZModemReceiver::SkipsAsHexTrailer(unsigned char byte) {
    if (!sawTrailerCr_ && (byte & 0x7F) == '\r') {
        sawTrailerCr_ = true;
        return true;
    }
    if (sawTrailerCr_ && (byte & 0x7F) == '\n') {
        parse_ = Parse::Subpacket;
        return true;
    }
    return false;
}

void ZModemReceiver::HeaderDone() {
    parse_ = Parse::SeekHeader;
    std::array<unsigned char, 5> header{};
    bool good = false;
    if (format_ == 'B') {
        std::array<unsigned char, 7> bytes{};
        for (std::size_t n = 0; n < 7; ++n) {
            bytes[n] = static_cast<unsigned char>(common::HexDigitValue(header_[2 * n]) << 4 |
                                                  common::HexDigitValue(header_[2 * n + 1]));
        }
        std::uint16_t crc = 0;
        for (unsigned char byte : bytes) {
            crc = UpdateCrc16(crc, byte);
        }
        good = crc == 0;
        std::memcpy(header.data(), bytes.data(), 5);
    } else if (format_ == 'A') {
        std::uint16_t crc = 0;
        for (char c : header_) {
            crc = UpdateCrc16(crc, static_cast<unsigned char>(c));
        }
        good = crc == 0;
        std::memcpy(header.data(), header_.data(), 5);
    } else {
        const std::uint32_t crc = Crc32(std::string_view(header_).substr(0, 5));
        std::uint32_t sent = 0;
        for (int n = 0; n < 4; ++n) {
            sent |= static_cast<std::uint32_t>(static_cast<unsigned char>(header_[5 + n])) << (8 * n);
        }
        good = crc == sent;
        std::memcpy(header.data(), header_.data(), 5);
    }
    if (!good) {
        CountError("header CRC error");
        if (inSession_ && file_) {
            AskFromOffset();
        }
        return;
    }
    const std::uint32_t argument =
        header[1] | header[2] << 8 | header[3] << 16 | static_cast<std::uint32_t>(header[4]) << 24;
    // A sender goes back to 16-bit CRCs whenever it sends a hex header, so the
    // subpackets follow the latest header, whatever its kind.
    dataCrc32_ = format_ == 'C';
    // Only whole frames show that a sender is there: a device that merely
    // said "rz" and goes on with its own lines must still time out.
    lastHeard_ = now_;
    retries_ = 0;
    HandleHeader(static_cast<ZFrame>(header[0]), argument, format_ == 'C');
    if (format_ == 'B' && parse_ == Parse::Subpacket) {
        parse_ = Parse::HexTrailer;
        sawTrailerCr_ = false;
    }
}

void ZModemReceiver::HandleHeader(ZFrame type, std::uint32_t argument, bool) {
    switch (type) {
    case ZFrame::RQINIT:
        Reply(HexHeader(ZFrame::RINIT, kReceiverFlags));
        return;
    case ZFrame::SINIT:
        expect_ = Expect::SinitData;
        data_.clear();
        parse_ = Parse::Subpacket;
        return;
    case ZFrame::FILE:
        DropFile();
        expect_ = Expect::FileInfo;
        data_.clear();
        parse_ = Parse::Subpacket;
        return;
    case ZFrame::DATA:
        if (!file_) {
            Reply(HexHeader(ZFrame::RINIT, kReceiverFlags));
            return;
        }
        if (argument != offset_) {
            // Data meant for another place (the sender had not yet seen our
            // ZRPOS): ask again and discard until it comes from our offset.
            CountError("data at " + std::to_string(argument) + " while expecting " + std::to_string(offset_));
            if (inSession_) {
                AskFromOffset();
            }
            return;
        }
        expect_ = Expect::FileData;
        data_.clear();
        parse_ = Parse::Subpacket;
        return;
    case ZFrame::EOF_:
        // An end-of-file at another offset is a stale one from before a ZRPOS.
        if (file_ && argument == offset_) {
            FinishFile();
            Reply(HexHeader(ZFrame::RINIT, kReceiverFlags));
        }
        return;
    case ZFrame::FIN:
        Log("session finished");
        Reply(HexHeader(ZFrame::FIN, 0), false);
        EndSession();
        closing_ = format_ == 'B' ? kClosingCr : kClosingFirstO;
        finishedAt_ = now_;
        return;
    case ZFrame::ABORT:
        Log("session aborted by the sender");
        Reply(HexHeader(ZFrame::FIN, 0), false);
        EndSession();
        return;
    case ZFrame::COMMAND:
        // A terminal must never run what a peer asks it to.
        Log("command refused");
        Reply(HexHeader(ZFrame::COMPL, 1), false);
        return;
    case ZFrame::FREECNT:
        Reply(HexHeader(ZFrame::ACK, 0xFFFFFFFFu), false);
        return;
    default:
        if (!lastReply_.empty()) {
            Reply(lastReply_, false);
        }
        return;
    }
}

void ZModemReceiver::SubpacketDone() {
    bool good;
    if (dataCrc32_) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (unsigned char byte : data_) {
            crc = UpdateCrc32(crc, byte);
        }
        crc = ~UpdateCrc32(crc, static_cast<unsigned char>(subpacketEnd_));
        std::uint32_t sent = 0;
        for (int n = 0; n < 4; ++n) {
            sent |= static_cast<std::uint32_t>(static_cast<unsigned char>(crcBytes_[n])) << (8 * n);
        }
        good = crc == sent;
    } else {
        std::uint16_t crc = 0;
        for (unsigned char byte : data_) {
            crc = UpdateCrc16(crc, byte);
        }
        crc = UpdateCrc16(crc, static_cast<unsigned char>(subpacketEnd_));
        good = crc == (static_cast<unsigned char>(crcBytes_[0]) << 8 | static_cast<unsigned char>(crcBytes_[1]));
    }
    parse_ = Parse::SeekHeader;
    if (!good) {
        CountError("data CRC error at " + std::to_string(offset_));
        if (inSession_ && expect_ == Expect::FileData) {
            AskFromOffset();
        } else if (inSession_ && !lastReply_.empty()) {
            Reply(lastReply_, false);
        }
        return;
    }
    lastHeard_ = now_;
    retries_ = 0;
    switch (expect_) {
    case Expect::SinitData:
        expect_ = Expect::Nothing;
        Reply(HexHeader(ZFrame::ACK, 0), false);
        return;
    case Expect::FileInfo:
        expect_ = Expect::Nothing;
        HandleFileInfo();
        return;
    case Expect::FileData:
        if (!WriteData()) {
            return;
        }
        if (subpacketEnd_ == kZCrcQ || subpacketEnd_ == kZCrcW) {
            Reply(HexHeader(ZFrame::ACK, offset_), false);
        }
        if (subpacketEnd_ == kZCrcG || subpacketEnd_ == kZCrcQ) {
            data_.clear();
            parse_ = Parse::Subpacket;
        } else {
            expect_ = Expect::Nothing;
        }
        return;
    case Expect::Nothing:
        return;
    }
}

void ZModemReceiver::HandleFileInfo() {
    const std::string peerName(data_.c_str()); // up to the NUL that ends the name
    const std::string rest = data_.size() > peerName.size() + 1 ? data_.substr(peerName.size() + 1) : std::string();
    announcedSize_ = AnnouncedSize(rest.c_str()); // up to the NUL that ends the information
    // The working name, "." name ".partial-XXXXXX", must fit the folder too.
    const std::size_t longest = common::LongestFileName(settings_.folder);
    const std::size_t workingExtra = 1 + kWorkingMark.size() + kWorkingRandom;
    fileName_ = SafeFileName(peerName, longest > workingExtra ? longest - workingExtra : 1);
    if (fileName_.empty()) {
        Log("file name \"" + Printable(peerName) + "\" refused");
        Reply(HexHeader(ZFrame::SKIP, 0));
        return;
    }
    // A hidden working name in the download folder: the file is renamed only
    // when the sender's end-of-file has arrived at the right offset.
    std::string pattern =
        (settings_.folder / ("." + fileName_ + std::string(kWorkingMark) + std::string(kWorkingRandom, 'X'))).string();
    if (const common::FileResult created = file_.Create(pattern); !created) {
        Log("cannot create \"" + fileName_ + "\" in " + settings_.folder.string() + ": " +
            created.Error().toStdString());
        Reply(HexHeader(ZFrame::SKIP, 0));
        return;
    }
    offset_ = 0;
    announcedAt_ = now_;
    Log("receiving \"" + fileName_ + "\", " +
        (announcedSize_ ? std::to_string(*announcedSize_) + " bytes" : std::string("size unknown")));
    ReportProgress(true);
    Reply(HexHeader(ZFrame::RPOS, 0));
}

bool ZModemReceiver::WriteData() {
    if (const common::FileResult written = file_.Write(data_); !written) {
        Abort("cannot write \"" + fileName_ + "\": " + written.Error().toStdString());
        return false;
    }
    offset_ += static_cast<std::uint32_t>(data_.size());
    if (!data_.empty()) {
        ReportProgress(true);
    }
    return true;
}

void ZModemReceiver::ReportProgress(bool arriving) {
    if (!progressOut_) {
        return;
    }
    progress_.file = fileName_;
    progress_.received = offset_;
    progress_.announced = announcedSize_;
    progress_.elapsed = now_ - announcedAt_;
    progress_.arriving = arriving;
    progressOut_(progress_);
}

void ZModemReceiver::FinishFile() {
    const std::filesystem::path working = file_.Path();
    ReportProgress(false);
    if (const common::FileResult finished = file_.Finish(); !finished) {
        Log("cannot write \"" + fileName_ + "\": " + finished.Error().toStdString());
        common::RemoveFile(working);
        return;
    }
    std::filesystem::path target;
    const common::FileResult named =
        common::NameWithoutReplacing(working, settings_.folder, fileName_, naming_, target);
    if (named) {
        received_.push_back(target);
        std::string rate;
        const double seconds = std::chrono::duration<double>(now_ - announcedAt_).count();
        if (offset_ >= kRateLoggedFrom && seconds > 0) {
            rate = ", " + RateText(offset_ / seconds);
        }
        // A sender that ends early or sends more than it said leaves a file a
        // surveyor should look at before trusting it.
        std::string announced;
        if (announcedSize_ && *announcedSize_ != offset_) {
            announced = std::string(offset_ < *announcedSize_ ? ", fewer" : ", more") + " than the " +
                        std::to_string(*announcedSize_) + " announced";
        }
        Log("received \"" + target.filename().string() + "\", " + std::to_string(offset_) + " bytes" + rate +
            announced);
        return;
    }
    Log("cannot name \"" + fileName_ + "\": " + named.Error().toStdString());
    common::RemoveFile(working);
}

void ZModemReceiver::DropFile() {
    if (!file_) {
        return;
    }
    file_.Discard();
    Log("\"" + fileName_ + "\" incomplete at " + std::to_string(offset_) + " bytes, discarded");
    ReportProgress(false);
}

int ZModemReceiver::RemoveStaleWorkingFiles(std::filesystem::file_time_type now) {
    int removed = 0;
    std::error_code error;
    for (std::filesystem::directory_iterator it(settings_.folder, error), end; !error && it != end;
         it.increment(error)) {
        const std::string file = it->path().filename().string();
        if (!IsWorkingFileName(file)) {
            continue;
        }
        // The link's own type, never what it points at: a link is left alone.
        std::error_code fileError;
        if (it->symlink_status(fileError).type() != std::filesystem::file_type::regular) {
            continue;
        }
        const auto written = it->last_write_time(fileError);
        if (fileError || now - written <= kStaleWorkingFile) {
            continue;
        }
        // unlink, unlike remove, refuses a directory that took the name meanwhile.
        if (!common::RemoveFile(it->path())) {
            continue;
        }
        ++removed;
        Log("removed stale working file \"" + file + "\"");
    }
    return removed;
}

} // namespace commtools
