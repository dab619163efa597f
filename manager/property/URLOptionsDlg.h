// The link page of the property pane (dialog 136): a link's title, address
// and comments, its separate-browser flag and its refresh settings (kept on
// hidden controls). A changed title is told to the document once the title
// edit loses the focus, posted so that it runs after whatever took the focus.
#pragma once

#include "fw/dialog.h"

#include <functional>
#include <string>

class CNimbDoc;

// What the page's controls show, as text where the control holds text.
struct LinkPageValues {
    std::string title, address, comments;
    bool separateBrowser = false;
    bool refresh = false;
    std::string minutes;

    bool operator==(const LinkPageValues&) const = default;
};

class CURLOptionsDlg : public fw::Dialog {
public:
    explicit CURLOptionsDlg(CNimbDoc* document);

    std::string GetTitle() const;
    void SetTitle(const std::string& title);
    std::string GetAddress() const;
    void SetAddress(const std::string& address);
    std::string GetComments() const;
    void SetComments(const std::string& comments);
    // allowed false: the box shows the flag but is disabled.
    void SetSeparateBrowser(bool flag, bool allowed);
    bool GetSeparateBrowser() const;
    // A false flag leaves the box as it is; the minutes edit follows the box.
    void SetRefresh(bool flag, unsigned minutes);
    bool GetRefresh(unsigned* minutes) const;

    // reset: every value back to its start; then every control but the spin follows enable.
    void EnableControls(bool reset, bool enable);
    // For templates: the title edit follows titleEnable, the address edit is disabled.
    void EnableAddress(bool titleEnable);

    bool HasFocusedEdit() const { return focusedEdit_ != 0; }
    // The focused edit's selection is not empty.
    bool HasSelection() const;
    // The edit that has the focus (1002, 1003 or 1004), else null.
    HWND FocusedEdit() const { return focusedEdit_ ? Item(focusedEdit_) : nullptr; }

    LinkPageValues Values() const;
    // The page's values were replaced (filled or reset): a title change under way is void.
    void ValuesReplaced() { ++generation_; }

    // Called when one of the three edits gets the focus (the view becomes the active one).
    void SetEditFocusHandler(std::function<void()> handler) { onEditFocus_ = std::move(handler); }

protected:
    BOOL OnInitDialog() override;
    bool OnCommand(int id, int code, HWND control) override;
    void OnOK() override;
    void OnCancel() override {}
    LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void ApplyRefreshRule();
    void OnTitleKillFocus();

    CNimbDoc* document_;
    int focusedEdit_ = 0;
    std::string previousTitle_;
    // Counts fills and resets; a title change belongs to the values it was typed over.
    unsigned generation_ = 0;
    unsigned focusGeneration_ = 0;
    std::string pendingTitle_;
    unsigned pendingGeneration_ = 0;
    std::function<void()> onEditFocus_;
};
