// The group files of the Groups folder as one set: each read and written
// whole through the link store, in listing order. A file that cannot be read
// is never written, so a damaged or locked group keeps what it holds.
#pragma once

#include "FolderUtil.h"
#include "LinkStore.h"

#include <functional>
#include <string>
#include <vector>

class CGroupFiles {
public:
    CGroupFiles(const CFolderUtil& folders, const CLinkStore& store, std::string groupsFolder);

    // Runs edit over the lines of every readable group file (with its file
    // name) and writes back each file whose lines it changed (edit returns
    // true); written (optional) gets the names of the files written. 0, or
    // the first failed write's code (the other files are still tried).
    using LineEdit = std::function<bool(const std::string& file, std::vector<std::string>& lines)>;
    int Edit(const LineEdit& edit, std::vector<std::string>* written = nullptr) const;

    // Whether any line of a readable group file passes test.
    bool AnyLine(const std::function<bool(const std::string&)>& test) const;

private:
    std::vector<std::string> Files() const;

    const CFolderUtil& folders_;
    const CLinkStore& store_;
    std::string groupsFolder_;
};
