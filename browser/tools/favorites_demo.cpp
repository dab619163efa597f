// Not a test: fills a program folder with a few links, folders and groups,
// starts Vessa.exe there and opens its favorites popup with one folder
// cascaded, then prints "ready" and leaves the browser open for a screenshot.
//   favorites_demo <program folder holding Vessa.exe>
#include "demo_start.h"
#include "resource.h"

#include "ErrorCodes.h"
#include "LinkStore.h"

#include <windows.h>

#include <string>

namespace {

void Add(const CLinkStore& store, const std::string& group, const std::string& title) {
    CURLObject record;
    record.link.title = title;
    record.link.address = "about:blank";
    store.AddURLObject(group, record);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    const CLinkStore store(folder);
    Add(store, "", "Corvane Global home");
    Add(store, "", "Weather & tides");
    Add(store, "News", "Daily Herald");
    Add(store, "News", "Morning Post");
    Add(store, "News\\Sport", "Match results");
    Add(store, "Travel", "Timetables");
    ::CreateDirectoryA((folder + "\\Groups").c_str(), nullptr);
    store.WriteList(folder + "\\Groups\\Morning.vsg", {"Links\\News\\0.vsl", "Links\\0.vsl"});
    store.WriteList(folder + "\\Groups\\Work.vsg", {"Links\\1.vsl"});

    // Open Vessa Manager, Add Favorite, ---, [News]: open News, then its Sport folder.
    return demo::ShowPopup(folder, {IDC_FAVORITES, {VK_DOWN, VK_DOWN, VK_DOWN, VK_RIGHT, VK_RIGHT}, 3});
}
