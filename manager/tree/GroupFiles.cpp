#include "tree/GroupFiles.h"

#include "AppConstants.h"
#include "ErrorCodes.h"

#include <algorithm>

CGroupFiles::CGroupFiles(const CFolderUtil& folders, const CLinkStore& store, std::string groupsFolder)
    : folders_(folders), store_(store), groupsFolder_(std::move(groupsFolder)) {}

std::vector<std::string> CGroupFiles::Files() const {
    std::vector<std::string> files;
    folders_.ListFiles(groupsFolder_, AppConstants::kGroupExt, &files);
    return files;
}

int CGroupFiles::Edit(const LineEdit& edit, std::vector<std::string>* written) const {
    int result = kErrNone;
    for (const std::string& file : Files()) {
        const std::string path = groupsFolder_ + "\\" + file;
        std::vector<std::string> lines;
        if (store_.ReadList(path, &lines) != kErrNone) continue;
        if (!edit(file, lines)) continue;
        const int rc = store_.WriteList(path, lines);
        if (rc != kErrNone && result == kErrNone) result = rc;
        if (rc == kErrNone && written) written->push_back(file);
    }
    return result;
}

bool CGroupFiles::AnyLine(const std::function<bool(const std::string&)>& test) const {
    for (const std::string& file : Files()) {
        std::vector<std::string> lines;
        if (store_.ReadList(groupsFolder_ + "\\" + file, &lines) != kErrNone) continue;
        if (std::any_of(lines.begin(), lines.end(), test)) return true;
    }
    return false;
}
