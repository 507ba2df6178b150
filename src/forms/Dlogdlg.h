#pragma once
// The about box: product name, version, copyright, a live mail link and what
// the program is for. It has no commands of its own: OK or the close box end it.
// Its window is made the first time it is needed, so that start-up does not
// pay for a box that most sessions never open.
#include <memory>

#include "features/Application.h"
#include "forms/FormOnDemand.h"
#include "forms/URLLabel.h"

class TAboutBox {
public:
    explicit TAboutBox(Application& app);

    // The box's controls in tab order, as its constructor adds them: OK first,
    // so that it has the focus when the box opens, then the panel and its labels.
    struct Controls {
        Controls(platform::Form& window, Application& app);
        platform::Button& OKButton;
        platform::Control& Panel1;
        platform::Control& ProductName;
        platform::Control& Version;
        platform::Control& Copyright;
        TURLLabel URLLabel1;
        platform::Control& Comments;
    };

    platform::Form& window() { return form_.window(); }
    TURLLabel& URLLabel1() { return form_.controls().URLLabel1; }

private:
    FormOnDemand<Controls> form_;
};
