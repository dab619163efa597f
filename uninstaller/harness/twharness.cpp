// Test harness: runs steps on the uninstaller's building blocks in a process
// of its own, so tests can put two or more processes on one lock, block or
// database. Steps are read from the command line in order; each step that
// gives a result prints one line. Processes meet through named events:
// "signal NAME" sets one, "wait NAME" waits for it (bounded, never a sleep).
//
//   md5|wordsum|xor PATH [OFFSET LENGTH]   hex value, or "false"
//   lock-create BASE|- SUFFIX              "lock-create 1|0"
//   lock MODE TIMEOUT / unlock MODE        "lock R"
//   block-open SIZE BASE SUFFIX            "open R"
//   block-lock MODE / block-unlock MODE    "block-lock 1|0"
//   alloc COUNT                            "alloc OFFSET"
//   sethead I VALUE / gethead I            "head I VALUE"
//   header                                 "header W0 W1 W2 W3 W4"
//   poke NAME WORD VALUE                   writes a header word of block NAME from outside
//   block-close
//   take-mutex NAME                        owns the mutex until this process ends
//   set-event NAME                         sets an auto-reset event, kept open until this process ends
//   db-open PATH CREATE                    "db-open 1|0" (records are the tests' TestRecord)
//   db-open-ad PATH CREATE                 the same with ad records
//   ad-verify ADS RECORD VERSION           "ad-verify 1|0", or "ad-verify unparsed"
//   rc-release PATH CHANGE KIND TYPE       "rc-release 1 COUNT" or "rc-release 0"
//   rc-count PATH KIND TYPE / rc-total PATH   "rc-count N" / "rc-total N", N or "unknown"
//   hold-file PATH                         opens the file without sharing until this process ends
//   db-walk FLAGS                          "walk ID ID ..." (any key)
//   db-add ID KEY TEXT                     "db-add R"
//   db-close
//   signal NAME / wait NAME                "wait 0" once set, "wait timeout" (and exit 3) after 60 s
#include "AdRecord.h"
#include "Checksum.h"
#include "RcFile.h"
#include "NamedRwLock.h"
#include "SharedBlock.h"
#include "QueueDb.h"
#include "test_record.h"

#include "fw/file.h"
#include "fw/handles.h"

#include <windows.h>

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

namespace {

constexpr DWORD kWaitBoundMs = 60000;

std::uint64_t Number(const char* text) {
    return std::strtoull(text, nullptr, 0);
}

// Label and number; built by appending, since "literal" + std::to_string()
// sets off a false -Wrestrict warning in GCC 12.
std::string Line(const char* label, long long value) {
    std::string line = label;
    line += ' ';
    line += std::to_string(value);
    return line;
}

void Print(const std::string& line) {
    std::fputs((line + "\n").c_str(), stdout);
    std::fflush(stdout);
}

std::string Hex(const std::uint8_t* bytes, std::size_t count) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string out;
    for (std::size_t i = 0; i < count; ++i) {
        out += kDigits[bytes[i] >> 4];
        out += kDigits[bytes[i] & 15];
    }
    return out;
}

fw::Handle NamedEvent(const char* name) {
    return fw::Handle(::CreateEventA(nullptr, TRUE, FALSE, name));
}

class Harness {
public:
    explicit Harness(std::vector<std::string> args) : args_(std::move(args)) {}

    int Run() {
        while (pos_ < args_.size()) {
            const std::string op = Next();
            const int rc = Step(op);
            if (rc != 0) return rc;
        }
        return 0;
    }

private:
    const char* Next() {
        if (pos_ >= args_.size()) {
            Print("missing argument");
            std::exit(2);
        }
        return args_[pos_++].c_str();
    }

    int Checksum(CChecksum& sum) {
        const std::string path = Next();
        std::uint8_t value[16] = {};
        bool ok;
        if (pos_ + 1 < args_.size() && std::isdigit(static_cast<unsigned char>(args_[pos_][0]))) {
            const std::uint64_t offset = Number(Next());
            const std::uint64_t length = Number(Next());
            ok = sum.OfPath(path.c_str(), offset, length, value);
        } else {
            ok = sum.OfPath(path.c_str(), value);
        }
        Print(ok ? Hex(value, sum.ValueSize()) : "false");
        return 0;
    }

    int Step(const std::string& op) {
        if (op == "md5") {
            CMd5Checksum sum;
            return Checksum(sum);
        }
        if (op == "wordsum") {
            CWordSumChecksum sum;
            return Checksum(sum);
        }
        if (op == "xor") {
            CXorChecksum sum;
            return Checksum(sum);
        }
        if (op == "lock-create") {
            const std::string base = Next();
            const std::string suffix = Next();
            Print(Line("lock-create", lock_.Create(base == "-" ? nullptr : base.c_str(), suffix.c_str())));
        } else if (op == "lock") {
            const int mode = static_cast<int>(Number(Next()));
            const DWORD timeout = static_cast<DWORD>(Number(Next()));
            Print(Line("lock", lock_.Lock(mode, timeout)));
        } else if (op == "unlock") {
            lock_.Unlock(static_cast<int>(Number(Next())));
        } else if (op == "block-open") {
            const std::uint32_t size = static_cast<std::uint32_t>(Number(Next()));
            const std::string base = Next();
            const std::string suffix = Next();
            Print(Line("open", block_.Open(size, base.c_str(), suffix.c_str())));
        } else if (op == "block-lock") {
            Print(Line("block-lock", block_.Lock(static_cast<int>(Number(Next())))));
        } else if (op == "block-unlock") {
            block_.Unlock(static_cast<int>(Number(Next())));
        } else if (op == "block-close") {
            block_.Close();
        } else if (op == "alloc") {
            Print(Line("alloc", block_.Alloc(static_cast<std::uint32_t>(Number(Next())))));
        } else if (op == "sethead") {
            const std::uint32_t index = static_cast<std::uint32_t>(Number(Next()));
            block_.SetHead(index, static_cast<std::uint32_t>(Number(Next())));
        } else if (op == "gethead") {
            const std::uint32_t index = static_cast<std::uint32_t>(Number(Next()));
            std::string line = Line("head", index);
            line += ' ';
            line += std::to_string(block_.GetHead(index));
            Print(line);
        } else if (op == "header") {
            const auto* words = static_cast<const std::uint32_t*>(block_.ToPointer(0, 20));
            std::string line = "header";
            for (int i = 0; i < 5 && words; ++i) {
                line += ' ';
                line += std::to_string(words[i]);
            }
            Print(line);
        } else if (op == "db-open") {
            const std::string path = Next();
            const bool create = Number(Next()) != 0;
            Print(Line("db-open", db_.Open(path.c_str(), &prototype_, create)));
        } else if (op == "db-open-ad") {
            const std::string path = Next();
            const bool create = Number(Next()) != 0;
            Print(Line("db-open", db_.Open(path.c_str(), &adPrototype_, create)));
        } else if (op == "ad-verify") {
            const std::string ads = Next();
            const std::string file = Next();
            QueueEntry entry;
            entry.version = static_cast<std::uint32_t>(Number(Next()));
            std::string bytes;
            CAdRecord record;
            if (!fw::ReadWholeFile(file, bytes) || !record.Parse(bytes, entry))
                Print("ad-verify unparsed");
            else
                Print(Line("ad-verify", record.VerifyFiles(ads.c_str())));
        } else if (op == "rc-release") {
            const std::string path = Next();
            const auto change = static_cast<std::int32_t>(std::strtol(Next(), nullptr, 0));
            const auto kind = static_cast<std::uint32_t>(Number(Next()));
            const auto type = static_cast<std::uint32_t>(Number(Next()));
            std::int64_t count = -1;
            if (RcReleaseRef(path.c_str(), change, kind, type, &count))
                Print(Line("rc-release 1", count));
            else
                Print("rc-release 0");
        } else if (op == "rc-count") {
            const std::string path = Next();
            const auto kind = static_cast<std::uint32_t>(Number(Next()));
            const auto type = static_cast<std::uint32_t>(Number(Next()));
            const auto count = RcGetRefCount(path.c_str(), kind, type);
            Print(count ? Line("rc-count", *count) : "rc-count unknown");
        } else if (op == "rc-total") {
            const auto total = RcGetTotalRefs(Next());
            Print(total ? Line("rc-total", *total) : "rc-total unknown");
        } else if (op == "hold-file") {
            // Kept open, unshared, until the process ends.
            HANDLE file = ::CreateFileA(Next(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
            if (file == INVALID_HANDLE_VALUE) return 4;
            Print("held");
        } else if (op == "db-walk") {
            const unsigned flags = static_cast<unsigned>(Number(Next()));
            std::string line = "walk";
            int stop = 0;
            db_.ForEachRecord(
                [&](QueueVisit& v) {
                    line += ' ';
                    line += std::to_string(v.entry.id);
                },
                CQueueDb::kAnyKey, flags, &stop);
            Print(line);
        } else if (op == "db-add") {
            const std::uint32_t id = static_cast<std::uint32_t>(Number(Next()));
            const std::uint32_t key = static_cast<std::uint32_t>(Number(Next()));
            Print(Line("db-add", db_.AddRecord(TestRecord(id, key, Next()), false)));
        } else if (op == "db-close") {
            db_.Close();
        } else if (op == "take-mutex") {
            // Never released: the mutex is abandoned when this process ends.
            HANDLE mutex = ::CreateMutexA(nullptr, FALSE, Next());
            if (!mutex || ::WaitForSingleObject(mutex, kWaitBoundMs) != WAIT_OBJECT_0) return 4;
        } else if (op == "set-event") {
            // Never closed: the event lives as long as this process.
            HANDLE event = ::CreateEventA(nullptr, FALSE, FALSE, Next());
            if (!event || !::SetEvent(event)) return 4;
        } else if (op == "poke") {
            return Poke();
        } else if (op == "signal") {
            fw::Handle event = NamedEvent(Next());
            if (!event || !::SetEvent(event.get())) return 4;
        } else if (op == "wait") {
            fw::Handle event = NamedEvent(Next());
            if (!event) return 4;
            if (::WaitForSingleObject(event.get(), kWaitBoundMs) != WAIT_OBJECT_0) {
                Print("wait timeout");
                return 3;
            }
            Print("wait 0");
        } else {
            Print("unknown step " + op);
            return 2;
        }
        return 0;
    }

    // Changes a word of a block's header through a view of its own, as a
    // damaged or hostile process would.
    int Poke() {
        const std::string name = std::string(Next()) + "__FM";
        const std::uint32_t word = static_cast<std::uint32_t>(Number(Next()));
        const std::uint32_t value = static_cast<std::uint32_t>(Number(Next()));
        fw::Handle mapping(::OpenFileMappingA(FILE_MAP_WRITE, FALSE, name.c_str()));
        if (!mapping) return 4;
        fw::MappedView view(::MapViewOfFile(mapping.get(), FILE_MAP_WRITE, 0, 0, 4096));
        if (!view || word >= 1024) return 4;
        // Views of a reserved mapping commit their pages one by one.
        if (!::VirtualAlloc(view.get(), 4096, MEM_COMMIT, PAGE_READWRITE)) return 4;
        static_cast<volatile std::uint32_t*>(view.get())[word] = value;
        return 0;
    }

    std::vector<std::string> args_;
    std::size_t pos_ = 0;
    CNamedRwLock lock_;
    CSharedBlock block_;
    TestRecord prototype_;
    CAdRecord adPrototype_;
    CQueueDb db_;
};

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    return Harness(std::move(args)).Run();
}
