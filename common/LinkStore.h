// The link store: link files (Links\[folder\...\]n.vsl), the template
// (Templates\Default.vst) and group files (Groups\name.vsg) below the program
// folder. Every save goes to a temporary file first and then replaces the old
// file, so a failed save never destroys what was there.
#pragma once

#include "ErrorCodes.h"

#include "URLObject.h"

#include <memory>
#include <string>
#include <utility>
#include <vector>

// Names one stored item.
struct CURLEntry {
    // Item kinds the store tells apart; every other kind is a link.
    static constexpr int kLink = 3;
    static constexpr int kGroup = 6;
    static constexpr int kTemplate = 12;

    CURLEntry() = default;
    CURLEntry(std::string group, std::string name) : group(std::move(group)), name(std::move(name)) {}

    std::string group;  // links: folder path below Links, no outer backslashes; empty at the top level
    std::string name;   // file name with extension
    int kind = kLink;
};

using CURLEntryList = std::vector<CURLEntry>;

class CLinkStore {
public:
    // Uses the running program's folder.
    CLinkStore();
    // Uses the given program folder (tests, and callers that already know it).
    explicit CLinkStore(std::string programFolder);

    const std::string& ProgramFolder() const { return programFolder_; }
    const std::string& LinksFolder() const { return linksFolder_; }

    // The file of an entry: Links[\group]\name, or Templates\name for kind 12.
    std::string EntryPath(const CURLEntry& entry) const;

    // ReadArchive of the entry's file.
    ErrorCode LoadURLObject(const CURLEntry& entry, std::unique_ptr<CURLObject>* out) const;

    // Writes the record to the entry's file; its folder is created when only
    // the last level is missing. 0 or 9.
    ErrorCode SaveURLObject(const CURLEntry& entry, const CURLObject& record) const;

    // Stores the record as a new link file with the first free number in
    // Links[\group], creating the folders as needed; newName (optional) gets
    // the file name. 0; 3 when the folder's file list fails; 9 when the file
    // cannot be written, and then no file is left behind.
    // kNoFlush: for many new links at once (an import), where a crash costs
    // a redone import, not a link that was there before.
    enum Flush { kFlush, kNoFlush };
    ErrorCode AddURLObject(const std::string& group, const CURLObject& record, std::string* newName = nullptr,
                           Flush flush = kFlush) const;

    // Deletes Links[\group]\name; 0 or 33.
    ErrorCode DeleteURLObject(const CURLEntry& entry) const;

    // The stored title of Links[\group]\name; title is only set when the
    // result is 0.
    ErrorCode GetLinkTitle(const std::string& group, const std::string& name, std::string* title) const;

    // Appends every non-empty line of a text file, without line ends; 0 or 9.
    ErrorCode ReadList(const std::string& path, std::vector<std::string>* lines) const;
    // Replaces the text file with the lines, each ended by CR LF; 0 or 9.
    ErrorCode WriteList(const std::string& path, const std::vector<std::string>& lines) const;

    // Writes Templates\Default.vst from a default record titled
    // "Default Template"; the result of the save.
    ErrorCode CreateDefaultTemplate() const;

    // Writes one archived record; 0 or 9.
    ErrorCode WriteArchive(const std::string& path, const CURLObject& record) const;

    // Reads one archived record.
    //  0: *out is the record (a default record when the file held the null object);
    //  6: the file cannot be opened, *out is a default record;
    //  9: damaged file or read error, 10: out of memory; *out is left as it was.
    ErrorCode ReadArchive(const std::string& path, std::unique_ptr<CURLObject>* out) const;

    // Splits a full link file path (program folder\Links\[folder\...\]name)
    // into group and name; the kind stays. 0, or 5 with the entry unchanged
    // when the path does not name a file below Links or climbs out with "..".
    ErrorCode SplitLinkPath(const std::string& path, CURLEntry* entry) const;

private:
    std::string programFolder_;
    std::string linksFolder_;
};
