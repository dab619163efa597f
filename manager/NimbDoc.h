// The manager's document: the current selection and the link being edited,
// and the launcher. For now the frame's seams: saving the current link and
// closing.
#pragma once

#include "fw/frame.h"

class CNimbApp;

class CNimbDoc : public fw::Document {
public:
    explicit CNimbDoc(CNimbApp& app) : app_(app) {}

    // Saves the current link when the panes changed it.
    void SaveIfEditable() {}
    // The document closes before its frame is destroyed.
    void OnCloseDocument() {}

    CNimbApp& App() const { return app_; }

private:
    CNimbApp& app_;
};
