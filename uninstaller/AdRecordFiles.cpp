// Testing an ad's cached files against the XOR bytes its record keeps.
#include "AdRecord.h"

#include "Checksum.h"

#include "fw/handles.h"

#include <windows.h>

namespace {

// True when the file's XOR is `expected`, or when another process holds it
// without sharing (the client may be writing it).
bool FileMatches(CXorChecksum& sum, const std::string& path, std::uint8_t expected) {
    if (path.empty()) return false;
    fw::FileHandle file(::CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return ::GetLastError() == ERROR_SHARING_VIOLATION;
    std::uint8_t value = 0;
    return sum.OfFile(file.get(), &value) && value == expected;
}

}  // namespace

bool CAdRecord::VerifyFiles(const char* adsFolder) const {
    if (!adsFolder) return false;
    const std::string ads = adsFolder;
    CXorChecksum sum;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        const AdPart& part = parts[p];
        const unsigned partNumber = static_cast<unsigned>(p + 1);
        for (std::size_t i = 0; i < part.itemSums.size(); ++i) {
            for (std::size_t k = 0; k < key.size() && k < part.itemSums[i].size(); ++k) {
                const std::uint8_t expected = part.itemSums[i][k];
                if (expected == 0) continue;
                const std::string path =
                    adfiles::MultiFile(ads, AdNumber(), key[k], partNumber, static_cast<unsigned>(i + 1), multiKind);
                if (!FileMatches(sum, path, expected)) return false;
            }
        }
        if (part.hasPartFile && part.partSum &&
            !FileMatches(sum, adfiles::PartFile(ads, AdNumber(), partNumber, partKind), part.partSum))
            return false;
    }
    return true;
}
