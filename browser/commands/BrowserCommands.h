// The browser's command objects: what the buttons, the main menu and the
// shortcut keys do to the page control, the shell, the Internet settings and
// the registry. The main dialog owns one CBrowserCommands, which owns the rest.
#pragma once

#include "ImportFavoritesDlg.h"
#include "WebBrowser2.h"

#include <windows.h>

#include <memory>
#include <string>
#include <vector>

class CNimbBrowserDlg;
class CRegSettings;

// The platform's connected state (WinINet's), behind an interface: Wine's
// never changes, so tests put a substitute in its place.
class CConnectedState {
public:
    virtual ~CConnectedState() = default;
    // False when the state cannot be had.
    virtual bool Query(DWORD* state) = 0;
    virtual bool Set(DWORD state, DWORD flags) = 0;
};
// WinINet's global connected-state option.
std::unique_ptr<CConnectedState> MakeInternetConnectedState();

// Offline unless the state can be read and is exactly "connected".
bool IsOffline(CConnectedState& state);
// Internet Explorer's typed addresses, in their order; empty when there are none.
std::vector<std::string> GetAddressHistory(CRegSettings& settings);

// A client command line split into its program and parameters: a program in
// double quotes keeps its quotes and the rest after them is the parameters;
// otherwise the whole line is the program.
struct ClientCommand {
    std::string program;
    std::string parameters;
};
ClientCommand SplitClientCommand(const std::string& command);

class CBrowserCommands;

class CShellCommands : public CImportFavoritesHost {
public:
    CShellCommands(CWebBrowser2& browser, CNimbBrowserDlg& dlg) : browser_(browser), dlg_(dlg) {}

    // Starts another browser on the address; nothing is said when it fails.
    void NewWindow(const std::string& address);
    void NewMessage();
    void NewContact();
    // The Open location dialog, then a navigation to what it gives.
    void OpenLocation();
    void SaveAs();
    void PageSetup();
    // prompt: the print dialog first; else printing without a prompt.
    void Print(bool prompt);
    void Properties();
    // The indicator, the platform's connected state and the control's own
    // offline property, which the next download start reads back.
    void SetOffline(bool offline);
    // The favorites import dialog, made hidden on first use and kept until these commands go.
    void ShowImportDialog();
    CImportFavoritesDlg* ImportDialog() const { return importDialog_.get(); }
    // Starts the browser program on a file; says so when the program is missing.
    void StartBrowserWithFile(const std::string& path);

    CConnectedState& ConnectedState() { return *connected_; }
    void UseConnectedState(std::unique_ptr<CConnectedState> state) { connected_ = std::move(state); }

private:
    // The shell's result of starting the browser program with the parameters.
    INT_PTR StartBrowserProgram(const std::string& parameters);
    void StartClient(ErrorCode (CRegSettings::*read)(std::string*));

    // After an import: a running manager refreshes its tree.
    void OnImportSucceeded() override;

    CWebBrowser2& browser_;
    CNimbBrowserDlg& dlg_;
    std::unique_ptr<CConnectedState> connected_ = MakeInternetConnectedState();
    std::unique_ptr<CImportFavoritesDlg> importDialog_;
};

class CEditCommands {
public:
    CEditCommands(CBrowserCommands& holder, CWebBrowser2& browser) : holder_(holder), browser_(browser) {}

    void Cut() { SimulateControlKey('X'); }
    void Copy() { SimulateControlKey('C'); }
    void Paste() { SimulateControlKey('V'); }
    void SelectAll();
    void ViewSource();
    void Find();
    // Ctrl and the letter, typed into the page control, but only while the
    // browser is the foreground window with the focus in the control: the
    // keys go to whatever has the focus, which must never be another program.
    // True when the keys were sent.
    bool SimulateControlKey(char letter);

private:
    CBrowserCommands& holder_;
    CWebBrowser2& browser_;
};

class CNavigateCommands {
public:
    explicit CNavigateCommands(CWebBrowser2& browser) : browser_(browser) {}

    void Navigate(const std::string& address) { browser_.Navigate(address); }
    // Each only while the control has said it can.
    void GoBack(bool enabled) {
        if (enabled) browser_.GoBack();
    }
    void GoForward(bool enabled) {
        if (enabled) browser_.GoForward();
    }
    void GoHome() { browser_.GoHome(); }
    void Stop() { browser_.Stop(); }
    void Refresh() { browser_.Refresh(); }

private:
    CWebBrowser2& browser_;
};

class CToolsCommands {
public:
    explicit CToolsCommands(CBrowserCommands& holder) : holder_(holder) {}
    void InternetOptions();

private:
    CBrowserCommands& holder_;
};

class CBrowserCommands {
public:
    // Document command numbers of the page's command group.
    static constexpr DWORD kDocFind = 1;
    static constexpr DWORD kDocViewSource = 2;
    static constexpr DWORD kDocInternetOptions = 3;

    CBrowserCommands(CWebBrowser2& browser, CNimbBrowserDlg& dlg);

    CWebBrowser2& GetBrowser() { return browser_; }
    // A command of the page's own command group; false when there is no
    // page or it refuses (nothing is shown either way).
    bool ExecDocCommand(DWORD command);

    CShellCommands& Shell() { return shell_; }
    CEditCommands& Edit() { return edit_; }
    CNavigateCommands& Navigate() { return navigate_; }
    CToolsCommands& Tools() { return tools_; }

private:
    CWebBrowser2& browser_;
    CShellCommands shell_;
    CEditCommands edit_;
    CNavigateCommands navigate_;
    CToolsCommands tools_;
};
