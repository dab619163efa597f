// Reads Internet Explorer's Favorites folder into the link store: the folder
// tree is mirrored below Links and every shortcut (.url) becomes a link made
// from the template. Each stored link is reported to a progress window with
// kMsgImportingLink, sent (so its texts live only during the call).
#pragma once

#include "ErrorCodes.h"

#include "LinkStore.h"
#include "URLObject.h"

#include "fw/handles.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// wParam: the NUL-terminated folder text ("Links" at the top level, else the
// last name of the link's folder); lParam: the link's NUL-terminated title.
inline constexpr UINT kMsgImportingLink = 0x8015;

class CFavoritesReader {
public:
    // progressWindow may be null. programFolder: the store's (empty: the running program's).
    explicit CFavoritesReader(HWND progressWindow, std::string programFolder = {});

    // The number of shortcuts in favoritesPath and every folder below it that
    // an import would store; the folder walk's error (2, 61) when it fails.
    ErrorCode CountLinks(const std::string& favoritesPath, int* count);

    // Called once the Favorites folder was walked and its shortcuts counted,
    // before anything is written: the caller clears the old store there.
    using WalkedFn = std::function<void(int count)>;

    // Mirrors every folder below favoritesPath into Links (empty ones too)
    // and stores each readable shortcut as a link from the template. 0; the
    // walk's error (nothing was written, walked was not called); or 9 when a
    // folder or a link could not be written (all the others still were).
    ErrorCode ImportFavorites(const std::string& favoritesPath, const WalkedFn& walked = {});

    // Opens the shortcut and sets title, address, stamp 2 (creation) and
    // stamp 3 (last access) of record; 6 when the file cannot be opened, 62
    // when it holds no address (record unchanged).
    ErrorCode ReadURLFile(const std::string& path, CURLObject* record);
    // The address of the open shortcut; 0 or 62.
    ErrorCode ParseURLLine(std::string* address);
    // The open shortcut's title: its name without folder and ".url".
    std::string GetLinkTitle() const;

    // Below this many shortcuts each link waits 50 ms, so a small import stays visible.
    static constexpr int kPacedBelow = 100;
    static constexpr DWORD kPaceMs = 50;
    // The wait itself (tests count the waits instead of sleeping).
    void SetWait(std::function<void(DWORD ms)> wait) { wait_ = std::move(wait); }

private:
    struct Folder {
        std::string path;
        std::string relative;  // below Links; empty at the top level
        std::vector<std::string> shortcuts;
    };
    // The folders of the walk that can be mirrored, with their shortcuts.
    ErrorCode Walk(const std::string& favoritesPath, std::vector<Folder>* folders, int* count) const;
    CURLObject LoadTemplate() const;

    HWND progress_;
    CLinkStore store_;
    fw::FileHandle file_;  // the shortcut being read
    std::string filePath_;
    std::string buffer_;
    std::function<void(DWORD)> wait_ = [](DWORD ms) { ::Sleep(ms); };
};
