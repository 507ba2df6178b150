#pragma once
// The about box: product name, version, copyright, a live mail link and what
// the program is for. It has no commands of its own: OK or the close box end it.
#include <memory>

#include "Application.h"
#include "URLLabel.h"

class TAboutBox {
public:
    explicit TAboutBox(Application& app);
    platform::Form& window() { return *window_; }

private:
    std::unique_ptr<platform::Form> window_;

public:
    TURLLabel URLLabel1;
};
