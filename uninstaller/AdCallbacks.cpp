#include "AdCallbacks.h"

#include "AdRecord.h"
#include "RcFile.h"
#include "TwFiles.h"

namespace {

struct Released {
    bool multi = false;
    bool part = false;
};

void DeleteUnreferenced(const CAdRecord& record, const std::string& ads, const std::string& rc, Released released) {
    const auto total = RcGetTotalRefs(rc.c_str());
    if (!total) return;  // unknown: nothing goes
    if (*total == 0) {
        twfiles::DeleteFolderTree(adfiles::Folder(ads, record.AdNumber()));
        return;
    }
    for (std::size_t p = 0; p < record.parts.size(); ++p) {
        const unsigned part = static_cast<unsigned>(p + 1);
        if (released.part) twfiles::DeleteFileRetry(adfiles::PartFile(ads, record.AdNumber(), part, record.partKind));
        if (!released.multi) continue;
        for (const std::uint8_t keyByte : record.key) {
            for (std::size_t i = 0; i < record.parts[p].items.size(); ++i) {
                twfiles::DeleteFileRetry(adfiles::MultiFile(ads, record.AdNumber(), keyByte, part,
                                                            static_cast<unsigned>(i + 1), record.multiKind));
            }
        }
    }
}

// The record and its rc file's path, when the ad's folder is a real one.
bool ReadRecord(const QueueVisit& visit, const std::string& ads, CAdRecord* record, std::string* rc) {
    if (!record->Parse(visit.bytes, visit.entry)) return false;
    const std::string folder = adfiles::Folder(ads, record->AdNumber());
    *rc = adfiles::RcFile(ads, record->AdNumber());
    return !folder.empty() && !rc->empty() && twfiles::IsPlainFolder(folder);
}

}  // namespace

void OnDoneRecord(QueueVisit& visit, const std::string& adsFolder) {
    CAdRecord record;
    std::string rc;
    if (!ReadRecord(visit, adsFolder, &record, &rc)) return;
    Released released;
    std::int64_t count = -1;
    const bool multiWritten = RcReleaseRef(rc.c_str(), -1, record.multiKind, kRcMultiFiles, &count);
    released.multi = multiWritten && count == 0;
    const bool partWritten = RcReleaseRef(rc.c_str(), -1, record.partKind, kRcPartFiles, &count);
    released.part = partWritten && count == 0;
    if (multiWritten || partWritten) visit.entry.flags &= ~QueueEntry::kLive;
    DeleteUnreferenced(record, adsFolder, rc, released);
}

void OnPendingRecord(QueueVisit& visit, const std::string& adsFolder) {
    CAdRecord record;
    std::string rc;
    if (!ReadRecord(visit, adsFolder, &record, &rc)) return;
    Released released;
    const bool wanted = record.flagA || record.flagB || record.tens[0] || record.tens[1];
    const auto multi = RcGetRefCount(rc.c_str(), record.multiKind, kRcMultiFiles);
    released.multi = wanted && multi && *multi == 0;
    const auto part = RcGetRefCount(rc.c_str(), record.partKind, kRcPartFiles);
    released.part = part && *part == 0;
    DeleteUnreferenced(record, adsFolder, rc, released);
}
