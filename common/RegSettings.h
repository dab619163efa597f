// The programs' settings object: one getter and one setter per registry value.
// Short-lived: create one where a value is needed.
#pragma once

#include <string>

class CRegSettings {
public:
    // The Windows folder (read from the registry's "SystemRoot", else from the
    // system); 0, or 38 when neither can be had.
    int GetSystemRoot(std::string* out);
};
