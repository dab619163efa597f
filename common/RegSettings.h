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
    static int SetDwordValue(HKEY root, const std::string& subKey, const std::string& name, DWORD value);
    // Opens the key for full access (never creates it).
    static int QueryDwordValue(HKEY root, const std::string& subKey, const std::string& name, DWORD* out);
    // At most 255 characters; opens or creates, flushes.
    static int SetStringValue(HKEY root, const std::string& subKey, const std::string& name, const std::string& value);
    // Empties out first; at most 255 characters; opens for full access.
    static int QueryStringValue(HKEY root, const std::string& subKey, const std::string& name, std::string* out);
    // The key's default value, at most 255 characters; opens for reading.
    static int QueryDefaultString(HKEY root, const std::string& subKey, std::string* out);
    // 38 when the key cannot be opened, 39 when there is no such value.
    static int DeleteValue(HKEY root, const std::string& subKey, const std::string& name);

    // --- The programs' own values under HKEY_LOCAL_MACHINE. ---
    // The rectangle under App Settings\<name>: "Vessa" (browser) or "Vessa Manager".
    int SaveWindowRect(const std::string& name, const RECT& rect);
    // Reads Left, Top, Right, Bottom in order; the first missing one ends it
    // with 38, the fields read before it already changed.
    int LoadWindowRect(const std::string& name, RECT* rect);
    int SaveToolBarSize(DWORD size);
    int LoadToolBarSize(DWORD* size);
    // Never fails: a missing key or value is created with 0 and read as 0.
    int GetBrowserID(DWORD* id);
    int SetBrowserID(DWORD id);
    // The value of "Access" itself, 0 when missing.
    DWORD GetHitSent();
    int SetHitSent();
    int GetCheckDefaultBrowser(DWORD* out);
    int SetCheckDefaultBrowser(DWORD value);
    // Creates the "ImportInfo" key when missing (and then returns 38).
    int GetImportDone(DWORD* out);
    int SetImportDone(DWORD value);
    // The "Options" values; the reader creates the key when missing.
    int ReadOptionDWord(const std::string& name, DWORD* out);
    int WriteOptionDWord(const std::string& name, DWORD value);
    int GetHideProgram(DWORD* out);
    int SetHideProgram(DWORD value);
    int GetHideToolTray(DWORD* out);
    int SetHideToolTray(DWORD value);
    int GetHideNormalDeleteDlg(DWORD* out);
    int SetHideNormalDeleteDlg(DWORD value);
    int GetHideGroupItemDeleteDlg(DWORD* out);
    int SetHideGroupItemDeleteDlg(DWORD value);
    // 1 when the "Options" key is missing; 38 when the key holds no "First Run".
    int GetFirstRun(DWORD* out);
    int ClearFirstRun();
    // At most 127 characters.
    int GetDefaultSkin(std::string* out);
    int SetDefaultSkin(const std::string& name);

    // --- The manager's autostart value "Vessa Manager" in the Run key. ---
    // The manager's path, in double quotes when it holds a blank.
    int AddRunAtStartup();
    int RemoveRunAtStartup();
    // Always 0; *out tells whether the value is there.
    int IsRunAtStartup(bool* out);
    // The text AddRunAtStartup writes; empty when the program folder is unknown.
    std::string RunAtStartupCommand();

    // --- Internet Explorer's page settings (current user). ---
    // Texts of at most 127 characters (31 for the dialog-colours flag); colours
    // as "R,G,B" (ColorToString), flags as "yes"/"no". The setters of the
    // background, text, visited and unvisited colours do not create
    // Internet Explorer's "Settings" key (39 when it is missing).
    int GetIEFontName(std::string* out);
    int SetIEFontName(const std::string& name);
    // 0 (smallest) to 4 (largest), stored as 4 bytes of REG_BINARY.
    int GetIEFontSize(int* out);
    int SetIEFontSize(int size);
    // The stored size's lowest byte.
    int GetIEFontSizeByte(int* out);
    int GetUseDlgBoxColors(std::string* out);
    int SetUseDlgBoxColors(const std::string& value);
    int GetBackgroundColor(std::string* out);
    int SetBackgroundColor(const std::string& value);
    int GetTextColor(std::string* out);
    int SetTextColor(const std::string& value);
    int GetAnchorColorHover(std::string* out);
    int SetAnchorColorHover(const std::string& value);
    int GetUseAnchorHoverColor(std::string* out);
    int SetUseAnchorHoverColor(const std::string& value);
    int GetAnchorColorVisited(std::string* out);
    int SetAnchorColorVisited(const std::string& value);
    int GetAnchorColor(std::string* out);
    int SetAnchorColor(const std::string& value);

    // --- Other Internet Explorer and shell values. ---
    int GetStartPage(std::string* out);
    // Appends "url1", "url2", ... in number order up to the first missing one;
    // a value that cannot be read as a text is skipped. 38 when the key is missing.
    int GetTypedURLs(std::vector<std::string>* list);
    // Writes url1..urlN and removes the numbered values above N; 39, writing
    // nothing, when an address is longer than 255 characters.
    int SetTypedURLs(const std::vector<std::string>& list);
    int GetFavoritesPath(std::string* out);
    // The command line of the default mail or contacts client, as stored.
    int GetMailClientCommand(std::string* out);
    int GetContactsClientCommand(std::string* out);

    // --- Web file associations (HKEY_LOCAL_MACHINE "Software\CLASSES"). ---
    // Always 0; single failures are ignored.
    int MakeDefaultBrowser();
    // 38 when the http open command cannot be read; else *out tells whether it
    // is the browser's own command (compared without regard to case).
    int IsDefaultBrowser(bool* out);
    // The browser's open command: "<folder>\Vessa.exe" in quotes, then " %1".
    std::string BrowserOpenCommand();
    // HKEY_USERS ".DEFAULT" "Check_Associations": "yes" or "no".
    int SetCheckAssociations(bool check);

    // The Windows folder; 0, or 38 when it cannot be had.
    int GetSystemRoot(std::string* out);

private:
    std::string ProgramFolder();

    std::string appSettingsKey_;  // root + "\App Settings"
    std::string programFolder_;   // empty: the running program's, asked when needed
};

// A COLORREF (0x00BBGGRR) as Internet Explorer's colour text: "R,G,B".
std::string ColorToString(COLORREF color);
