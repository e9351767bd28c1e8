#include "commtools/ZModemReceiver.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>
#include <system_error>

#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

namespace commtools {
namespace {

constexpr unsigned char kPad = '*';
constexpr unsigned char kZdle = 0x18; // also CAN: five in a row cancel a session
constexpr unsigned char kXon = 0x11;
constexpr unsigned char kXoff = 0x13;
constexpr std::size_t kMaxSubpacket = 8192;

// What this receiver can do, told to the sender in ZRINIT: full duplex, overlapped
// input and output, 32-bit CRCs. No buffer limit: the sender may stream.
constexpr std::uint32_t kCanFdx = 0x01, kCanOvio = 0x02, kCanFc32 = 0x20;
constexpr std::uint32_t kReceiverFlags = (kCanFdx | kCanOvio | kCanFc32) << 24;

constexpr std::array<std::uint16_t, 256> MakeCrc16Table() {
    std::array<std::uint16_t, 256> table{};
    for (unsigned n = 0; n < 256; ++n) {
        std::uint16_t crc = static_cast<std::uint16_t>(n << 8);
        for (int bit = 0; bit < 8; ++bit)
            crc = static_cast<std::uint16_t>((crc & 0x8000) ? (crc << 1) ^ 0x1021 : crc << 1);
        table[n] = crc;
    }
    return table;
}

constexpr std::array<std::uint32_t, 256> MakeCrc32Table() {
    std::array<std::uint32_t, 256> table{};
    for (std::uint32_t n = 0; n < 256; ++n) {
        std::uint32_t crc = n;
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? (crc >> 1) ^ 0xEDB88320u : crc >> 1;
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

int HexValue(unsigned char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    return -1;
}

// A byte that stands for itself inside escaped data.
inline bool IsPlain(unsigned char byte) { return byte != kZdle && (byte & 0x7F) != kXon && (byte & 0x7F) != kXoff; }

std::string CancelSequence() { return std::string(8, static_cast<char>(kZdle)) + std::string(8, '\b'); }

} // namespace

std::uint16_t Crc16(std::string_view bytes) {
    std::uint16_t crc = 0;
    for (unsigned char byte : bytes)
        crc = UpdateCrc16(crc, byte);
    return crc;
}

std::uint32_t Crc32(std::string_view bytes) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (unsigned char byte : bytes)
        crc = UpdateCrc32(crc, byte);
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
    if (type != ZFrame::ACK && type != ZFrame::FIN)
        out += static_cast<char>(kXon);
    return out;
}

std::string BinaryHeader(ZFrame type, std::uint32_t argument, bool crc32) {
    const auto header = HeaderBytes(type, argument);
    std::string out = "*\x18";
    out += crc32 ? 'C' : 'A';
    const std::string_view raw(reinterpret_cast<const char*>(header.data()), header.size());
    for (unsigned char byte : raw)
        AppendEscaped(out, byte);
    if (crc32) {
        const std::uint32_t crc = Crc32(raw);
        for (int shift = 0; shift < 32; shift += 8)
            AppendEscaped(out, static_cast<unsigned char>(crc >> shift));
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
        for (unsigned char byte : data)
            crc = UpdateCrc32(crc, byte);
        crc = ~UpdateCrc32(crc, static_cast<unsigned char>(end));
        for (int shift = 0; shift < 32; shift += 8)
            AppendEscaped(out, static_cast<unsigned char>(crc >> shift));
    } else {
        std::uint16_t crc = 0;
        for (unsigned char byte : data)
            crc = UpdateCrc16(crc, byte);
        crc = UpdateCrc16(crc, static_cast<unsigned char>(end));
        AppendEscaped(out, static_cast<unsigned char>(crc >> 8));
        AppendEscaped(out, static_cast<unsigned char>(crc & 0xFF));
    }
    return out;
}

std::string EscapeZdle(std::string_view data) {
    std::string out;
    out.reserve(data.size() + data.size() / 16);
    for (unsigned char byte : data)
        AppendEscaped(out, byte);
    return out;
}

std::string SafeFileName(std::string_view peerName) {
    const auto slash = peerName.find_last_of("/\\");
    std::string name(slash == std::string_view::npos ? peerName : peerName.substr(slash + 1));
    if (name.empty() || name == "." || name == "..")
        return {};
    return name;
}

ZModemReceiver::ZModemReceiver(Settings settings) : m_settings(std::move(settings)) {}

ZModemReceiver::~ZModemReceiver() {
    // The owner's log may already be gone; the unfinished file goes silently.
    log = nullptr;
    DropFile();
}

void ZModemReceiver::Log(const std::string& text) {
    if (log)
        log(text);
}

void ZModemReceiver::Reply(const std::string& frame, bool remember) {
    if (remember)
        m_lastReply = frame;
    if (sendToPeer)
        sendToPeer(frame);
}

std::string ZModemReceiver::Receive(std::string_view data, Clock::time_point now) {
    std::string display;
    std::size_t i = 0;
    while (i < data.size()) {
        if (!m_inSession) {
            const unsigned char byte = static_cast<unsigned char>(data[i++]);
            if (m_finTrailer > 0 && (byte == 'O' || byte == '\r' || byte == 0x8a || byte == '\n' || byte == kXon)) {
                --m_finTrailer;
                continue;
            }
            m_finTrailer = 0;
            display += static_cast<char>(byte);
            static constexpr char kStart[] = "rz\r";
            if (byte == static_cast<unsigned char>(kStart[m_startMatch])) {
                if (++m_startMatch == 3) {
                    // The announcement belongs to the session, not to the display.
                    display.resize(display.size() >= 3 ? display.size() - 3 : 0);
                    StartSession(now);
                }
            } else {
                m_startMatch = byte == 'r' ? 1 : 0;
            }
            continue;
        }
        m_lastHeard = now;
        m_ended = false;
        while (i < data.size() && !m_ended) {
            // File data is mostly plain bytes: take a run of them in one go.
            if (m_parse == Parse::Subpacket && !m_escape) {
                const std::size_t room = kMaxSubpacket - std::min(kMaxSubpacket, m_data.size());
                std::size_t run = 0;
                while (run < room && i + run < data.size() && IsPlain(static_cast<unsigned char>(data[i + run])))
                    ++run;
                if (run > 0) {
                    m_data.append(data.data() + i, run);
                    m_canRun = 0;
                    i += run;
                    continue;
                }
            }
            FeedSession(static_cast<unsigned char>(data[i++]));
        }
    }
    return display;
}

void ZModemReceiver::StartSession(Clock::time_point now) {
    m_startMatch = 0;
    m_inSession = true;
    m_parse = Parse::SeekHeader;
    m_expect = Expect::Nothing;
    m_sawPad = m_sawZdle = m_escape = false;
    m_canRun = 0;
    m_errors = 0;
    m_retries = 0;
    m_lastHeard = now;
    Log("ZModem session started");
    std::error_code error;
    std::filesystem::create_directories(m_settings.folder, error);
    Reply(HexHeader(ZFrame::RINIT, kReceiverFlags));
}

void ZModemReceiver::EndSession() {
    DropFile();
    m_inSession = false;
    m_ended = true;
    m_expect = Expect::Nothing;
    m_parse = Parse::SeekHeader;
    m_lastReply.clear();
}

void ZModemReceiver::Abort(const std::string& reason) {
    Log("ZModem session aborted: " + reason);
    Reply(CancelSequence(), false);
    EndSession();
}

void ZModemReceiver::CarrierLost() {
    if (!m_inSession)
        return;
    Log("ZModem session aborted: carrier lost");
    EndSession();
}

void ZModemReceiver::Tick(Clock::time_point now) {
    if (!m_inSession || now - m_lastHeard < m_settings.timeout)
        return;
    m_lastHeard = now;
    if (++m_retries > m_settings.timeoutRetries) {
        Abort("time-out");
        return;
    }
    Log("ZModem time-out, retry " + std::to_string(m_retries));
    if (m_expect == Expect::FileData || m_file)
        AskFromOffset();
    else if (!m_lastReply.empty())
        Reply(m_lastReply, false);
}

void ZModemReceiver::CountError(const std::string& what) {
    Log("ZModem " + what);
    if (++m_errors > m_settings.errorLimit)
        Abort("too many errors");
}

// After a damaged or out-of-place subpacket, everything up to the next header
// is discarded and the sender is asked to go on from the last good byte.
void ZModemReceiver::AskFromOffset() {
    m_expect = m_file ? Expect::Nothing : m_expect;
    m_parse = Parse::SeekHeader;
    Reply(HexHeader(ZFrame::RPOS, m_offset));
}

void ZModemReceiver::FeedSession(unsigned char byte) {
    if (byte == kZdle) {
        if (++m_canRun >= 5) {
            Log("ZModem session cancelled by the sender");
            DropFile();
            EndSession();
            return;
        }
    } else {
        m_canRun = 0;
    }

    switch (m_parse) {
    case Parse::SeekHeader:
        if (byte == kPad) {
            m_sawPad = true;
            m_sawZdle = false;
        } else if (byte == kZdle && m_sawPad) {
            m_sawZdle = true;
        } else if (m_sawZdle && (byte == 'A' || byte == 'B' || byte == 'C')) {
            m_format = static_cast<char>(byte);
            m_header.clear();
            m_escape = false;
            m_parse = byte == 'B' ? Parse::HexHeader : Parse::BinaryHeader;
            m_sawPad = m_sawZdle = false;
        } else if ((byte & 0x7F) != kXon && (byte & 0x7F) != kXoff) {
            m_sawPad = m_sawZdle = false;
        }
        return;
    case Parse::HexHeader:
        if (HexValue(byte) < 0) {
            m_parse = Parse::SeekHeader;
            CountError("bad hex header");
            return;
        }
        m_header += static_cast<char>(byte);
        if (m_header.size() == 14)
            HeaderDone();
        return;
    default:
        break;
    }

    // Escaped bytes: binary headers, subpackets and their CRCs.
    if ((byte & 0x7F) == kXon || (byte & 0x7F) == kXoff)
        return;
    if (!m_escape && byte == kZdle) {
        m_escape = true;
        return;
    }
    bool frameEnd = false;
    if (m_escape) {
        m_escape = false;
        if (byte == kZdle)
            return; // part of a cancel run
        if (m_parse == Parse::Subpacket && (byte == kZCrcE || byte == kZCrcG || byte == kZCrcQ || byte == kZCrcW)) {
            frameEnd = true;
        } else if (byte == 'l') {
            byte = 0x7F;
        } else if (byte == 'm') {
            byte = 0xFF;
        } else if ((byte & 0x60) == 0x40) {
            byte ^= 0x40;
        } else {
            m_parse = Parse::SeekHeader;
            CountError("bad escape sequence");
            if (m_inSession && m_file)
                AskFromOffset();
            return;
        }
    }

    switch (m_parse) {
    case Parse::BinaryHeader:
        m_header += static_cast<char>(byte);
        if (m_header.size() == (m_format == 'C' ? 9u : 7u))
            HeaderDone();
        return;
    case Parse::Subpacket:
        if (frameEnd) {
            m_subpacketEnd = static_cast<char>(byte);
            m_crcBytes.clear();
            m_parse = Parse::SubpacketCrc;
        } else if (m_data.size() < kMaxSubpacket) {
            m_data += static_cast<char>(byte);
        } else {
            m_parse = Parse::SeekHeader;
            CountError("subpacket too long");
            if (m_inSession && m_file)
                AskFromOffset();
        }
        return;
    case Parse::SubpacketCrc:
        m_crcBytes += static_cast<char>(byte);
        if (m_crcBytes.size() == (m_dataCrc32 ? 4u : 2u))
            SubpacketDone();
        return;
    default:
        return;
    }
}

void ZModemReceiver::HeaderDone() {
    m_parse = Parse::SeekHeader;
    std::array<unsigned char, 5> header{};
    bool good = false;
    if (m_format == 'B') {
        std::array<unsigned char, 7> bytes{};
        for (std::size_t n = 0; n < 7; ++n)
            bytes[n] = static_cast<unsigned char>(HexValue(m_header[2 * n]) << 4 | HexValue(m_header[2 * n + 1]));
        std::uint16_t crc = 0;
        for (unsigned char byte : bytes)
            crc = UpdateCrc16(crc, byte);
        good = crc == 0;
        std::memcpy(header.data(), bytes.data(), 5);
    } else if (m_format == 'A') {
        std::uint16_t crc = 0;
        for (char c : m_header)
            crc = UpdateCrc16(crc, static_cast<unsigned char>(c));
        good = crc == 0;
        std::memcpy(header.data(), m_header.data(), 5);
    } else {
        const std::uint32_t crc = Crc32(std::string_view(m_header).substr(0, 5));
        std::uint32_t sent = 0;
        for (int n = 0; n < 4; ++n)
            sent |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_header[5 + n])) << (8 * n);
        good = crc == sent;
        std::memcpy(header.data(), m_header.data(), 5);
    }
    if (!good) {
        CountError("header CRC error");
        if (m_inSession && m_file)
            AskFromOffset();
        return;
    }
    const std::uint32_t argument =
        header[1] | header[2] << 8 | header[3] << 16 | static_cast<std::uint32_t>(header[4]) << 24;
    if (m_format != 'B')
        m_dataCrc32 = m_format == 'C';
    m_retries = 0;
    HandleHeader(static_cast<ZFrame>(header[0]), argument, m_format == 'C');
}

void ZModemReceiver::HandleHeader(ZFrame type, std::uint32_t argument, bool) {
    switch (type) {
    case ZFrame::RQINIT:
        Reply(HexHeader(ZFrame::RINIT, kReceiverFlags));
        return;
    case ZFrame::SINIT:
        m_expect = Expect::SinitData;
        m_data.clear();
        m_parse = Parse::Subpacket;
        return;
    case ZFrame::FILE:
        DropFile();
        m_expect = Expect::FileInfo;
        m_data.clear();
        m_parse = Parse::Subpacket;
        return;
    case ZFrame::DATA:
        if (!m_file) {
            Reply(HexHeader(ZFrame::RINIT, kReceiverFlags));
            return;
        }
        if (argument != m_offset) {
            // Data meant for another place (the sender had not yet seen our
            // ZRPOS): ask again and discard until it comes from our offset.
            CountError("data at " + std::to_string(argument) + " while expecting " + std::to_string(m_offset));
            if (m_inSession)
                AskFromOffset();
            return;
        }
        m_expect = Expect::FileData;
        m_data.clear();
        m_parse = Parse::Subpacket;
        return;
    case ZFrame::EOF_:
        // An end-of-file at another offset is a stale one from before a ZRPOS.
        if (m_file && argument == m_offset) {
            FinishFile();
            Reply(HexHeader(ZFrame::RINIT, kReceiverFlags));
        }
        return;
    case ZFrame::FIN:
        Log("ZModem session finished");
        Reply(HexHeader(ZFrame::FIN, 0), false);
        EndSession();
        // The rest of the sender's ZFIN line and its "OO" close the session.
        m_finTrailer = 5;
        return;
    case ZFrame::ABORT:
        Log("ZModem session aborted by the sender");
        Reply(HexHeader(ZFrame::FIN, 0), false);
        EndSession();
        return;
    case ZFrame::COMMAND:
        // A terminal must never run what a peer asks it to.
        Log("ZModem command refused");
        Reply(HexHeader(ZFrame::COMPL, 1), false);
        return;
    case ZFrame::FREECNT:
        Reply(HexHeader(ZFrame::ACK, 0xFFFFFFFFu), false);
        return;
    default:
        if (!m_lastReply.empty())
            Reply(m_lastReply, false);
        return;
    }
}

void ZModemReceiver::SubpacketDone() {
    bool good;
    if (m_dataCrc32) {
        std::uint32_t crc = 0xFFFFFFFFu;
        for (unsigned char byte : m_data)
            crc = UpdateCrc32(crc, byte);
        crc = ~UpdateCrc32(crc, static_cast<unsigned char>(m_subpacketEnd));
        std::uint32_t sent = 0;
        for (int n = 0; n < 4; ++n)
            sent |= static_cast<std::uint32_t>(static_cast<unsigned char>(m_crcBytes[n])) << (8 * n);
        good = crc == sent;
    } else {
        std::uint16_t crc = 0;
        for (unsigned char byte : m_data)
            crc = UpdateCrc16(crc, byte);
        crc = UpdateCrc16(crc, static_cast<unsigned char>(m_subpacketEnd));
        good = crc == (static_cast<unsigned char>(m_crcBytes[0]) << 8 | static_cast<unsigned char>(m_crcBytes[1]));
    }
    m_parse = Parse::SeekHeader;
    if (!good) {
        CountError("data CRC error at " + std::to_string(m_offset));
        if (m_inSession && m_expect == Expect::FileData)
            AskFromOffset();
        else if (m_inSession && !m_lastReply.empty())
            Reply(m_lastReply, false);
        return;
    }
    m_retries = 0;
    switch (m_expect) {
    case Expect::SinitData:
        m_expect = Expect::Nothing;
        Reply(HexHeader(ZFrame::ACK, 0), false);
        return;
    case Expect::FileInfo:
        m_expect = Expect::Nothing;
        HandleFileInfo();
        return;
    case Expect::FileData:
        if (!WriteData())
            return;
        if (m_subpacketEnd == kZCrcQ || m_subpacketEnd == kZCrcW)
            Reply(HexHeader(ZFrame::ACK, m_offset), false);
        if (m_subpacketEnd == kZCrcG || m_subpacketEnd == kZCrcQ) {
            m_data.clear();
            m_parse = Parse::Subpacket;
        } else {
            m_expect = Expect::Nothing;
        }
        return;
    case Expect::Nothing:
        return;
    }
}

void ZModemReceiver::HandleFileInfo() {
    const std::string peerName(m_data.c_str()); // up to the NUL that ends the name
    std::string rest = m_data.size() > peerName.size() + 1 ? m_data.substr(peerName.size() + 1) : std::string();
    m_announcedSize = std::strtoull(rest.c_str(), nullptr, 10);
    m_fileName = SafeFileName(peerName);
    if (m_fileName.empty()) {
        Log("ZModem file name \"" + peerName + "\" refused");
        Reply(HexHeader(ZFrame::SKIP, 0));
        return;
    }
    // A hidden working name in the download folder: the file is renamed only
    // when the sender's end-of-file has arrived at the right offset.
    std::string pattern = (m_settings.folder / ("." + m_fileName + ".partial-XXXXXX")).string();
    const int fd = ::mkstemp(pattern.data());
    // mkstemp makes the file private to its owner; a received log is ordinary data.
    if (fd >= 0)
        ::fchmod(fd, 0644);
    std::FILE* file = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!file) {
        if (fd >= 0)
            ::close(fd);
        Log("ZModem cannot create a file in " + m_settings.folder.string() + ": " + std::strerror(errno));
        Reply(HexHeader(ZFrame::SKIP, 0));
        return;
    }
    std::setvbuf(file, nullptr, _IOFBF, 1 << 16);
    m_file = file;
    m_partPath = pattern;
    m_offset = 0;
    Log("ZModem receiving \"" + m_fileName + "\", " + std::to_string(m_announcedSize) + " bytes");
    Reply(HexHeader(ZFrame::RPOS, 0));
}

bool ZModemReceiver::WriteData() {
    if (std::fwrite(m_data.data(), 1, m_data.size(), m_file) != m_data.size()) {
        Abort("cannot write \"" + m_fileName + "\": " + std::strerror(errno));
        return false;
    }
    m_offset += static_cast<std::uint32_t>(m_data.size());
    return true;
}

void ZModemReceiver::FinishFile() {
    const bool written = std::fflush(m_file) == 0 && ::fsync(::fileno(m_file)) == 0;
    std::fclose(m_file);
    m_file = nullptr;
    if (!written) {
        Log("ZModem cannot write \"" + m_fileName + "\": " + std::strerror(errno));
        std::error_code ignored;
        std::filesystem::remove(m_partPath, ignored);
        return;
    }
    // link() never replaces an existing file, so a name taken meanwhile is
    // skipped and the next numbered one tried.
    for (int n = 0; n < 10000; ++n) {
        const std::string name = n == 0 ? m_fileName : m_fileName + "." + std::to_string(n);
        const auto target = m_settings.folder / name;
        if (::link(m_partPath.c_str(), target.c_str()) == 0) {
            ::unlink(m_partPath.c_str());
            m_received.push_back(target);
            Log("ZModem received \"" + name + "\", " + std::to_string(m_offset) + " bytes");
            return;
        }
        if (errno != EEXIST)
            break;
    }
    Log("ZModem cannot name \"" + m_fileName + "\": " + std::strerror(errno));
    ::unlink(m_partPath.c_str());
}

void ZModemReceiver::DropFile() {
    if (!m_file)
        return;
    std::fclose(m_file);
    m_file = nullptr;
    ::unlink(m_partPath.c_str());
    Log("ZModem \"" + m_fileName + "\" incomplete at " + std::to_string(m_offset) + " bytes, discarded");
}

} // namespace commtools
