// The programs' settings object: one getter and one setter per registry value.
// Short-lived: create one where a value is needed.
//
// Every operation returns an error code (0, 38 for a failed read, 39 for a
// failed write) unless said otherwise. Getters leave the caller's variable
// unchanged when they fail, unless said otherwise. Stored values are never
// trusted: a string value that is not a string, or a DWORD value that is not a
// 4-byte REG_DWORD, counts as missing, and so does a text longer than the
// reader's limit. Setters refuse texts longer than that limit (39), so what
// is written can always be read back.
#pragma once

#include "ErrorCodes.h"

#include <windows.h>

#include <string>
#include <vector>

class CRegSettings {
public:
    // Texts longer than these are neither written nor read.
    static constexpr size_t kMaxValueChars = 255;        // generic strings, start page, typed addresses
    static constexpr size_t kMaxPageSettingChars = 127;  // page font and colours, default skin
    static constexpr size_t kMaxDlgBoxColorsChars = 31;  // "Use_DlgBox_Colors"
    static constexpr size_t kMaxFavoritesChars = 1023;

    // Uses the running program's folder where a value names a program file.
    CRegSettings();
    // Uses the given program folder instead (tests, and callers that know it).
    explicit CRegSettings(std::string programFolder);
    virtual ~CRegSettings();

    // --- Generic primitives; an empty name is the key's default value. ---
    // Opens the key for full access, or creates it; writes; flushes.
    static ErrorCode SetDwordValue(HKEY root, const std::string& subKey, const std::string& name, DWORD value);
    // Opens the key for full access (never creates it).
    static ErrorCode QueryDwordValue(HKEY root, const std::string& subKey, const std::string& name, DWORD* out);
    // At most 255 characters; opens or creates, flushes.
    static ErrorCode SetStringValue(HKEY root, const std::string& subKey, const std::string& name,
                                    const std::string& value);
    // Empties out first; at most 255 characters; opens for full access.
    static ErrorCode QueryStringValue(HKEY root, const std::string& subKey, const std::string& name, std::string* out);
    // The key's default value, at most 255 characters; opens for reading.
    static ErrorCode QueryDefaultString(HKEY root, const std::string& subKey, std::string* out);
    // 38 when the key cannot be opened, 39 when there is no such value.
    static ErrorCode DeleteValue(HKEY root, const std::string& subKey, const std::string& name);

    // --- The programs' own values under HKEY_LOCAL_MACHINE. ---
    // The rectangle under App Settings\<name>: "Vessa" (browser) or "Vessa Manager".
    ErrorCode SaveWindowRect(const std::string& name, const RECT& rect);
    // Reads Left, Top, Right, Bottom in order; the first missing one ends it
    // with 38, the fields read before it already changed.
    ErrorCode LoadWindowRect(const std::string& name, RECT* rect);
    ErrorCode SaveToolBarSize(DWORD size);
    ErrorCode LoadToolBarSize(DWORD* size);
    // Never fails: a missing key or value is created with 0 and read as 0.
    ErrorCode GetBrowserID(DWORD* id);
    ErrorCode SetBrowserID(DWORD id);
    // The value of "Access" itself, 0 when missing.
    DWORD GetHitSent();
    ErrorCode SetHitSent();
    ErrorCode GetCheckDefaultBrowser(DWORD* out);
    ErrorCode SetCheckDefaultBrowser(DWORD value);
    // Creates the "ImportInfo" key when missing (and then returns 38).
    ErrorCode GetImportDone(DWORD* out);
    ErrorCode SetImportDone(DWORD value);
    // The "Options" values; the reader creates the key when missing.
    ErrorCode ReadOptionDWord(const std::string& name, DWORD* out);
    ErrorCode WriteOptionDWord(const std::string& name, DWORD value);
    ErrorCode GetHideProgram(DWORD* out);
    ErrorCode SetHideProgram(DWORD value);
    ErrorCode GetHideToolTray(DWORD* out);
    ErrorCode SetHideToolTray(DWORD value);
    ErrorCode GetHideNormalDeleteDlg(DWORD* out);
    ErrorCode SetHideNormalDeleteDlg(DWORD value);
    ErrorCode GetHideGroupItemDeleteDlg(DWORD* out);
    ErrorCode SetHideGroupItemDeleteDlg(DWORD value);
    // 1 when the "Options" key is missing; 38 when the key holds no "First Run".
    ErrorCode GetFirstRun(DWORD* out);
    ErrorCode ClearFirstRun();
    // At most 127 characters.
    ErrorCode GetDefaultSkin(std::string* out);
    ErrorCode SetDefaultSkin(const std::string& name);

    // --- The manager's autostart value "Vessa Manager" in the Run key. ---
    // The manager's path, in double quotes when it holds a blank.
    ErrorCode AddRunAtStartup();
    ErrorCode RemoveRunAtStartup();
    // Always 0; *out tells whether the value is there.
    ErrorCode IsRunAtStartup(bool* out);
    // The text AddRunAtStartup writes; empty when the program folder is unknown.
    std::string RunAtStartupCommand();

    // --- Internet Explorer's page settings (current user). ---
    // Texts of at most 127 characters (31 for the dialog-colours flag); colours
    // as "R,G,B" (ColorToString), flags as "yes"/"no". The setters of the
    // background, text, visited and unvisited colours do not create
    // Internet Explorer's "Settings" key (39 when it is missing).
    ErrorCode GetIEFontName(std::string* out);
    ErrorCode SetIEFontName(const std::string& name);
    // 0 (smallest) to 4 (largest), stored as 4 bytes of REG_BINARY.
    ErrorCode GetIEFontSize(int* out);
    ErrorCode SetIEFontSize(int size);
    // The stored size's lowest byte.
    ErrorCode GetIEFontSizeByte(int* out);
    ErrorCode GetUseDlgBoxColors(std::string* out);
    ErrorCode SetUseDlgBoxColors(const std::string& value);
    ErrorCode GetBackgroundColor(std::string* out);
    ErrorCode SetBackgroundColor(const std::string& value);
    ErrorCode GetTextColor(std::string* out);
    ErrorCode SetTextColor(const std::string& value);
    ErrorCode GetAnchorColorHover(std::string* out);
    ErrorCode SetAnchorColorHover(const std::string& value);
    ErrorCode GetUseAnchorHoverColor(std::string* out);
    ErrorCode SetUseAnchorHoverColor(const std::string& value);
    ErrorCode GetAnchorColorVisited(std::string* out);
    ErrorCode SetAnchorColorVisited(const std::string& value);
    ErrorCode GetAnchorColor(std::string* out);
    ErrorCode SetAnchorColor(const std::string& value);

    // --- Other Internet Explorer and shell values. ---
    ErrorCode GetStartPage(std::string* out);
    // Appends "url1", "url2", ... in number order up to the first missing one;
    // a value that cannot be read as a text is skipped. 38 when the key is missing.
    ErrorCode GetTypedURLs(std::vector<std::string>* list);
    // Writes url1..urlN and removes the numbered values above N; 39, writing
    // nothing, when an address is longer than 255 characters.
    ErrorCode SetTypedURLs(const std::vector<std::string>& list);
    ErrorCode GetFavoritesPath(std::string* out);
    // The command line of the default mail or contacts client, as stored.
    ErrorCode GetMailClientCommand(std::string* out);
    ErrorCode GetContactsClientCommand(std::string* out);

    // --- Web file associations (HKEY_LOCAL_MACHINE "Software\CLASSES"). ---
    // Always 0; single failures are ignored.
    ErrorCode MakeDefaultBrowser();
    // 38 when the http open command cannot be read; else *out tells whether it
    // is the browser's own command (compared without regard to case).
    ErrorCode IsDefaultBrowser(bool* out);
    // The browser's open command: "<folder>\Vessa.exe" in quotes, then " %1".
    std::string BrowserOpenCommand();
    // HKEY_USERS ".DEFAULT" "Check_Associations": "yes" or "no".
    ErrorCode SetCheckAssociations(bool check);

    // The Windows folder; 0, or 38 when it cannot be had.
    ErrorCode GetSystemRoot(std::string* out);

private:
    std::string ProgramFolder();

    std::string appSettingsKey_;  // root + "\App Settings"
    std::string programFolder_;   // empty: the running program's, asked when needed
};

// A COLORREF (0x00BBGGRR) as Internet Explorer's colour text: "R,G,B".
std::string ColorToString(COLORREF color);
