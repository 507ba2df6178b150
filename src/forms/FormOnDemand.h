#pragma once
// A form whose window and controls are made the first time they are needed,
// so that start-up does not pay for a dialog that most sessions never open.
#include <functional>
#include <memory>

#include "platform/Toolkit.h"

template <class Controls> class FormOnDemand {
public:
    // Adds the controls to the new window and prepares them.
    using MakeControls = std::function<std::unique_ptr<Controls>(platform::Form& window)>;

    FormOnDemand(platform::Toolkit& toolkit, const platform::FormSpec& form, MakeControls makeControls)
        : toolkit_(toolkit), form_(form), makeControls_(std::move(makeControls)) {}

    platform::Form& window() {
        make();
        return *window_;
    }
    Controls& controls() {
        make();
        return *controls_;
    }

private:
    // The window is kept only once its controls exist.
    void make() {
        if (window_) return;
        std::unique_ptr<platform::Form> window = toolkit_.createForm(form_);
        controls_ = makeControls_(*window);
        window_ = std::move(window);
    }

    platform::Toolkit& toolkit_;
    const platform::FormSpec& form_;
    MakeControls makeControls_;
    std::unique_ptr<platform::Form> window_;
    std::unique_ptr<Controls> controls_; // destroyed before the window that holds them
};
