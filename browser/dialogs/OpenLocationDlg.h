// The Open location dialog: an address typed or chosen from the typed
// addresses, or a file found with Browse.
#pragma once

#include "fw/dialog.h"

#include <windows.h>

#include <string>

inline constexpr UINT kOpenLocationTemplate = 132;
inline constexpr int kOpenPrompt = 1003;
inline constexpr int kOpenAddress = 1002;
inline constexpr int kOpenBrowse = 1042;

// The file-open dialog's filter, '|'-separated as written.
inline constexpr char kOpenFilter[] =
    "HTML Files|*.htm|Text Files|*.txt|GIF Files|*.gif|JPEG Files|*.jpg|PNG Files|*.png|ART Files|*.art|AU "
    "Files|*.au|XBM Files|*.xbm|All Files| *.*||";

// The full path of the first file a file-open dialog's buffer names: the
// buffer is one path, or (several files chosen) the folder, then the file
// names, each closed by a zero.
std::string FirstSelectedPath(const char* buffer, size_t size);

class COpenLocationDlg : public fw::Dialog {
public:
    COpenLocationDlg() : fw::Dialog(kOpenLocationTemplate) {}
    // What OK took from the box; empty before.
    const std::string& Address() const { return address_; }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;

private:
    void FillAddressHistory();
    void OnBrowse();

    std::string address_;
};
