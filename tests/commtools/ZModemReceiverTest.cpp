// The ZModem receiver on byte buffers: frames built here the way a sender
// builds them, and a real `sz` talking to it over a socket pair.
#include "commtools/ZModemReceiver.h"
#include "support/WriteUnder.h"

#include <gtest/gtest.h>

#include <QDataStream>
#include <QTemporaryDir>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>

#include <fcntl.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace zmodem_receiver_test {

using namespace commtools;
using namespace std::chrono_literals;
namespace fs = std::filesystem;

namespace {

std::string ReadAll(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

std::vector<std::string> FolderNames(const fs::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

std::string RandomBytes(std::size_t size, unsigned seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (auto& c : bytes) {
        c = static_cast<char>(random());
    }
    return bytes;
}

// A sender's file information with the size field as it wrote it.
std::string FileInfoAnnouncing(const std::string& name, const std::string& size) {
    return name + std::string(1, '\0') + size + " 0 100644 0 1 " + size + std::string(1, '\0');
}

std::string FileInfo(const std::string& name, std::size_t size) {
    return FileInfoAnnouncing(name, std::to_string(size));
}

// The process's umask for one scope; the old one comes back at its end.
class ScopedUmask {
public:
    explicit ScopedUmask(mode_t mask) : old_(::umask(mask)) {}
    ~ScopedUmask() { ::umask(old_); }
    ScopedUmask(const ScopedUmask&) = delete;
    ScopedUmask& operator=(const ScopedUmask&) = delete;

private:
    mode_t old_;
};

// A receiver in a fresh download folder, with what it sent back and logged.
struct Session {
    QTemporaryDir dir;
    fs::path folder = fs::path(dir.path().toStdString()) / "downloads";
    ZModemReceiver receiver{{folder}};
    std::string replies;
    std::string shown; // what a real sender's session left for the display
    std::vector<std::string> logged;
    ZModemReceiver::Clock::time_point now = ZModemReceiver::Clock::now();

    Session() {
        receiver.SetSender([this](std::string_view bytes) { replies += bytes; });
        receiver.SetLog([this](const std::string& line) { logged.push_back(line); });
    }
    std::string Feed(const std::string& bytes) { return receiver.Receive(bytes, now); }
    std::string TakeReplies() { return std::exchange(replies, {}); }
    // A sender's opening as `sz` writes it; its answer is taken away.
    void Start() {
        Feed("rz\r" + HexHeader(ZFrame::RQINIT, 0));
        TakeReplies();
    }
    void OfferFile(const std::string& name, std::size_t size) {
        Feed(BinaryHeader(ZFrame::FILE, 0, true) + DataSubpacket(FileInfo(name, size), kZCrcW, true));
    }
    // A whole file: announced as `announced`, `content` sent, end of file.
    void SendFile(const std::string& name, const std::string& announced, const std::string& content) {
        Feed(BinaryHeader(ZFrame::FILE, 0, true) + DataSubpacket(FileInfoAnnouncing(name, announced), kZCrcW, true) +
             BinaryHeader(ZFrame::DATA, 0, true));
        constexpr std::size_t kPiece = 8192;
        for (std::size_t at = 0; at + kPiece < content.size(); at += kPiece) {
            Feed(DataSubpacket(content.substr(at, kPiece), kZCrcG, true));
        }
        const std::size_t rest = content.empty() ? 0 : (content.size() - 1) / kPiece * kPiece;
        Feed(DataSubpacket(content.substr(rest), kZCrcE, true) +
             HexHeader(ZFrame::EOF_, static_cast<std::uint32_t>(content.size())));
    }
};

} // namespace

TEST(ZModemFraming, CrcsOfTheCheckString) {
    EXPECT_EQ(Crc16("123456789"), 0x31C3);
    EXPECT_EQ(Crc32("123456789"), 0xCBF43926u);
    EXPECT_EQ(Crc16(""), 0);
    EXPECT_EQ(Crc32(""), 0u);
}

TEST(ZModemFraming, HexHeadersAsTheyGoOnTheLine) {
    struct Case {
        ZFrame type;
        std::uint32_t argument;
        std::string line;
    } cases[] = {
        {ZFrame::RQINIT, 0,
         "**\x18"
         "B00000000000000\r\x8a\x11"},
        // Full duplex, overlapped I/O and 32-bit CRCs in ZF0.
        {ZFrame::RINIT, 0x23000000,
         "**\x18"
         "B0100000023be50\r\x8a\x11"},
        // ACK and FIN without XON: the sender reads them at the end of a
        // session and would take an XON for the next terminal byte.
        {ZFrame::FIN, 0,
         "**\x18"
         "B0800000000022d\r\x8a"},
        {ZFrame::ACK, 0x1234,
         "**\x18"
         "B033412000025c9\r\x8a"},
        {ZFrame::RPOS, 0x12345,
         "**\x18"
         "B09452301009602\r\x8a\x11"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(HexHeader(c.type, c.argument), c.line) << int(c.type);
    }
}

TEST(ZModemFraming, EscapesWhatALineWouldEatOrActOn) {
    struct Case {
        std::string raw, escaped;
    } cases[] = {
        {"\x18", "\x18X"},    {"\x10", "\x18P"},    {"\x11", "\x18Q"},    {"\x13", "\x18S"},
        {"\x90", "\x18\xd0"}, {"\x91", "\x18\xd1"}, {"\x93", "\x18\xd3"}, {"A\x7f\xff\r", "A\x7f\xff\r"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(EscapeZdle(c.raw), c.escaped);
    }
}

TEST(ZModemFraming, PeerNamesStayInsideTheFolder) {
    struct Case {
        std::string peer, stored;
    } cases[] = {
        {"log.txt", "log.txt"},
        {"/etc/x", "x"},
        {"../../x", "x"},
        {"C:\\data\\run 7.all", "run 7.all"},
        {"", ""},
        {".", ""},
        {"..", ""},
        {"dir/", ""},
        {"/a/..", ""},
        {".hidden", ".hidden"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SafeFileName(c.peer), c.stored) << c.peer;
    }
}

// Only a sender's first header, whole and with a good CRC, opens a session;
// until then every byte reaches the display (a '*' or an "rz" CR only waits to
// see whether a header follows) and nothing is written to the device.
TEST(ZModemReceiver, PassesTerminalDataUntilASendersFirstHeader) {
    const std::string rqinit = HexHeader(ZFrame::RQINIT, 0);
    std::string badCrc = rqinit;
    badCrc[16] = badCrc[16] == '0' ? '1' : '0';
    const std::string fileOffer =
        BinaryHeader(ZFrame::FILE, 0, true) + DataSubpacket(FileInfo("a.txt", 1), kZCrcW, true);
    struct Case {
        const char* name;
        std::vector<std::string> pieces;
        std::string shown; // what the display gets, held bytes included
        bool opens;
        std::string replies;
    } cases[] = {
        {"NMEA with its checksum stars",
         {"$GPGGA,1*4F\r\n", "$GPHDT,2*1A\r\n"},
         "$GPGGA,1*4F\r\n$GPHDT,2*1A\r\n",
         false,
         ""},
        {"rz CR inside position strings", {"$GPTXT,rz\r", "$GPGGA,1*4F\r\n"}, "$GPTXT,rz\r$GPGGA,1*4F\r\n", false, ""},
        {"rz CR and stars", {"rz\r**", "more\r\n"}, "rz\r**more\r\n", false, ""},
        {"a banner of stars", {"******** GNSS ********\r\n"}, "******** GNSS ********\r\n", false, ""},
        {"a header with a bad CRC", {"rz\r" + badCrc}, "rz\r" + badCrc, false, ""},
        {"a good header that opens nothing",
         {"rz\r" + HexHeader(ZFrame::FIN, 0)},
         "rz\r" + HexHeader(ZFrame::FIN, 0),
         false,
         ""},
        {"a sender's opening", {"ok rz\r" + rqinit}, "ok ", true, HexHeader(ZFrame::RINIT, 0x23000000)},
        {"the opening in pieces",
         {"r", "z\r*", "*\x18", "B00000", rqinit.substr(9)},
         "r",
         true,
         HexHeader(ZFrame::RINIT, 0x23000000)},
        {"a ZRQINIT without its rz", {rqinit}, "", true, HexHeader(ZFrame::RINIT, 0x23000000)},
        {"a ZFILE first", {"rz\r" + fileOffer}, "", true, HexHeader(ZFrame::RPOS, 0)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        std::string shown;
        for (const auto& piece : c.pieces) {
            shown += s.Feed(piece);
        }
        EXPECT_EQ(s.receiver.InSession(), c.opens);
        if (!c.opens) {
            // The quiet line: the owner takes what still waits.
            s.now += 10s;
            s.receiver.Tick(s.now);
            shown += s.receiver.TakeHeld();
        }
        EXPECT_FALSE(s.receiver.Holding());
        EXPECT_EQ(shown, c.shown);
        EXPECT_EQ(s.TakeReplies(), c.replies);
    }
    // A typed key shows at once, even as the start of "rz".
    Session typed;
    EXPECT_EQ(typed.Feed("r"), "r");
    EXPECT_FALSE(typed.receiver.Holding());
    // A sender that goes silent after its first header is told with the first time-out.
    Session quiet;
    quiet.Feed(BinaryHeader(ZFrame::FILE, 0, true));
    ASSERT_TRUE(quiet.receiver.InSession());
    quiet.now += 10s;
    quiet.receiver.Tick(quiet.now);
    EXPECT_EQ(quiet.TakeReplies(), HexHeader(ZFrame::RINIT, 0x23000000));
}

TEST(ZModemReceiver, ReceivesAFileAndHandsTheLineBackAfterTheSession) {
    const ScopedUmask umask(022);
    Session s;
    s.Feed("rz\r" + HexHeader(ZFrame::RQINIT, 0));
    s.TakeReplies();
    s.OfferFile("/var/log/../sonar.txt", 5);
    EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::RPOS, 0));
    ASSERT_EQ(FolderNames(s.folder).size(), 1u);
    EXPECT_NE(FolderNames(s.folder)[0], "sonar.txt") << "a working name until the file is whole";

    s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket("ab\x18", kZCrcQ, true) +
           DataSubpacket("\x11\xff", kZCrcE, true));
    EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::ACK, 3));
    s.Feed(HexHeader(ZFrame::EOF_, 5));
    EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::RINIT, 0x23000000));
    EXPECT_EQ(FolderNames(s.folder), std::vector<std::string>{"sonar.txt"});
    EXPECT_EQ(ReadAll(s.folder / "sonar.txt"), "ab\x18\x11\xff");
    EXPECT_EQ(fs::status(s.folder / "sonar.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read);

    EXPECT_EQ(s.Feed(HexHeader(ZFrame::FIN, 0) + "OOgyro 1\r"), "gyro 1\r");
    EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::FIN, 0));
    EXPECT_FALSE(s.receiver.InSession());
}

TEST(ZModemReceiver, SixteenBitFramesAndUnusableNames) {
    Session s;
    s.Feed("rz\r");
    s.TakeReplies();
    s.Feed(BinaryHeader(ZFrame::FILE, 0, false) + DataSubpacket(FileInfo("..", 1), kZCrcW, false));
    EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::SKIP, 0));
    s.Feed(BinaryHeader(ZFrame::FILE, 0, false) + DataSubpacket(FileInfo("a", 3), kZCrcW, false));
    s.Feed(BinaryHeader(ZFrame::DATA, 0, false) + DataSubpacket("xyz", kZCrcE, false) +
           BinaryHeader(ZFrame::EOF_, 3, false));
    EXPECT_EQ(ReadAll(s.folder / "a"), "xyz");
}

TEST(ZModemReceiver, ADamagedSubpacketIsAskedForAgainFromTheLastGoodByte) {
    Session s;
    s.Feed("rz\r");
    s.OfferFile("ping.dat", 6);
    s.TakeReplies();
    std::string damaged = DataSubpacket("def", kZCrcG, true);
    damaged[1] ^= 0x01;
    s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket("abc", kZCrcG, true) + damaged +
           DataSubpacket("ghi", kZCrcE, true));
    EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::RPOS, 3));
    // The sender's end-of-file at its own offset is stale; data from elsewhere is refused.
    s.Feed(HexHeader(ZFrame::EOF_, 9) + BinaryHeader(ZFrame::DATA, 6, true) + DataSubpacket("ghi", kZCrcE, true));
    EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::RPOS, 3));
    s.Feed(BinaryHeader(ZFrame::DATA, 3, true) + DataSubpacket("def", kZCrcE, true) + HexHeader(ZFrame::EOF_, 6));
    EXPECT_EQ(ReadAll(s.folder / "ping.dat"), "abcdef");
}

TEST(ZModemReceiver, ExistingNamesGetANumber) {
    Session s;
    s.Feed("rz\r");
    for (int n = 0; n < 3; ++n) {
        s.OfferFile("svp.asvp", 1);
        s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket(std::to_string(n), kZCrcE, true) +
               HexHeader(ZFrame::EOF_, 1));
    }
    EXPECT_EQ(FolderNames(s.folder), (std::vector<std::string>{"svp.asvp", "svp.asvp.1", "svp.asvp.2"}));
    EXPECT_EQ(ReadAll(s.folder / "svp.asvp.2"), "2");
}

// A peer's name never lands verbatim: a terminal would act on its escape
// sequences and bell, a shell would take a leading "-" for an option, a listing
// would show bytes that are no UTF-8 as something else, and a name near the
// folder's limit would leave no room for the working name. The log names the
// file as it is stored.
TEST(ZModemReceiver, HostileNamesAreStoredSafelyAndLoggedAsStored) {
    const std::string umlaut = "\xc3\xa4"; // ä, two bytes
    std::string longUmlauts;
    for (int n = 0; n < 130; ++n) {
        longUmlauts += umlaut;
    }
    struct Case {
        std::string peer, stored;
    } cases[] = {
        {"\x1b[31mred\x1b[0m.txt", "_[31mred_[0m.txt"},
        {"bell\x07.log", "bell_.log"},
        {"two\nlines.txt", "two_lines.txt"},
        {"tab\tand del\x7f", "tab_and del_"},
        {"csi\xc2\x9b"
         "2J.txt",
         "csi_2J.txt"}, // a C1 control, a terminal's escape in one character
        {"-rf", "_rf"},
        {"--help", "_-help"},
        {"/tmp/-x", "_x"},
        {"Messung \xfc.txt", "Messung _.txt"},     // Latin-1, no UTF-8
        {"over\xc0\xaflong", "over__long"},        // an overlong "/"
        {"sur\xed\xa0\x80rogate", "sur___rogate"}, // a surrogate half
        {"cut " + umlaut.substr(0, 1), "cut _"},   // a character cut off
        {"Messung " + umlaut + ".txt", "Messung " + umlaut + ".txt"},
        {"../../etc/passwd", "passwd"},
        {"C:\\survey\\..\\line 7.all", "line 7.all"},
        // 255 bytes at most for a name; the working name adds 16.
        {std::string(300, 'a') + ".all", std::string(235, 'a') + ".all"},
        {std::string(250, 'b'), std::string(239, 'b')},
        {longUmlauts + ".txt", longUmlauts.substr(0, 234) + ".txt"},
        {std::string(240, 'c') + "." + std::string(20, 'd'), std::string(239, 'c')},
    };
    Session s;
    s.Start();
    fs::create_directories(s.folder);
    if (common::LongestFileName(s.folder) != 255) {
        GTEST_SKIP() << "the temporary folder's file system has no 255-byte names";
    }
    for (const auto& c : cases) {
        SCOPED_TRACE(c.stored);
        s.logged.clear();
        s.SendFile(c.peer, "2", "ok");
        EXPECT_EQ(ReadAll(s.folder / c.stored), "ok");
        EXPECT_EQ(s.logged, (std::vector<std::string>{"receiving \"" + c.stored + "\", 2 bytes",
                                                      "received \"" + c.stored + "\", 2 bytes"}));
        fs::remove(s.folder / c.stored);
    }
    EXPECT_EQ(FolderNames(s.folder), std::vector<std::string>{});
    // A refused name is logged without its control characters too.
    s.logged.clear();
    s.SendFile("dir\x1b/", "2", "ok");
    EXPECT_EQ(s.logged, std::vector<std::string>{"file name \"dir_/\" refused"});
}

// Received files are created as any program creates them: read and write for
// all, less what the user's umask takes away, whichever way the folder lets
// the complete file get its name.
TEST(ZModemReceiver, ReceivedFilesFollowTheUmask) {
    const auto refusedLink = [](const char*, const char*) {
        errno = EPERM;
        return -1;
    };
    const auto refusedRename = [](const char*, const char*) {
        errno = EINVAL;
        return -1;
    };
    struct Case {
        mode_t umask;
        fs::perms mode;
    } cases[] = {
        {077, fs::perms(0600)},
        {000, fs::perms(0666)},
        {022, fs::perms(0644)},
        {027, fs::perms(0640)},
    };
    for (const auto& c : cases) {
        for (const bool copied : {false, true}) {
            SCOPED_TRACE(std::to_string(c.umask) + (copied ? " copied" : " linked"));
            Session s;
            if (copied) {
                s.receiver.SetFileNamingCalls({refusedLink, refusedRename});
            }
            const ScopedUmask umask(c.umask);
            s.Start();
            s.SendFile("tide.txt", "4", "1.23");
            ASSERT_EQ(ReadAll(s.folder / "tide.txt"), "1.23");
            EXPECT_EQ(fs::status(s.folder / "tide.txt").permissions() & fs::perms::all, c.mode);
        }
    }
}

// What a sender announces is a claim: a size that is no number is no size, and
// a file that ends short of it or runs past it is said so in its entry.
TEST(ZModemReceiver, AnnouncedSizesAreTakenForWhatTheyAre) {
    struct Case {
        const char* what;
        std::string announced;
        std::size_t sent;
        std::optional<std::uint64_t> size;
        std::string receiving, lastProgress, received;
    } cases[] = {
        {"a size", "1000", 1000, 1000, "receiving \"f\", 1000 bytes", "f: 1.0 of 1.0 kB, 100 %",
         "received \"f\", 1000 bytes"},
        {"no number", "-5x", 100, std::nullopt, "receiving \"f\", size unknown", "f: 100 B",
         "received \"f\", 100 bytes"},
        {"a negative number", "-5", 100, std::nullopt, "receiving \"f\", size unknown", "f: 100 B",
         "received \"f\", 100 bytes"},
        {"digits then letters", "12k", 100, std::nullopt, "receiving \"f\", size unknown", "f: 100 B",
         "received \"f\", 100 bytes"},
        {"past 64 bits", "99999999999999999999", 100, std::nullopt, "receiving \"f\", size unknown", "f: 100 B",
         "received \"f\", 100 bytes"},
        {"nothing", "", 100, std::nullopt, "receiving \"f\", size unknown", "f: 100 B", "received \"f\", 100 bytes"},
        {"more than announced", "1000", 64500, 1000, "receiving \"f\", 1000 bytes", "f: 64.5 kB",
         "received \"f\", 64500 bytes, more than the 1000 announced"},
        {"fewer than announced", "1000", 500, 1000, "receiving \"f\", 1000 bytes", "f: 0.5 of 1.0 kB, 50 %",
         "received \"f\", 500 bytes, fewer than the 1000 announced"},
        {"an empty file", "0", 0, 0, "receiving \"f\", 0 bytes", "f: 0 of 0 B, 100 %", "received \"f\", 0 bytes"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session s;
        std::vector<TransferProgress> reports;
        s.receiver.SetProgress([&](const TransferProgress& progress) { reports.push_back(progress); });
        s.Start();
        s.SendFile("f", c.announced, std::string(c.sent, 'd'));
        ASSERT_GE(reports.size(), 2u);
        const TransferProgress& last = reports[reports.size() - 2]; // the last while arriving
        EXPECT_EQ(last.announced, c.size);
        EXPECT_EQ(ProgressText(last), c.lastProgress);
        EXPECT_EQ(s.logged, (std::vector<std::string>{"session started", c.receiving, c.received}));
    }
}

// Folders on exFAT, FAT or some network shares refuse hard links, and some
// refuse never-replace renames too: the file still gets its name, and a name
// that exists is never replaced.
TEST(ZModemReceiver, NamesTheFileWhereHardLinksAreRefused) {
    const auto refusedLink = [](const char*, const char*) {
        errno = EPERM;
        return -1;
    };
    const auto rename = [](const char* from, const char* to) {
        return ::renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE);
    };
    const auto refusedRename = [](const char*, const char*) {
        errno = EINVAL;
        return -1;
    };
    struct Case {
        const char* name;
        common::FileNamingCalls calls;
    } cases[] = {
        {"a never-replace rename", {refusedLink, rename}},
        {"a copy", {refusedLink, refusedRename}},
    };
    for (const auto& c : cases) {
        Session s;
        s.receiver.SetFileNamingCalls(c.calls);
        s.Feed("rz\r");
        fs::create_directories(s.folder);
        std::ofstream(s.folder / "tide.txt", std::ios::binary) << "kept";
        const auto keptTime = fs::last_write_time(s.folder / "tide.txt");
        for (const std::string content : {"first", "second"}) {
            s.OfferFile("tide.txt", content.size());
            s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket(content, kZCrcE, true) +
                   HexHeader(ZFrame::EOF_, static_cast<std::uint32_t>(content.size())));
        }
        s.OfferFile("log.txt", 3);
        s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket("abc", kZCrcE, true) + HexHeader(ZFrame::EOF_, 3));
        EXPECT_EQ(FolderNames(s.folder), (std::vector<std::string>{"log.txt", "tide.txt", "tide.txt.1", "tide.txt.2"}))
            << c.name;
        EXPECT_EQ(ReadAll(s.folder / "log.txt"), "abc") << c.name;
        EXPECT_EQ(ReadAll(s.folder / "tide.txt"), "kept") << c.name;
        EXPECT_EQ(fs::last_write_time(s.folder / "tide.txt"), keptTime) << c.name;
        EXPECT_EQ(ReadAll(s.folder / "tide.txt.1"), "first") << c.name;
        EXPECT_EQ(ReadAll(s.folder / "tide.txt.2"), "second") << c.name;
        EXPECT_EQ(fs::status(s.folder / "tide.txt.2").permissions() & fs::perms::all,
                  fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read | fs::perms::others_read)
            << c.name;
    }
}

// What a program killed in mid-file left behind goes once it is a day old;
// nothing else in the download folder is touched.
TEST(ZModemReceiver, RemovesStaleWorkingFilesOnly) {
    Session s;
    EXPECT_EQ(s.receiver.RemoveStaleWorkingFiles(), 0) << "no folder yet";
    EXPECT_TRUE(s.logged.empty());

    fs::create_directories(s.folder);
    const auto now = fs::file_time_type::clock::now();
    struct Entry {
        std::string name;
        std::chrono::hours age;
        bool removed;
    } entries[] = {
        {".sonar.raw.partial-ab12CD", 25h, true},
        {".run 7.all.partial-Zz9aQ1", 1000h, true},
        {"..hidden.partial-000000", 48h, true},
        {".sonar.raw.partial-xY12cd", 23h, false}, // a transfer on another channel may still run
        {".hidden", 48h, false},
        {"sonar.raw.partial-ab12cd", 48h, false},
        {".sonar.raw.partial-ab12c", 48h, false},
        {".sonar.raw.partial-ab12cde", 48h, false},
        {".sonar.raw.partial-ab_2cd", 48h, false},
        {".sonar.raw.partial-ab12cd.bak", 48h, false},
        {".sonar.raw.partialab12cd", 48h, false},
        {".partial-ab12cd", 48h, false},
        {"..partial-ab12cd", 48h, false},
        {"...partial-ab12cd", 48h, false},
    };
    std::vector<std::string> kept = {".dir.partial-ab12cd", ".link.partial-ab12cd"};
    std::vector<std::string> removedLines;
    for (const auto& e : entries) {
        std::ofstream(s.folder / e.name) << "x";
        fs::last_write_time(s.folder / e.name, now - e.age);
        if (e.removed) {
            removedLines.push_back("removed stale working file \"" + e.name + "\"");
        } else {
            kept.push_back(e.name);
        }
    }
    fs::create_directory(s.folder / ".dir.partial-ab12cd");
    fs::last_write_time(s.folder / ".dir.partial-ab12cd", now - 48h);
    const fs::path outside = s.folder.parent_path() / "elsewhere.txt";
    std::ofstream(outside) << "not ours";
    fs::last_write_time(outside, now - 48h);
    fs::create_symlink(outside, s.folder / ".link.partial-ab12cd");

    EXPECT_EQ(s.receiver.RemoveStaleWorkingFiles(now), 3);
    std::sort(kept.begin(), kept.end());
    EXPECT_EQ(FolderNames(s.folder), kept);
    EXPECT_EQ(ReadAll(outside), "not ours");
    std::sort(removedLines.begin(), removedLines.end());
    std::sort(s.logged.begin(), s.logged.end());
    EXPECT_EQ(s.logged, removedLines);
}

TEST(ZModemReceiver, AShorterTimeOut) {
    Session s;
    s.receiver.SetTimeout(500ms);
    s.Start();
    s.now += 400ms;
    s.receiver.Tick(s.now);
    EXPECT_EQ(s.TakeReplies(), "");
    for (int retry = 1; retry <= 3; ++retry) {
        s.now += 500ms;
        s.receiver.Tick(s.now);
        EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::RINIT, 0x23000000)) << "retry " << retry;
    }
    s.now += 500ms;
    s.receiver.Tick(s.now);
    EXPECT_FALSE(s.receiver.InSession());
}

TEST(ZModemReceiver, EveryWayASessionBreaksLeavesNoFileAndAWorkingChannel) {
    struct Case {
        const char* name;
        std::function<void(Session&)> breakIt;
    } cases[] = {
        {"five CANs", [](Session& s) { s.Feed(std::string(5, '\x18')); }},
        {"carrier lost", [](Session& s) { s.receiver.CarrierLost(); }},
        {"silence",
         [](Session& s) {
             for (int retry = 1; retry <= 3; ++retry) {
                 s.now += 10s;
                 s.receiver.Tick(s.now);
                 EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::RPOS, 2)) << "retry " << retry;
             }
             s.now += 10s;
             s.receiver.Tick(s.now);
             EXPECT_EQ(s.TakeReplies().substr(0, 5), std::string(5, '\x18')) << "the sender is told to stop";
         }},
        {"endless errors",
         [](Session& s) {
             for (int n = 0; n < 300 && s.receiver.InSession(); ++n) {
                 s.Feed("**\x18"
                        "Bzz");
             }
         }},
    };
    for (const auto& c : cases) {
        Session s;
        s.Feed("rz\r");
        s.OfferFile("half.bin", 100);
        s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket("12", kZCrcE, true));
        s.TakeReplies();
        c.breakIt(s);
        EXPECT_FALSE(s.receiver.InSession()) << c.name;
        EXPECT_TRUE(FolderNames(s.folder).empty()) << c.name;
        EXPECT_EQ(s.Feed("$HEHDT,12.3,T\r\n"), "$HEHDT,12.3,T\r\n") << c.name;
    }
}

// A logger's file larger than the disk takes, under a size limit or on a full
// disk: the session is aborted and the log says why, the sender is told to
// stop with the cancel sequence instead of sending the rest into the void, and
// no part of the file is left, least of all under its name.
TEST(ZModemReceiver, AFileTheDiskCannotTakeAbortsTheSessionAndLeavesNothing) {
    struct Case {
        support::DiskCondition condition;
        std::string reason;
    } cases[] = {
        {support::DiskCondition::FileSizeLimit, "File too large"},
        {support::DiskCondition::FullDisk, "No space left on device"},
    };
    constexpr std::size_t kSize = 200000; // well past the working file's 64 KB buffer
    for (const Case& c : cases) {
        SCOPED_TRACE(support::ConditionName(c.condition));
        // The child's session, for the test to read: whether it is still open,
        // what went back to the sender, the log, and the folder's entries.
        const support::WriteOutcome outcome = support::WriteUnder(c.condition, {}, {}, [&](const QString& folder) {
            Session s;
            s.folder = folder.toStdString();
            s.receiver.SetFolder(s.folder);
            s.Feed("rz\r");
            s.OfferFile("sonar.raw", kSize);
            s.Feed(BinaryHeader(ZFrame::DATA, 0, true));
            for (std::size_t sent = 0; sent < kSize && s.receiver.InSession(); sent += 8000) {
                s.Feed(DataSubpacket(std::string(8000, 'd'), kZCrcG, true));
            }
            if (s.receiver.InSession()) {
                s.Feed(DataSubpacket("", kZCrcE, true) + HexHeader(ZFrame::EOF_, kSize));
            }
            QStringList logged;
            for (const std::string& line : s.logged) {
                logged << QString::fromStdString(line);
            }
            QStringList entries;
            for (const std::string& name : FolderNames(s.folder)) {
                if (name != ".filler") { // what fills the small disk
                    entries << QString::fromStdString(name);
                }
            }
            QByteArray report;
            QDataStream out(&report, QIODevice::WriteOnly);
            out << s.receiver.InSession() << QByteArray::fromStdString(s.replies) << logged << entries;
            return QString::fromLatin1(report.toBase64());
        });
        if (!outcome.skipped.isEmpty()) {
            GTEST_SKIP() << outcome.skipped.toStdString();
        }
        QDataStream in(QByteArray::fromBase64(outcome.error.toLatin1()));
        bool inSession = true;
        QByteArray replies;
        QStringList logged;
        QStringList entries;
        in >> inSession >> replies >> logged >> entries;
        ASSERT_EQ(in.status(), QDataStream::Ok) << outcome.error.toStdString();
        EXPECT_FALSE(inSession);
        const QString aborted = QString::fromStdString("session aborted: cannot write \"sonar.raw\": " + c.reason);
        EXPECT_TRUE(logged.contains(aborted)) << logged.join('\n').toStdString();
        EXPECT_TRUE(replies.endsWith(QByteArray(8, '\x18') + QByteArray(8, '\b')))
            << "no cancel sequence at the end of " << replies.right(40).toHex(' ').toStdString();
        EXPECT_TRUE(entries.isEmpty()) << entries.join(' ').toStdString();
    }
}

// With control characters escaped, a sender announces itself with a hex ZSINIT
// whose subpacket follows the header's line end (CR, LF or LF with its high
// bit, XON) and carries a 16-bit CRC, whatever the headers before it used.
TEST(ZModemReceiver, TakesTheSubpacketAfterAHexHeadersLineEnd) {
    const std::string hexSinit = HexHeader(ZFrame::SINIT, 0x40000000).substr(0, 18);
    const std::string attention = std::string(1, '\0');
    struct Case {
        const char* name;
        std::string before, lineEnd;
    } cases[] = {
        {"CR, LF with its high bit, XON", "", "\r\x8a\x11"},
        {"CR, LF, XON", "", "\r\n\x11"},
        {"CR, LF with its high bit", "", "\r\x8a"},
        {"after a 32-bit binary header", BinaryHeader(ZFrame::RQINIT, 0, true), "\r\x8a\x11"},
    };
    for (const auto& c : cases) {
        Session s;
        s.Start();
        s.Feed(c.before);
        s.TakeReplies();
        s.Feed(hexSinit + c.lineEnd + DataSubpacket(attention, kZCrcW, false));
        EXPECT_EQ(s.TakeReplies(), HexHeader(ZFrame::ACK, 0)) << c.name;
        s.OfferFile("sv.txt", 2);
        s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket("ok", kZCrcE, true) + HexHeader(ZFrame::EOF_, 2));
        EXPECT_EQ(ReadAll(s.folder / "sv.txt"), "ok") << c.name;
    }
}

// A device whose data holds "rz" CR (random bytes do, about once in 17 MB) and
// goes on with its position strings keeps its display and is never answered:
// no ZRINIT, no cancel sequence, not one byte written to it.
TEST(ZModemReceiver, AnRzInADevicesDataNeverTakesTheLine) {
    struct Case {
        const char* name;
        std::string stream;
    };
    std::string gll;
    for (int second = 1; second <= 60; ++second) {
        gll += "$GPGLL,5231.0" + std::to_string(second) + ",N,00424.2,E*3C\r\n";
    }
    std::string random = RandomBytes(1 << 20, 17);
    for (std::size_t at : {1000u, 300000u, 900000u}) {
        random.replace(at, 3, "rz\r");
    }
    const Case cases[] = {
        {"rz CR, then a minute of position strings", "rz\r" + gll},
        {"random bytes with rz CR", random},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Session s;
        std::string shown;
        for (std::size_t at = 0; at < c.stream.size(); at += 4096) {
            s.now += 250ms;
            s.receiver.Tick(s.now);
            shown += s.Feed(c.stream.substr(at, 4096));
            EXPECT_FALSE(s.receiver.InSession());
        }
        shown += s.receiver.TakeHeld();
        EXPECT_TRUE(shown == c.stream) << "the display lost or gained bytes";
        EXPECT_EQ(s.TakeReplies(), "");
        EXPECT_EQ(s.logged, std::vector<std::string>{});
    }
}

// The sender's "OO" closes a session only when it follows its ZFIN at once.
TEST(ZModemReceiver, DropsTheSendersClosingOnlyRightAfterItsZFin) {
    struct Piece {
        std::chrono::milliseconds after;
        std::string bytes;
    };
    struct Case {
        const char* name;
        std::vector<Piece> pieces;
        std::string shown;
    } cases[] = {
        {"OO at once", {{0ms, HexHeader(ZFrame::FIN, 0) + "OO"}, {0ms, "gyro 1\r"}}, "gyro 1\r"},
        {"OO in pieces",
         {{0ms, HexHeader(ZFrame::FIN, 0).substr(0, 19)}, {100ms, "\x8aO"}, {100ms, "Ogyro 1\r"}},
         "gyro 1\r"},
        {"a line that starts with O", {{0ms, HexHeader(ZFrame::FIN, 0) + "OK after\r\n"}}, "OK after\r\n"},
        {"its O held back", {{0ms, HexHeader(ZFrame::FIN, 0) + "O"}, {100ms, "K after\r\n"}}, "OK after\r\n"},
        {"OO five seconds later", {{0ms, HexHeader(ZFrame::FIN, 0)}, {5000ms, "OO\r\n"}}, "OO\r\n"},
        {"the line end without its CR", {{0ms, HexHeader(ZFrame::FIN, 0).substr(0, 18) + "\x8aOO"}}, "\x8aOO"},
        {"a binary ZFIN", {{0ms, BinaryHeader(ZFrame::FIN, 0, true) + "OOgyro 1\r"}}, "gyro 1\r"},
    };
    for (const auto& c : cases) {
        Session s;
        s.Start();
        std::string shown;
        for (const auto& piece : c.pieces) {
            s.now += piece.after;
            shown += s.Feed(piece.bytes);
        }
        EXPECT_FALSE(s.receiver.InSession()) << c.name;
        EXPECT_EQ(shown, c.shown) << c.name;
    }
}

// Five CANs in a row are the sender's cancel; fewer may be data or noise.
TEST(ZModemReceiver, FiveCansInARowEndTheSession) {
    const std::string can(1, '\x18');
    struct Case {
        std::vector<std::string> pieces;
        bool open;
    } cases[] = {
        {{can + can + can + can}, true},
        {{can + can + can + can + "x" + can}, true},
        {{can + can + can + can + can}, false},
        {{can + can + can, can + can}, false},
    };
    for (const auto& c : cases) {
        Session s;
        s.Start();
        for (const auto& piece : c.pieces) {
            s.Feed(piece);
        }
        EXPECT_EQ(s.receiver.InSession(), c.open) << c.pieces.size() << " pieces, " << c.pieces[0].size();
        if (!c.open) {
            continue;
        }
        s.OfferFile("after.txt", 2);
        s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket("ok", kZCrcE, true) + HexHeader(ZFrame::EOF_, 2));
        EXPECT_EQ(ReadAll(s.folder / "after.txt"), "ok");
    }
}

TEST(ZModemReceiver, CarriesOnAfterRandomGarbageInASession) {
    std::mt19937 random(7);
    for (int round = 0; round < 50; ++round) {
        Session s;
        s.Start();
        std::string noise(1 + random() % 4000, '\0');
        for (auto& c : noise) {
            c = static_cast<char>(random());
        }
        s.Feed(noise);
        if (!s.receiver.InSession()) {
            continue; // five CANs in the noise end it, as they should
        }
        s.OfferFile("after.txt", 2);
        s.Feed(BinaryHeader(ZFrame::DATA, 0, true) + DataSubpacket("ok", kZCrcE, true) + HexHeader(ZFrame::EOF_, 2));
        EXPECT_EQ(ReadAll(s.folder / "after.txt"), "ok") << "round " << round;
    }
}

TEST(ZModemProgress, TextsForTheChannelsProgressLine) {
    struct Case {
        std::uint64_t received;
        std::optional<std::uint64_t> announced;
        double seconds;
        std::string text;
        const char* reason;
    };
    const Case cases[] = {
        {1200000, 5000000, 3, "f: 1.2 of 5.0 MB, 24 %, 400 kB/s, 10 s left", "the time left is rounded up"},
        {500, 1000, 0.5, "f: 0.5 of 1.0 kB, 50 %", "no rate in the first second"},
        {0, 1000, 5, "f: 0.0 of 1.0 kB, 0 %", "no rate before the first byte"},
        {2500000, std::nullopt, 2, "f: 2.5 MB, 1.3 MB/s", "no size announced: no percent, no time left"},
        {4999999, 5000000, 10, "f: 5.0 of 5.0 MB, 99 %, 500 kB/s, 1 s left", "100 % only when all is there"},
        {5000000, 5000000, 10, "f: 5.0 of 5.0 MB, 100 %, 500 kB/s", "complete"},
        {5000100, 5000000, 10, "f: 5.0 MB, 500 kB/s", "more than announced: no percent"},
        {64500, 1000, 10, "f: 64.5 kB, 6 kB/s", "far more than announced"},
        {0, 0, 1, "f: 0 of 0 B, 100 %", "an empty file"},
        {100000, 1000000, 100, "f: 0.1 of 1.0 MB, 10 %, 1 kB/s, 15 min 0 s left", "minutes"},
        {1000000, 100000000, 100, "f: 1.0 of 100.0 MB, 1 %, 10 kB/s, 2 h 45 min left", "hours"},
        {960, 2000, 1, "f: 1.0 of 2.0 kB, 48 %, 960 B/s, 2 s left", "bytes per second"},
        {10, 999, 1, "f: 10 of 999 B, 1 %, 10 B/s, 1 min 39 s left", "whole bytes below a kilobyte"},
        {0, 999949, 0, "f: 0.0 of 999.9 kB, 0 %", "the largest size in kB"},
        {0, 999950, 0, "f: 0.0 of 1.0 MB, 0 %", "rounds to 1000 kB: MB instead"},
    };
    for (const Case& c : cases) {
        const TransferProgress progress{.file = "f",
                                        .received = c.received,
                                        .announced = c.announced,
                                        .elapsed = std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                            std::chrono::duration<double>(c.seconds)),
                                        .arriving = true};
        EXPECT_EQ(ProgressText(progress), c.text) << c.reason;
    }
    struct RateCase {
        double rate;
        std::string text;
    };
    const RateCase rates[] = {{999.4, "999 B/s"},   {999.5, "1 kB/s"},    {999499, "999 kB/s"},
                              {999500, "1.0 MB/s"}, {1.25e6, "1.3 MB/s"}, {2e9, "2.0 GB/s"}};
    for (const RateCase& r : rates) {
        EXPECT_EQ(RateText(r.rate), r.text) << r.rate;
    }
}

// The owner hears of a file when it is announced, after every subpacket and
// once more when it is complete or given up; the "received" entry of a file
// large enough for its rate to mean something gets its average rate.
TEST(ZModemReceiver, ReportsProgressAndTheAverageRate) {
    struct Case {
        const char* what;
        std::size_t size;
        bool complete;
        std::string lastEntry;
    };
    const Case cases[] = {
        {"a large file", 70000, true, "received \"sounding.raw\", 70000 bytes, 70 kB/s"},
        {"a small file", 7000, true, "received \"sounding.raw\", 7000 bytes"},
        {"a file cut off", 70000, false, "\"sounding.raw\" incomplete at 35000 bytes, discarded"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Session s;
        std::vector<TransferProgress> reports;
        s.receiver.SetProgress([&](const TransferProgress& progress) { reports.push_back(progress); });
        s.Feed("rz\r");
        s.OfferFile("sounding.raw", c.size);
        const std::size_t piece = c.size / 10;
        s.Feed(BinaryHeader(ZFrame::DATA, 0, true));
        for (std::size_t sent = 0; sent < (c.complete ? c.size : c.size / 2); sent += piece) {
            s.now += 100ms;
            s.Feed(DataSubpacket(std::string(piece, 'd'), kZCrcG, true));
        }
        if (c.complete) {
            s.Feed(DataSubpacket("", kZCrcE, true) + HexHeader(ZFrame::EOF_, static_cast<std::uint32_t>(c.size)));
        } else {
            s.receiver.CarrierLost();
        }
        const std::size_t pieces = c.complete ? 10 : 5;
        ASSERT_EQ(reports.size(), pieces + 2);
        for (std::size_t n = 0; n <= pieces; ++n) {
            EXPECT_EQ(reports[n].file, "sounding.raw");
            EXPECT_EQ(reports[n].received, n * piece);
            EXPECT_EQ(reports[n].announced, c.size);
            EXPECT_EQ(reports[n].elapsed, n * 100ms);
            EXPECT_TRUE(reports[n].arriving);
        }
        EXPECT_FALSE(reports.back().arriving);
        EXPECT_EQ(reports.back().received, pieces * piece);
        const auto entry = std::find(s.logged.begin(), s.logged.end(), c.lastEntry);
        EXPECT_NE(entry, s.logged.end()) << c.lastEntry;
    }
}

namespace {

// `sz` from lrzsz on one end of a socket pair, the receiver on the other; a
// relay in between may damage bytes or cut the sender off.
struct RealSender {
    struct Options {
        std::size_t flipEvery = 0; // damage one byte in every this many (0: none)
        std::size_t killAfter = 0; // kill the sender after this many bytes (0: never)
    };

    static bool Run(Session& s, const std::vector<std::string>& args, Options options, std::chrono::seconds limit) {
        int pair[2];
        if (::socketpair(AF_UNIX, SOCK_STREAM, 0, pair) != 0) {
            return false;
        }
        const pid_t pid = ::fork();
        if (pid == 0) {
            ::dup2(pair[1], 0);
            ::dup2(pair[1], 1);
            ::dup2(::open("/dev/null", O_WRONLY), 2); // its progress lines would drown the test output
            ::close(pair[0]);
            ::close(pair[1]);
            std::vector<char*> argv;
            argv.push_back(const_cast<char*>("sz"));
            for (const auto& a : args) {
                argv.push_back(const_cast<char*>(a.c_str()));
            }
            argv.push_back(nullptr);
            ::execvp("sz", argv.data());
            ::_exit(127);
        }
        ::close(pair[1]);
        const int fd = pair[0];
        s.receiver.SetSender([fd](std::string_view bytes) {
            for (std::size_t done = 0; done < bytes.size();) {
                const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
                if (n <= 0) {
                    return;
                }
                done += static_cast<std::size_t>(n);
            }
        });
        const auto deadline = std::chrono::steady_clock::now() + limit;
        std::size_t total = 0;
        bool killed = false;
        std::vector<char> buffer(1 << 16);
        while (std::chrono::steady_clock::now() < deadline) {
            pollfd p{fd, POLLIN, 0};
            ::poll(&p, 1, 100);
            s.receiver.Tick(std::chrono::steady_clock::now());
            if (!(p.revents & (POLLIN | POLLHUP))) {
                continue;
            }
            const ssize_t n = ::read(fd, buffer.data(), buffer.size());
            if (n <= 0) {
                break;
            }
            for (ssize_t i = 0; options.flipEvery && i < n; ++i) {
                if ((total + i) % options.flipEvery == options.flipEvery / 2) {
                    buffer[i] ^= 0x20;
                }
            }
            total += static_cast<std::size_t>(n);
            s.shown += s.receiver.Receive(std::string_view(buffer.data(), n), std::chrono::steady_clock::now());
            if (options.killAfter && total > options.killAfter && !killed) {
                ::kill(pid, SIGKILL);
                killed = true;
                break;
            }
        }
        ::close(fd);
        int status = 0;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
        s.receiver.SetSender([&s](std::string_view bytes) { s.replies += bytes; });
        return true;
    }
};

struct SenderFiles {
    QTemporaryDir dir;
    fs::path text = fs::path(dir.path().toStdString()) / "survey notes.txt";
    fs::path binary = fs::path(dir.path().toStdString()) / "sonar.raw";
    SenderFiles() {
        std::ofstream(text, std::ios::binary) << "Line 1 started 10:42\r\nSV 1489.2 m/s\r\n";
        std::ofstream(binary, std::ios::binary) << RandomBytes(1 << 20, 42);
    }
};

} // namespace

TEST(ZModemReceiverWithRealSender, ReceivesATextAndABinaryFileIdentically) {
    SenderFiles files;
    Session s;
    // The absolute path is sent in full with -f; only its last part may be used.
    ASSERT_TRUE(RealSender::Run(s, {"-f", files.text.string(), files.binary.string()}, {}, 60s));
    EXPECT_EQ(FolderNames(s.folder), (std::vector<std::string>{"sonar.raw", "survey notes.txt"}));
    EXPECT_EQ(ReadAll(s.folder / "survey notes.txt"), ReadAll(files.text));
    EXPECT_TRUE(ReadAll(s.folder / "sonar.raw") == ReadAll(files.binary));
    EXPECT_FALSE(s.receiver.InSession());
    EXPECT_EQ(s.shown, "") << "the sender's closing is no terminal data";
}

TEST(ZModemReceiverWithRealSender, EscapingEveryControlCharacter) {
    SenderFiles files;
    Session s;
    ASSERT_TRUE(RealSender::Run(s, {"-e", files.text.string(), files.binary.string()}, {}, 60s));
    for (const auto& line : s.logged) {
        EXPECT_EQ(line.find("error"), std::string::npos) << line;
    }
    EXPECT_EQ(FolderNames(s.folder), (std::vector<std::string>{"sonar.raw", "survey notes.txt"}));
    EXPECT_EQ(ReadAll(s.folder / "survey notes.txt"), ReadAll(files.text));
    EXPECT_TRUE(ReadAll(s.folder / "sonar.raw") == ReadAll(files.binary));
    EXPECT_FALSE(s.receiver.InSession());
    EXPECT_EQ(s.shown, "") << "the sender's closing is no terminal data";
}

TEST(ZModemReceiverWithRealSender, DamagedBytesAreSentAgainUntilTheFileIsWhole) {
    SenderFiles files;
    Session s;
    ASSERT_TRUE(RealSender::Run(s, {files.binary.string()}, {.flipEvery = 150000}, 60s));
    EXPECT_TRUE(ReadAll(s.folder / "sonar.raw") == ReadAll(files.binary));
    EXPECT_GE(std::count_if(s.logged.begin(), s.logged.end(),
                            [](const std::string& line) { return line.find("CRC") != std::string::npos; }),
              3);
}

TEST(ZModemReceiverWithRealSender, ASenderKilledMidFileLeavesNothingBehind) {
    SenderFiles files;
    Session s;
    ASSERT_TRUE(RealSender::Run(s, {files.binary.string()}, {.killAfter = 200000}, 60s));
    EXPECT_TRUE(s.receiver.InSession());
    for (int retry = 0; retry < 4; ++retry) {
        s.now = ZModemReceiver::Clock::now() + std::chrono::seconds(11 * (retry + 1));
        s.receiver.Tick(s.now);
    }
    EXPECT_FALSE(s.receiver.InSession());
    EXPECT_TRUE(FolderNames(s.folder).empty());
    EXPECT_EQ(s.Feed("back\r"), "back\r");
}

} // namespace zmodem_receiver_test
