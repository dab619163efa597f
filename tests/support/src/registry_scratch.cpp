#include "testsupport/registry_scratch.h"

#include "fw/registry.h"

#include <gtest/gtest.h>

namespace testsupport {

ScratchKey::ScratchKey(HKEY root, std::string path) : root_(root), path_(std::move(path)) {
    if (!fw::DeleteKeyTree(root_, path_)) ADD_FAILURE() << "cannot clear registry key " << path_;
}

ScratchKey::~ScratchKey() { fw::DeleteKeyTree(root_, path_); }

}  // namespace testsupport
