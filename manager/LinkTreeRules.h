// The tree's rules that need no window: member lines, group names and
// which command is enabled for which item (the kinds: tree/TreeKinds.h).
#pragma once

#include "LinkStore.h"
#include "tree/TreeKinds.h"

#include <windows.h>

#include <string>
#include <string_view>

// A member line names a link below Links: "Links\" then folders and a file
// name, no "." or ".." segment, no colon, no empty segment. Anything else is
// never loaded or written. entry gets the folder below Links and the name.
bool ParseMemberLine(std::string_view line, CURLEntry* entry);

// The member line of a link: "Links\" [folder "\"] name.
std::string MemberLineOf(const CURLEntry& entry);

// A group's name: its file name without one final ".vsg" (any case).
std::string GroupNameOf(const std::string& fileName);

// What the enable rules look at.
struct TreeCommandState {
    bool hasItem = false;  // a current item exists
    int kind = 0;          // its present image index
    bool hasChildren = false;
    bool editing = false;  // a label is being edited
    bool copyPending = false;
    bool cutPending = false;
    int sourceKind = -1;    // the clipboard source's kind, -1 when there is none
    bool canPaste = false;  // the move or copy rules allow source onto the current item
};

// Context-menu ids that run the actions of main commands.
inline constexpr UINT kMenuAddFolder = 133, kMenuAddLink = 135, kMenuDelete = 137, kMenuRenameFolder = 112,
                      kMenuCancel = 1;

// Whether a command of the tree is enabled; false for commands the tree does not handle.
bool TreeCommandEnabled(UINT id, const TreeCommandState& state);
// Whether the tree handles the command at all.
bool IsTreeCommand(UINT id);
