// Installs a fixture skin (tests/fixtures/<name>, copied beside the test
// program with the built-in background as background.bmp) into a temporary
// program folder's Skins folder.
#pragma once

#include "SkinFile.h"

#include "fw/file.h"
#include "testsupport/temp_program_folder.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <string>

namespace skintest {

inline std::string FixturesFolder() { return testsupport::TestBinaryFolder() + "\\skin_fixtures"; }

// Returns the skin's paths; its reference is its Data.ini.
inline SkinPaths InstallFixtureSkin(const testsupport::TempProgramFolder& program, const std::string& fixture,
                                      const std::string& skinName) {
    program.MakeFolder("Skins\\" + skinName);
    const std::string folder = program / ("Skins\\" + skinName);
    for (const char* file : {"Data.ini"}) {
        const std::string from = FixturesFolder() + "\\" + fixture + "\\" + file;
        if (!::CopyFileA(from.c_str(), (folder + "\\" + file).c_str(), FALSE)) ADD_FAILURE() << "cannot copy " << from;
    }
    const std::string background = FixturesFolder() + "\\background.bmp";
    if (!::CopyFileA(background.c_str(), (folder + "\\background.bmp").c_str(), FALSE))
        ADD_FAILURE() << "cannot copy " << background;
    return MakeSkinPaths(program.Path(), skinName);
}

}  // namespace skintest
