#include "manager_fixture.h"

#include "fw/file.h"
#include "testsupport/pump.h"

#include <gtest/gtest.h>

namespace mgrtest {

void DrainQuit() {
    MSG msg;
    while (::PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
    }
}

ManagerFixture::ManagerFixture() {
    DrainQuit();
    dir.CopyProgramAs("StandInBrowser.exe", "Vessa.exe");
}

ManagerFixture::~ManagerFixture() {
    Stop();
}

CMainFrame& ManagerFixture::Start(const std::string& arguments) {
    app = std::make_unique<CNimbApp>(arguments, dir.Path());
    const bool started = app->InitInstance();
    EXPECT_TRUE(started);
    if (!app->MainFrame()) throw std::runtime_error("the frame was not made");
    testsupport::PumpFor(0);
    app->MainFrame()->OnIdle();
    return *app->MainFrame();
}

CMainFrame& ManagerFixture::Restart(const std::string& arguments) {
    Stop();
    return Start(arguments);
}

void ManagerFixture::Stop() {
    app.reset();
    DrainQuit();
}

std::vector<std::string> ManagerFixture::Launches() const {
    std::string text;
    fw::ReadWholeFile(dir / "launches.log", text);
    std::vector<std::string> arguments;
    for (const std::string& line : fw::SplitLines(text)) {
        const size_t a = line.find('|');
        const size_t b = line.find('|', a + 1);
        if (a != std::string::npos && b != std::string::npos) arguments.push_back(line.substr(a + 1, b - a - 1));
    }
    return arguments;
}

}  // namespace mgrtest
