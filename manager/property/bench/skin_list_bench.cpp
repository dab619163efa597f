// Not a test: the skin page's list refilled over 100 skin folders (as each
// opening of the list does), against a raw listing of the same folder.
// Aim: a refill under 100 ms.
#include "property/PropertyIds.h"
#include "property/SkinOptionsDlg.h"

#include "testsupport/temp_program_folder.h"

#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

namespace {

constexpr int kSkins = 100;
constexpr int kRounds = 21;

double Milliseconds(const std::function<void()>& step) {
    const auto start = std::chrono::steady_clock::now();
    step();
    return std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();
}

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

size_t RawListing(const std::string& folder) {
    size_t count = 0;
    WIN32_FIND_DATAA found{};
    HANDLE find = ::FindFirstFileA((folder + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return 0;
    do {
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) ++count;
    } while (::FindNextFileA(find, &found));
    ::FindClose(find);
    return count;
}

}  // namespace

int main() {
    testsupport::TempProgramFolder dir;
    dir.MakeFolder("Skins");
    for (int i = 0; i < kSkins; ++i) {
        const std::string name = "Skins\\Skin" + std::to_string(i);
        dir.MakeFolder(name);
        dir.WriteFile(name + "\\Data.ini", "[GENERAL]\r\nCOMMENTS=Skin number " + std::to_string(i) + "\r\n");
    }
    HWND parent = ::CreateWindowExA(0, "STATIC", "", WS_POPUP, 0, 0, 500, 300, nullptr, nullptr,
                                    ::GetModuleHandleA(nullptr), nullptr);
    CSkinOptionsDlg page(nullptr, dir.Path());
    if (!parent || !page.CreateModeless(parent)) {
        std::printf("the page could not be made\n");
        return 1;
    }
    std::vector<double> refill, raw;
    for (int r = 0; r < kRounds; ++r) {
        refill.push_back(Milliseconds([&] { page.FillSkinList(); }));
        raw.push_back(Milliseconds([&] { RawListing(dir / "Skins"); }));
    }
    const LRESULT entries = ::SendMessageA(page.Item(IDC_SKIN_LIST), CB_GETCOUNT, 0, 0);
    const double a = Median(refill), b = Median(raw);
    std::printf("skin list refill, %d skins (%ld entries): %.2f ms (median of %d)\n", kSkins,
                static_cast<long>(entries), a, kRounds);
    std::printf("raw listing of the Skins folder:         %.2f ms\n", b);
    std::printf("ratio refill / raw: %.2f (aim: refill under 100 ms)\n", b > 0 ? a / b : 0.0);
    page.Destroy();
    ::DestroyWindow(parent);
    return 0;
}
