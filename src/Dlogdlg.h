#pragma once
// The about box: product name, version, copyright, a live mail link and what
// the program is for. It has no commands of its own: OK or the close box end it.
// Its window is made the first time it is needed, so that start-up does not
// pay for a box that most sessions never open.
#include <memory>

#include "Application.h"
#include "URLLabel.h"

class TAboutBox {
public:
    explicit TAboutBox(Application& app) : app_(app) {}
    platform::Form& window();
    TURLLabel& URLLabel1();

private:
    void makeWindow();

    Application& app_;
    std::unique_ptr<platform::Form> window_;
    std::unique_ptr<TURLLabel> urlLabel_;
};
