// The program folder and the folders below it: walks, file lists, path
// creation, folder-tree deletion and unique numbered link names.
// All paths are without a trailing backslash.
#pragma once

#include "ErrorCodes.h"

#include <string>
#include <string_view>
#include <vector>

class CFolderUtil {
public:
    // Uses the running program's folder.
    CFolderUtil();
    // Uses the given program folder (tests, and callers that already know it).
    explicit CFolderUtil(std::string programFolder);

    // The running program's folder (GetProgramFolder of ProgramFolder.h); 0, or 4.
    static ErrorCode GetProgramFolder(std::string* out);

    const std::string& ProgramFolder() const { return programFolder_; }
    const std::string& LinksFolder() const { return linksFolder_; }

    // Appends every folder below folder, at any depth, depth first, a folder
    // before its sub-folders; 0, 2 (not a folder, or a path with "..") or 61
    // (nothing to list). A junction or folder link is listed, never entered.
    ErrorCode ListSubfolders(const std::string& folder, std::vector<std::string>* list) const;

    // Appends the bare name of every file in folder whose extension is ext
    // (without regard to case); 0, 61 (none, or no folder) or 3.
    ErrorCode ListFiles(const std::string& folder, const std::string& ext, std::vector<std::string>* list) const;

    // Creates every missing folder of base\relative; 0 or 31.
    ErrorCode CreatePath(const std::string& base, const std::string& relative) const;

    // Creates the program folder's Links, Groups and Templates when missing,
    // so that the first command adding to one finds it; 0, or 31 when one
    // could not be made (the others are still tried).
    ErrorCode CreateProgramFolders() const;

    // Deletes a link folder tree (its link files and emptied folders) or a
    // group; 0, or 32 when relative is absolute or climbs out of base (".."),
    // when nothing is touched. The Links and Groups roots themselves stay. A
    // junction or folder link is removed itself, never what it points to.
    ErrorCode DeleteFolderTree(const std::string& base, const std::string& relative, int kind) const;

    // True when relative names a place inside its base: not absolute (no
    // leading slash, no drive or colon) and no ".." part. Empty is the base.
    static bool IsContainedRelative(std::string_view relative);

    // The first free link file name n.vsl in folder; 0 or 3.
    ErrorCode MakeUniqueName(const std::string& folder, std::string* name) const;

    // path relative to the program folder, and relative to Links for links.
    void MakeRelativePath(const std::string& path, std::string* out) const;

    // Gathers from walk (a ListSubfolders list of Links), starting at *pos,
    // every folder below the top-level folder topFolder, relative to Links and
    // deepest first (the reverse of the walk's order), ahead of what out held.
    // *pos ends on the first folder of another top-level folder. Always 0.
    ErrorCode MergeFolderLists(const std::vector<std::string>& walk, const std::string& topFolder, size_t* pos,
                               std::vector<std::string>* out) const;

    // Appends the distinct names of the folders directly below parent (a path
    // of depth components) among folders, in order of first appearance.
    static void CollectChildFolders(const std::vector<std::string>& folders, int depth, const std::string& parent,
                                    std::vector<std::string>* out);

private:
    std::string programFolder_;
    std::string linksFolder_;
};

// MakeRelativePath against the running program's folder.
void MakeRelativePath(const std::string& path, std::string* out);
