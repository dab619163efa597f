// A registry key owned by one test: deleted with its sub-keys before the test
// and again after it. The test prefix is disposable, so tests may use the
// programs' real key paths.
#pragma once

#include <windows.h>

#include <string>

namespace testsupport {

class ScratchKey {
public:
    ScratchKey(HKEY root, std::string path);
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;

    HKEY Root() const { return root_; }
    const std::string& Path() const { return path_; }

private:
    HKEY root_;
    std::string path_;
};

}  // namespace testsupport
