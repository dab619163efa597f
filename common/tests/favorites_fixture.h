// Favorites folders for the import tests and benchmark: shortcut files as
// Internet Explorer writes them, their time stamps, and the user's Favorites
// value put back after a test.
#pragma once

#include "URLObject.h"

#include "testsupport/reg_test_util.h"
#include "testsupport/temp_program_folder.h"

#include <cstdint>
#include <memory>
#include <string>
#include <utility>

namespace favtest {

inline constexpr char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Where a finished import is noted, and the texts of the import's boxes.
inline constexpr char kImportInfoKey[] = "SOFTWARE\\Corvane Global\\Vessa\\ImportInfo";
inline constexpr char kBrowserConfirm[] =
    "Vessa has detected that a import was done previously. \nIf you continue with the Import, all you customized "
    "settings for Vessa Manager will be erased. \nDo you want to continue?";
inline constexpr char kManagerConfirm[] =
    "Vessa Manager has detected that a import was done previously. \nIf you continue with the Import, all you "
    "customized settings for Vessa Manager will be erased. \nDo you want to continue?";
inline constexpr char kFailed[] =
    "Failed to import IE Favorites to Vessa.  Please make sure that IE Favorites path is correct";
inline constexpr char kSucceeded[] = "IE Favorites have all been successfully imported";

// A shortcut's text: a [DEFAULT] section with BASEURL first, then
// [InternetShortcut] with URL= and a few more lines, each ended by lineEnd.
std::string ShortcutText(const std::string& url, const std::string& lineEnd = "\r\n");

// Writes bytes to path (folders must exist); fails the test when it cannot.
void WriteFileBytes(const std::string& path, const std::string& bytes);

// Sets a file's creation and last-access times (seconds since 1970, UTC).
// Wine keeps no creation time of its own: it reports the Linux file's and
// ignores a new one.
void SetFileTimes(const std::string& path, std::int64_t created, std::int64_t accessed);
// The creation and last-access times the system reports, in the same seconds.
std::pair<std::int64_t, std::int64_t> FileTimes(const std::string& path);

// The user's Shell Folders key, emptied for one test and put back after it.
class FavoritesValue {
public:
    FavoritesValue();
    void Set(const std::string& folder) const;

private:
    regtest::SavedKey saved_;
};

// The record of a stored link, or null when it cannot be loaded.
std::unique_ptr<CURLObject> LoadLink(const std::string& programFolder, const std::string& group,
                                     const std::string& name);

// A template unlike the default record in every field the import keeps.
CURLObject DistinctTemplate();

// The store an import replaces: the link Links\Old\0.vsl titled "old" and
// the group Work listing it; with a template, Templates\Default.vst holding
// DistinctTemplate() too.
enum class WithTemplate { kNo, kYes };
void MakeOldStore(const testsupport::TempProgramFolder& program, WithTemplate withTemplate);

// The Favorites folder an import reads: a.url with CR LF lines and
// News\Daily\b.url with LF lines.
void MakeFavorites(const testsupport::TempProgramFolder& favorites);

}  // namespace favtest
