// The ZModem receiver of the serial terminal: a surveyor pulls a logger's files
// over the same serial line the terminal shows, without another program. The
// engine works on byte buffers only: the channel hands it what the port read
// and the time, and the engine answers through its sender, writes the files
// and reports its steps through its log. Until a sender's first header (its
// ZRQINIT or its ZFILE) has arrived whole and with a good CRC, every byte goes
// back to the caller for the receive display and nothing is written to the
// line: a device whose position strings happen to hold "rz" CR is shown as it
// speaks and is never answered. Only the few bytes that may still become such
// a header (and the sender's "rz" CR right before it) wait, and only until the
// next byte or a moment of silence tells.
//
// A peer never chooses where a file lands nor what a name does on a screen or a
// command line: only the last component of the name it sends is used, inside
// the download folder, made safe to list and type; and a file gets its name only
// once it is complete (an existing name gets ".1", ".2", ... instead). Until
// then it lies in the folder under a hidden working name, "." name
// ".partial-" and six letters or digits.
#pragma once

#include "common/NewFileName.h"
#include "common/WorkingFile.h"

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace commtools {

// CRC-16 of ZModem headers and subpackets (polynomial 0x1021, start 0, no final
// inversion) and CRC-32 (the common reflected 0xEDB88320 one, start and final
// inverted), as the frames carry them.
std::uint16_t Crc16(std::string_view bytes);
std::uint32_t Crc32(std::string_view bytes);

enum class ZFrame : std::uint8_t {
    RQINIT = 0,
    RINIT = 1,
    SINIT = 2,
    ACK = 3,
    FILE = 4,
    SKIP = 5,
    NAK = 6,
    ABORT = 7,
    FIN = 8,
    RPOS = 9,
    DATA = 10,
    EOF_ = 11,
    FERR = 12,
    CRC = 13,
    CHALLENGE = 14,
    COMPL = 15,
    CAN = 16,
    FREECNT = 17,
    COMMAND = 18,
};

// Subpacket ends: the frame goes on (G), goes on and wants an ACK (Q), ends
// with an ACK (W), or ends and the next header follows (E).
inline constexpr char kZCrcE = 'h';
inline constexpr char kZCrcG = 'i';
inline constexpr char kZCrcQ = 'j';
inline constexpr char kZCrcW = 'k';

// The frames a sender and a receiver exchange, built the way they go on the
// line; `argument` is the position or the four flag bytes (ZP0 first).
std::string HexHeader(ZFrame type, std::uint32_t argument);
std::string BinaryHeader(ZFrame type, std::uint32_t argument, bool crc32);
std::string DataSubpacket(std::string_view data, char end, bool crc32);
// ZDLE escaping of the bytes a line may eat or act on (ZDLE itself, DLE, XON,
// XOFF and their high-bit twins).
std::string EscapeZdle(std::string_view data);

// The name a received file is stored under: the last component of the name the
// peer sent, or empty when that is no usable name ("", ".", ".."). Control
// characters (C0, DEL and C1, which terminals act on), a leading "-" (an
// option to whoever types the name) and each byte that is not UTF-8 become
// "_"; a name longer than `longest` bytes is shortened in its stem, on a
// character boundary, keeping its extension.
std::string SafeFileName(std::string_view peerName, std::size_t longest = std::string_view::npos);

// The size a sender announces in its file information ("1024 1700000000 100644
// ..."): empty when the first field is not a whole number of bytes.
std::optional<std::uint64_t> AnnouncedSize(std::string_view fileInformation);

// How far the file now arriving has come, for the channel's progress bar.
struct TransferProgress {
    std::string file;                              // the name it is stored under
    std::uint64_t received = 0;                    // bytes written so far
    std::optional<std::uint64_t> announced;        // the size the sender announced, if any
    std::chrono::steady_clock::duration elapsed{}; // since the sender announced the file
    bool arriving = false;                         // false: complete or given up, nothing arrives
};

// Whole percent of the announced size, 100 only once all of it is there; -1
// when the sender announced no size or more has come than it announced.
int ProgressPercent(const TransferProgress& progress);
// "svp profile.txt: 1.2 of 5.0 MB, 24 %, 410 kB/s, 9 s left": the rate and the
// time left once the file has been arriving for a second. Without a size, or
// past it, the bytes and the rate only. Decimal units, a "." whatever the locale.
std::string ProgressText(const TransferProgress& progress);
// "410 kB/s", "1.2 MB/s", "960 B/s".
std::string RateText(double bytesPerSecond);

class ZModemReceiver {
public:
    using Clock = std::chrono::steady_clock;

    struct Settings {
        std::filesystem::path folder;
        std::chrono::milliseconds timeout{10000};
        int timeoutRetries = 3;
        int errorLimit = 255;
    };

    explicit ZModemReceiver(Settings settings);
    ~ZModemReceiver();
    ZModemReceiver(const ZModemReceiver&) = delete;
    ZModemReceiver& operator=(const ZModemReceiver&) = delete;

    // Where the answers to the sender go, and where the protocol's steps are
    // reported (the status log).
    void SetSender(std::function<void(std::string_view)> sendToPeer) { sendToPeer_ = std::move(sendToPeer); }
    void SetLog(std::function<void(const std::string&)> log) { log_ = std::move(log); }
    // Where the progress of a file goes: when it is announced, after every
    // subpacket written, and once more, not arriving, when it is complete or
    // given up.
    void SetProgress(std::function<void(const TransferProgress&)> progress) { progressOut_ = std::move(progress); }

    // Files from this size on get their average rate in the "received" entry;
    // the rate of a smaller one is mostly the time of the protocol's turns.
    static constexpr std::uint64_t kRateLoggedFrom = 64 * 1024;

    // Takes what the port read. Returns the bytes that are ordinary terminal
    // data: everything outside a session, less what waits (see Holding).
    std::string Receive(std::string_view data, Clock::time_point now);
    // Bytes wait outside a session while they may still open one: a '*' that
    // may begin a header, "rz" CR right before it. The owner hands them to
    // the display with TakeHeld once the line has been quiet for kHoldQuiet.
    static constexpr std::chrono::milliseconds kHoldQuiet{300};
    bool Holding() const;
    std::string TakeHeld();
    // Called now and then (the channel's timer): time-outs and retries.
    void Tick(Clock::time_point now);
    // The line dropped (carrier lost or the port closed): the session ends and
    // its unfinished file is removed.
    void CarrierLost();

    bool InSession() const { return inSession_; }
    const Settings& settings() const { return settings_; }
    // Where the next file goes.
    void SetFolder(std::filesystem::path folder) { settings_.folder = std::move(folder); }
    // How long a silent sender is waited for before a retry.
    void SetTimeout(std::chrono::milliseconds timeout) { settings_.timeout = timeout; }
    // For tests only: the calls that name a complete file.
    void SetFileNamingCalls(common::FileNamingCalls calls) { naming_ = calls; }
    // Removes the working files that a program killed in mid-file left in the
    // download folder, once they are more than a day old: a younger one may
    // belong to a transfer still running on another channel. Only regular files
    // whose names fit the working name exactly are removed, symbolic links are
    // never followed, a missing folder is no error. Returns how many went.
    int RemoveStaleWorkingFiles(std::filesystem::file_time_type now = std::filesystem::file_time_type::clock::now());
    // The files stored so far, in the order they were completed.
    const std::vector<std::filesystem::path>& ReceivedFiles() const { return received_; }

private:
    enum class Parse { SeekHeader, HexHeader, HexTrailer, BinaryHeader, Subpacket, SubpacketCrc };
    enum class Expect { Nothing, SinitData, FileInfo, FileData };

    void PassOn(unsigned char byte, std::string& display, Clock::time_point now);
    void WatchForHeader(unsigned char byte, std::string& display, Clock::time_point now);
    bool DropsAsClosing(unsigned char byte, std::string& display, Clock::time_point now);
    void StartSession(Clock::time_point now);
    void EndSession();
    void Abort(const std::string& reason);
    void Reply(const std::string& frame, bool remember = true);
    void Log(const std::string& text);
    void CountError(const std::string& what);
    void AskFromOffset();

    void FeedSession(unsigned char byte);
    bool SkipsAsHexTrailer(unsigned char byte);
    void HeaderDone();
    void SubpacketDone();
    void HandleHeader(ZFrame type, std::uint32_t argument, bool crc32);
    void HandleFileInfo();
    bool WriteData();
    void FinishFile();
    void DropFile();
    void ReportProgress(bool arriving);

    Settings settings_;
    bool inSession_ = false;
    int startMatch_ = 0;             // how much of "rz\r" has been seen outside a session
    std::string announcement_;       // a whole "rz\r" (what of it this call still had), held back
    std::string opening_;            // bytes that may yet be a sender's first header, held back
    int closing_ = -1;               // how far the sender's closing after its ZFIN has come (-1: not expected)
    Clock::time_point finishedAt_{}; // when the sender's ZFIN came
    int canRun_ = 0;                 // consecutive CAN bytes: five abort the session
    bool ended_ = false;             // the session ended inside the current Receive call
    Clock::time_point now_{};        // when the bytes being parsed arrived

    Parse parse_ = Parse::SeekHeader;
    Expect expect_ = Expect::Nothing;
    bool sawPad_ = false;
    bool sawZdle_ = false;      // a header's ZDLE after the pads
    bool escape_ = false;       // a ZDLE inside escaped bytes
    char format_ = 0;           // 'A', 'B' or 'C'
    std::string header_;        // decoded header bytes (hex digits for 'B')
    bool sawTrailerCr_ = false; // the CR of a hex header's line end, before its subpacket
    bool dataCrc32_ = false;    // subpackets follow the CRC of the last header
    std::string data_;          // the current subpacket's bytes
    char subpacketEnd_ = 0;
    std::string crcBytes_;

    std::string lastReply_;
    Clock::time_point lastHeard_{};
    int retries_ = 0;
    int errors_ = 0;

    common::FileNamingCalls naming_;
    std::function<void(std::string_view)> sendToPeer_;
    std::function<void(const std::string&)> log_;
    std::function<void(const TransferProgress&)> progressOut_;
    TransferProgress progress_;
    Clock::time_point announcedAt_{}; // when the current file's ZFILE came
    common::WorkingFile file_;
    std::string fileName_;
    std::optional<std::uint64_t> announcedSize_;
    std::uint32_t offset_ = 0;
    std::vector<std::filesystem::path> received_;
};

} // namespace commtools
