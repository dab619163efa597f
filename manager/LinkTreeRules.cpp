#include "LinkTreeRules.h"

#include "resource.h"

#include <cctype>

namespace {

bool EndsWithNoCase(std::string_view text, std::string_view suffix) {
    if (text.size() < suffix.size()) return false;
    for (size_t i = 0; i < suffix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(text[text.size() - suffix.size() + i])) !=
            std::tolower(static_cast<unsigned char>(suffix[i])))
            return false;
    return true;
}

bool Any(int kind, std::initializer_list<int> kinds) {
    for (int k : kinds)
        if (k == kind) return true;
    return false;
}

}  // namespace

bool ParseMemberLine(std::string_view line, CURLEntry* entry) {
    constexpr std::string_view kPrefix = "Links\\";
    if (line.size() <= kPrefix.size()) return false;
    for (size_t i = 0; i < kPrefix.size(); ++i)
        if (std::tolower(static_cast<unsigned char>(line[i])) != std::tolower(static_cast<unsigned char>(kPrefix[i])))
            return false;
    if (line.find(':') != std::string_view::npos || line.find('/') != std::string_view::npos) return false;
    std::string_view rest = line.substr(kPrefix.size());
    // Every segment is a plain name.
    size_t start = 0;
    for (;;) {
        const size_t cut = rest.find('\\', start);
        const std::string_view segment = rest.substr(start, cut == std::string_view::npos ? cut : cut - start);
        if (segment.empty() || segment == "." || segment == "..") return false;
        if (cut == std::string_view::npos) break;
        start = cut + 1;
    }
    const size_t last = rest.rfind('\\');
    entry->group = last == std::string_view::npos ? std::string() : std::string(rest.substr(0, last));
    entry->name = std::string(last == std::string_view::npos ? rest : rest.substr(last + 1));
    entry->kind = CURLEntry::kLink;
    return true;
}

std::string MemberLineOf(const CURLEntry& entry) {
    return entry.group.empty() ? "Links\\" + entry.name : "Links\\" + entry.group + "\\" + entry.name;
}

std::string GroupNameOf(const std::string& fileName) {
    if (EndsWithNoCase(fileName, ".vsg")) return fileName.substr(0, fileName.size() - 4);
    return fileName;
}

bool IsTreeCommand(UINT id) {
    switch (id) {
        case ID_LAUNCH:
        case ID_LAUNCH_BUTTON:
        case ID_ADD_FOLDER:
        case kMenuAddFolder:
        case ID_ADD_LINK:
        case kMenuAddLink:
        case ID_EDIT_DELETE:
        case kMenuDelete:
        case ID_DELETE_LINK:
        case ID_DELETE_FOLDER:
        case kMenuRenameFolder:
        case ID_EDIT_CUT:
        case ID_EDIT_COPY:
        case ID_EDIT_PASTE:
        case ID_IMPORT:
            return true;
        default:
            return false;
    }
}

bool TreeCommandEnabled(UINT id, const TreeCommandState& s) {
    using namespace TreeKind;
    if (id == ID_IMPORT) return !s.editing;
    // Without a current item no action has a target.
    if (!s.hasItem) return false;
    const int k = s.kind;
    switch (id) {
        case ID_LAUNCH:
        case ID_LAUNCH_BUTTON:
            return !s.editing && (Any(k, {kLink, kMember}) || (k == kGroup && s.hasChildren));
        case ID_ADD_LINK:
        case kMenuAddLink:
            return !s.editing && Any(k, {kLinksRoot, kFolder});
        case ID_ADD_FOLDER:
        case kMenuAddFolder:
            return !s.editing && Any(k, {kLinksRoot, kGroupsRoot, kFolder});
        case ID_DELETE_LINK:
            return !s.editing && Any(k, {kLink, kMember, kCutLink});
        case ID_DELETE_FOLDER:
            // Not while a label is edited: the delete would act on a half-renamed item.
            return !s.editing && Any(k, {kFolder, kGroup, kCutFolder});
        case ID_EDIT_CUT:
        case ID_EDIT_COPY:
            return !s.editing && Any(k, {kLink, kFolder, kCutFolder, kCutLink});
        case ID_EDIT_PASTE:
            return !s.editing && (s.copyPending || s.cutPending) &&
                   (s.canPaste || (s.copyPending && s.sourceKind == kLink && Any(k, {kLinksRoot, kFolder, kGroup})));
        case ID_EDIT_DELETE:
        case kMenuDelete:
            return !s.editing && !Any(k, {kRoot, kLinksRoot, kGroupsRoot, kTemplatesRoot, kTemplate});
        case kMenuRenameFolder:
            return !s.editing && Any(k, {kFolder, kGroup});
        default:
            return false;
    }
}
