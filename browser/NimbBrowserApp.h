// The browser program's application object: start sequence, command line,
// keyboard shortcuts, and saving the window rectangle and skin size.
#pragma once

#include "BrowserState.h"
#include "ErrorHandler.h"
#include "URLObject.h"

#include <windows.h>

#include <memory>
#include <string>
#include <string_view>

class CNimbBrowserDlg;

// What the command line asks for.
struct StartCommand {
    enum Kind { kEmpty, kLinkFile, kAddress };
    Kind kind = kEmpty;
    std::string text;  // the link file path or the address
};

// Reads the raw text after the program path. A start by COM (the
// "Embedding" or "Automation" switch) counts as an empty line.
StartCommand ParseStartCommand(std::string_view line);

class CNimbBrowserApp {
public:
    CNimbBrowserApp(std::string commandLine, std::string programFolder);
    ~CNimbBrowserApp();

    // The start sequence; the program ends when it returns.
    int InitInstance();

    void LoadSettings();
    void LoadDefaultSettings();
    void ParseStartCommandLine();
    void LoadLinkFileSettings(const std::string& path);

    // Keyboard shortcuts of the main window (they never consume the key),
    // then the page control's own keys; true when the control took the message.
    bool ProcessMessageFilter(MSG& msg);
    void HandleKey(UINT vk);
    void HandleAltKey(UINT vk);

    // Saves the window rectangle and, for a folder skin, its size into the skin.
    void SaveWindowAndSkinSize(const BrowserSave& save);

    // What the main window starts with, once the settings are loaded.
    BrowserStart StartState() const;

    CURLObject& StartRecord() { return *startRecord_; }
    bool LinkFileMode() const { return linkFileMode_; }
    // The main window while it exists.
    HWND MainWindow() const;
    CErrorHandler& ErrorHandler() { return errorHandler_; }
    const std::string& ProgramFolder() const { return programFolder_; }
    CNimbBrowserDlg* MainDialog() { return mainDialog_.get(); }

private:
    // The skin of a start without a link file: "Default Skin", else "vessa".
    std::string DefaultSkinName();

    std::string commandLine_;
    std::string programFolder_;
    bool linkFileMode_ = false;
    std::unique_ptr<CURLObject> startRecord_;
    std::unique_ptr<CNimbBrowserDlg> mainDialog_;
    CErrorHandler errorHandler_;
};
