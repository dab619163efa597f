// Not a test: writes a few links, folders and a group into a program folder,
// for the manager's screenshot.
#include "LinkStore.h"

#include <windows.h>

#include <string>

namespace {
std::string Add(const CLinkStore& store, const std::string& folder, const char* title, const char* address) {
    CURLObject record;
    record.link.title = title;
    record.link.address = address;
    std::string name;
    store.AddURLObject(folder, record, &name);
    return name;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    const std::string folder = argv[1];
    for (const char* sub : {"\\Links", "\\Links\\News", "\\Links\\News\\Daily", "\\Links\\Travel", "\\Groups",
                            "\\Templates"})
        ::CreateDirectoryA((folder + sub).c_str(), nullptr);
    const CLinkStore store(folder);
    Add(store, "", "Corvane Global", "http://www.corvaneglobal.com");
    const std::string search = Add(store, "", "Search", "http://127.0.0.1/search");
    Add(store, "News", "World News", "http://127.0.0.1/world");
    const std::string morning = Add(store, "News\\Daily", "Morning Paper", "http://127.0.0.1/morning");
    Add(store, "Travel", "Timetables", "http://127.0.0.1/trains");
    store.WriteList(folder + "\\Groups\\Start of day.vsg", {"Links\\News\\Daily\\" + morning, "Links\\" + search});
    return 0;
}
