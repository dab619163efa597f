// The browser's one main window: a captionless dialog with a sizing frame
// whose shape, background, buttons and layout come from the current skin.
#pragma once

#include "ErrorCodes.h"

#include "resource.h"

#include "BrowserState.h"
#include "UsageHit.h"
#include "BrowserCommands.h"
#include "MainMenu.h"

#include "ErrorHandler.h"
#include "FavoritesHost.h"
#include "LinkLauncher.h"
#include "NimbDocDriver.h"
#include "PopupBrowserDlg.h"
#include "RegSettings.h"
#include "SkinBackground.h"
#include "SkinButton.h"
#include "SkinControls.h"
#include "SkinFile.h"
#include "URLObject.h"
#include "WebBrowser2.h"
#include "FlexActive2.h"

#include "fw/dialog.h"
#include "fw/event_sink.h"
#include "fw/handles.h"

#include <exdisp.h>

#include <array>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class CNimbBrowserDlgAutoProxy;

class CNimbBrowserDlg : public fw::Dialog, public CFavoritesHost {
public:
    // errors: where reported skin faults go; it outlives the window.
    CNimbBrowserDlg(BrowserStart start, CErrorHandler& errors);
    ~CNimbBrowserDlg() override;

    // --- Skin buttons ---
    void FillDefaultButtonList();
    ErrorCode SetupBitmapButtons(const CSkinFile& skin);
    ErrorCode ReadSpecialButtons(const CSkinFile& skin);
    void ReadButtonInfo(const CSkinFile& skin, std::vector<std::unique_ptr<CSkinButton>>* descriptors);
    void ApplyButtonInfo(const std::vector<std::unique_ptr<CSkinButton>>& descriptors);
    void RealizeSkinPalette();

    // --- Placement and layout ---
    ErrorCode SetAllControlsPlacements(const CSkinFile& skin);
    void RecordControlProportions();
    void ApplyProportionalLayout(int cx, int cy);
    void ShowOfflineIndicator(bool offline);
    void ShowSecureIndicator(bool secure);
    // Changes to another skin at run time; falls back to the built-in skin.
    void ChangeSkin(const std::string& skinName);

    // --- Start and close ---
    // Places and titles the window for the start; the navigation follows once it is shown.
    void ShowStartPage();
    RECT GetStartWindowRect();
    // False, after hiding the window, while an automation client holds a proxy.
    bool CanExit();
    void OnCloseBrowser();
    // What the application saves: now (Alt+F4), or once the window has closed.
    BrowserSave StateToSave() const;
    const std::optional<BrowserSave>& SaveOnClose() const { return saveOnClose_; }
    void FocusAddressBox();

    // --- State the commands and tests read ---
    CSkinButton& Button(int controlId);
    const std::vector<CSkinButton*>& LiveButtons() const { return liveButtons_; }
    const std::vector<std::string>& DefaultButtonLines() const { return defaultButtonLines_; }
    const CSkinBackground& Skin() const { return skin_; }
    const SkinPaths& SkinPath() const { return skinFile_.Paths(); }
    const CSkinFile& SkinFile() const { return skinFile_; }
    const RECT& ViewerRect() const { return viewerRect_; }
    int MinTrackWidth() const { return minTrackWidth_; }
    bool IsOffline() const { return offline_; }
    bool IsSecure() const { return secure_; }
    const std::string& AddressText() const { return address_; }
    CRegSettings& Settings() { return settings_; }
    CLinkLauncherDlg* Launcher() { return launcher_.get(); }

    // --- What the favorites commands take from the window (NimbBrowserFavorites.cpp) ---
    std::string GetAddressText() override;
    std::string GetPageTitle() override { return pageTitle_; }
    RECT GetFavoriteWindowRect() override { return fw::ScreenRectOf(hwnd()); }
    std::string GetStartSkinName() override;
    void NavigateHere(const std::string& address) override;
    bool ConnectToManager() override;
    void RefreshNimbTree() override;
    void SetFocusOnLinkItem(const std::string& path) override;
    void ActivateManager() override;
    void ReportFavoritesError(int code, const std::string& where) override;
    // FAVORITES: the popup under the button; INVOKEMANAGER: a launcher for one OpenManager.
    void ShowFavorites();
    void InvokeManager();

    // --- Commands of the buttons, the main menu and the keys (commands/DialogCommands.cpp) ---
    CBrowserCommands& Commands();
    const std::string& ProgramFolder() const { return start_.programFolder; }
    // Goes to an address the user gave; an empty one goes nowhere.
    void NavigateTo(const std::string& address);
    void SetFocusToBrowser();
    void ShowMainMenu();
    // The main menu as a press would show it now (the skin list rebuilt).
    fw::Menu BuildCurrentMainMenu();
    MainMenuState CurrentMenuState();
    // The last press's menu, destroyed once its popup closed (tests look).
    HMENU LastMainMenu() const { return lastMainMenu_; }
    const std::vector<std::string>& SkinList() const { return skinList_; }
    int TextSizeIndex() const { return textSizeIndex_; }
    // --- Usage hit and default-browser question (dialogs/DialogHooks.cpp) ---
    // Starts the one usage hit of the installation unless it is done or under way.
    void CheckUsageHit();
    void OnHitDone(bool sent);
    bool IsHitPending() const { return hitPending_; }
    bool IsHitDone() const { return hitDone_; }
    // The hit windows whose workers have not yet ended or been forgotten.
    size_t HitWindowCount() const { return hitWindows_.size(); }
    int CountBrowserWindows();
    bool ShouldAskDefaultBrowser();
    // The question at start; Yes makes the browser the default.
    void AskDefaultBrowser();

    // The shortcut keys of the keyboard filter: F5, and Alt with D, F, Left, Right, Home.
    void OnShortcutKey(UINT vk, bool alt);

    // --- Automation: the manager's object and the browser's own proxies ---
    CNimbDocDriver& ManagerDriver() { return manager_; }
    void AttachProxy(CNimbBrowserDlgAutoProxy* proxy);
    // When the last proxy goes while a refused close hid the window, the
    // browser ends without saving.
    void DetachProxy(CNimbBrowserDlgAutoProxy* proxy);
    bool HasAutomationProxy() const { return !proxies_.empty(); }

    // Proportions of one control: percent of the skin's width and height.
    struct Proportion {
        float x = 0, y = 0, width = 0, height = 0;
    };
    const Proportion& ViewerProportion() const { return viewerProportion_; }
    const Proportion& ControlProportion(int controlId) const;

    // The controls whose proportions are recorded, in the layout's order:
    // the title, then every skin button the layout places.
    static constexpr size_t kLaidOutButtonCount = CountSkinControls(IsLaidOutSkinButton);
    static constexpr std::array<int, 1 + kLaidOutButtonCount> kProportionedControls = [] {
        std::array<int, 1 + kLaidOutButtonCount> ids{IDC_TITLE};
        const auto buttons = SkinControlIds<kLaidOutButtonCount>(IsLaidOutSkinButton);
        for (size_t i = 0; i < buttons.size(); ++i) ids[i + 1] = buttons[i];
        return ids;
    }();

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    void OnCancel() override;
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    // The skin of a name: the built-in skin, or a folder under Skins.
    void SetSkin(const std::string& skinName);
    void SwitchToBuiltInSkin();
    ErrorCode LoadSkinBackground();
    // Falls back to the built-in skin: background, buttons and, when asked, placements.
    void LoadBuiltInSkin(bool placeControls);

    // Layout steps.
    void PlaceAddressRow(int cx, int cy, RECT* row);
    void PlaceViewer(int cx, int cy, const RECT& row);
    void PlaceAdBanner(const RECT& row);
    void PlaceStatusRow();
    void PlaceTitleBar(int cx, int cy);
    void PlaceSkinButtons(int cx, int cy);
    void PlaceControlScaled(int cx, int cy, HWND control, float x, float y, float w, float h);
    void RedrawLayout();
    void Place(HWND control, int x, int y, int width, int height);
    void ShowIndicator(int hiddenId, int shownId, const RECT& cell);

    // Window behaviour.
    void OnSize(UINT type, int cx, int cy);
    void HandleNewSize(int cx, int cy);
    void DrawDragOutline(POINT screenPoint);
    void DrawSizeOutline(const RECT& rect);
    void OnLButtonDown(POINT point);
    void OnMouseMove(POINT point);
    void OnLButtonUp(POINT point);
    void OnShowWindow(bool show);
    void OnPaint();

    void BindButtons();
    bool HandlePaletteMessage(UINT msg, WPARAM wParam, LRESULT* result);

    // Command handlers (commands/DialogCommands.cpp).
    void RefillAddressBox();
    void OnAddressCloseUp();
    void RefreshPage();
    void StopPage();
    // HOME, BACK and FORWARD: the control picks the address itself, so the
    // address box takes it from the navigation's BeforeNavigate2.
    void GoHomePage();
    void GoBackPage();
    void GoForwardPage();
    void SetTextSize(int size);
    void ResetSkinSize();
    void ToggleCheckDefaultBrowser();
    bool IsDefaultBrowser();
    void ShowAbout();
    void OnSkinCommand(UINT id);

    BrowserStart start_;
    CErrorHandler& errors_;
    std::unique_ptr<CBrowserCommands> commands_;
    int textSizeIndex_ = 2;                // 0 smallest .. 4 largest
    std::vector<std::string> skinList_;    // of the last main menu
    HMENU lastMainMenu_ = nullptr;         // never used as a menu
    std::string historyAddress_;           // what the pending history add records
    static constexpr UINT kMsgHitFinished = WM_APP + 2;
    void ForgetFinishedHits();
    bool hitPending_ = false;
    bool hitDone_ = false;
    std::vector<std::unique_ptr<CUsageHitWnd>> hitWindows_;  // each of one attempt
    int browserWindowCount_ = 0;
    std::optional<BrowserSave> saveOnClose_;
    std::array<CSkinButton, kSkinControls.size()> buttons_;  // one per row of kSkinControls
    std::vector<CSkinButton*> liveButtons_;
    std::vector<std::string> defaultButtonLines_;

    CSkinBackground skin_;
    CSkinFile skinFile_{SkinPaths{}};
    std::string address_;

    RECT viewerRect_{};
    RECT titleRect_{};
    int statusHeight_ = 20;
    int minTrackWidth_ = 0;
    Proportion viewerProportion_;
    std::array<Proportion, kProportionedControls.size()> proportions_{};
    RECT offlineCell_{};
    RECT secureCell_{};
    bool layoutReady_ = false;
    HDWP defer_ = nullptr;  // the layout's batch of moves, while one runs
    int layoutCount_ = 0;
    bool offline_ = false;
    bool secure_ = false;
    bool adFlag_ = true;

    // --- The ad banner and the ad client (NimbBrowserAd.cpp) ---
public:
    // Hands the ad client the user's proxy; always TRUE: the start goes on.
    BOOL StartAdClient();

private:
    // The banner in the place of the template's control 1055, with its initial data.
    void CreateAdBanner();
    CFlexActive2 banner_;

    CRegSettings settings_;
    std::unique_ptr<CLinkLauncherDlg> launcher_;
    CNimbDocDriver manager_;
    std::vector<CNimbBrowserDlgAutoProxy*> proxies_;  // not owned: each detaches itself
    bool hiddenByRefusedClose_ = false;
    fw::Icon icon_;

    // Dragging and sizing with an outline on the screen.
    bool dragging_ = false;
    POINT grabOffset_{};
    POINT lastOutline_{};
    bool sizing_ = false;
    bool repaintDue_ = false;
    RECT sizeOutline_{};
    std::optional<fw::WindowDc> screenDc_;  // the screen, while an outline is drawn on it
    bool active_ = false;
    bool sizeHandled_ = false;

    // --- The page control and its events (NimbBrowserEvents.cpp) ---
public:
    CWebBrowser2& Browser() { return browser_; }
    // The event sink as the control sees it (tests send it events).
    IDispatch* BrowserEvents() const { return browserEvents_.dispatch(); }
    // "Mozilla/4.0 (compatible; Vessa 2.0; <Windows version>; Vessa)"
    static std::string UserAgentText();
    // Puts the address text at the head of the typed-address history.
    void AddToAddressHistory();

    bool IsBackEnabled() const { return backEnabled_; }
    bool IsForwardEnabled() const { return forwardEnabled_; }
    bool SecureIconSeen() const { return secureIconSeen_; }
    bool IsAnimationRunning() const { return animationRunning_; }
    bool IsHistoryAddPending() const { return historyAddPending_; }
    // A pending add records the address text of now.
    void SetHistoryAddPending(bool pending) {
        historyAddPending_ = pending;
        historyAddress_ = address_;
    }
    bool IsAddressUnedited() const { return addressUnedited_; }
    void SetAddressUnedited(bool unedited) { addressUnedited_ = unedited; }
    const std::string& PageTitle() const { return pageTitle_; }
    // The last popup window a page opened, while it is open.
    CPopupBrowserDlg* Popup() const { return popups_.Last(); }
    const CPopupWindows& Popups() const { return popups_; }

private:
    // Creates the control in the place of control 1000 and connects its events.
    void CreateBrowser();
    // Posted at the end of start-up: the first navigations, after the first paint.
    static constexpr UINT kMsgStartNavigation = WM_APP + 1;
    void StartNavigation();
    void OnCommandStateChange(long command, bool enable);
    void OnStatusTextChange(const std::string& text);
    void OnNewWindow2(const fw::DispArgs& args);
    void OnDownloadBegin();
    void OnDownloadComplete();
    void OnBeforeNavigate2(const fw::DispArgs& args);
    void OnTitleChange(const std::string& title);
    void OnSetSecureLockIcon(long secureIcon);
    bool OnAmbientProperty(DISPID id, fw::Variant& value);

    bool backEnabled_ = false;
    bool forwardEnabled_ = false;
    bool secureIconSeen_ = false;
    bool animationRunning_ = false;
    bool historyAddPending_ = false;
    bool addressUnedited_ = true;
    // Set by HOME, BACK and FORWARD until their navigation shows its address.
    bool addressFollowsNext_ = false;
    std::string pageTitle_;
    // Declared in this order so that events stop first, then the control
    // goes, then the popups close (each popup owns itself).
    CPopupWindows popups_;
    CWebBrowser2 browser_;
    fw::EventSink browserEvents_{DIID_DWebBrowserEvents2};
};
