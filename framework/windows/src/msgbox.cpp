#include "fw/msgbox.h"

#include "fw/message_loop.h"

namespace fw {

namespace {
std::string& Caption() {
    static std::string caption = "Vessa";
    return caption;
}
}  // namespace

void SetProgramName(std::string name) { Caption() = std::move(name); }

const std::string& ProgramName() { return Caption(); }

int ShowMessageBox(const std::string& text, UINT flags, HWND owner) {
    if (!owner) owner = ::GetActiveWindow();
    ModalScope counted;
    return ::MessageBoxA(owner, text.c_str(), Caption().c_str(), flags);
}

}  // namespace fw
