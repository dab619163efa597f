// Links made on disk the way the browser saves them, for the manager's tests.
#pragma once

#include "ErrorCodes.h"
#include "LinkStore.h"

#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>

#include <string>

namespace mgrtest {

// A link file in a folder below Links ("" for Links itself); its file name.
inline std::string AddLink(const testsupport::TempProgramFolder& dir, const std::string& folder,
                           const std::string& title) {
    CURLObject record;
    record.link.title = title;
    record.link.address = "http://127.0.0.1:1/" + title;
    std::string name;
    EXPECT_EQ(CLinkStore(dir.Path()).AddURLObject(folder, record, &name), kErrNone);
    return name;
}

}  // namespace mgrtest
