// What the browser's favorites commands need from its main window: the page
// it shows, its window, its skin, its page control and the manager driver.
#pragma once

#include <windows.h>

#include <string>

class CFavoritesHost {
public:
    // The address text (the window copies its controls into its members first).
    virtual std::string GetAddressText() = 0;
    virtual std::string GetPageTitle() = 0;
    // The main window's rectangle in screen coordinates.
    virtual RECT GetFavoriteWindowRect() = 0;
    // The skin name of the browser's start record.
    virtual std::string GetStartSkinName() = 0;
    // Shows an address in this browser window.
    virtual void NavigateHere(const std::string& address) = 0;

    // Attaches the running manager's automation object; false when none runs.
    virtual bool ConnectToManager() = 0;
    virtual void RefreshNimbTree() = 0;
    virtual void SetFocusOnLinkItem(const std::string& path) = 0;
    // Shows the manager and raises its window.
    virtual void ActivateManager() = 0;

    // Reports an error code the way the program reports its errors.
    virtual void ReportFavoritesError(int code, const std::string& where) = 0;

protected:
    ~CFavoritesHost() = default;
};
