// A fresh program folder for one test: the programs find everything below
// their own folder, so tests copy the executables they start into it.
#pragma once

#include <string>
#include <string_view>

namespace testsupport {

class TempProgramFolder {
public:
    TempProgramFolder();
    ~TempProgramFolder();
    TempProgramFolder(const TempProgramFolder&) = delete;
    TempProgramFolder& operator=(const TempProgramFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string operator/(std::string_view relative) const;

    // Copies a file from the folder of the running test program (the build's
    // bin folder) into this folder, keeping its name. The real Vessa.exe
    // brings twad.dll, which it links at load time.
    void CopyProgram(const std::string& fileName) const;
    // The same under another name (a stand-in program in a real one's place).
    void CopyProgramAs(const std::string& fileName, const std::string& newName) const;

    void MakeFolder(std::string_view relative) const;
    void WriteFile(std::string_view relative, std::string_view bytes) const;
    std::string ReadFile(std::string_view relative) const;
    bool Exists(std::string_view relative) const;

private:
    std::string path_;
};

// The folder of the running test program.
std::string TestBinaryFolder();

// Deletes a folder with everything in it. A link (to a folder or a file) is
// removed itself and never entered, so nothing outside the folder goes.
void RemoveTree(const std::string& path);

}  // namespace testsupport
