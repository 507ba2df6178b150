#pragma once
// The shared toolkit suite on the headless toolkit: the user's actions come
// from the toolkit's script.
#include <gtest/gtest.h>

#include "support/HeadlessToolkit.h"

class ToolkitFixture : public ::testing::Test {
protected:
    platform::Toolkit& toolkit() { return toolkit_; }

    // Shows the form modally, the user doing action while it is up; answers how it closed.
    platform::ModalResult showModalWhile(platform::Form& form, std::function<void()> action) {
        toolkit_.onModal[form.layout().name] = [action](headless::HeadlessForm&) {
            action();
            return platform::ModalResult::None; // the form's own answer, if any, wins
        };
        return form.showModal();
    }
    void click(platform::Button& button) { dynamic_cast<headless::HeadlessButton&>(button).click(); }
    // Shows a message dialog in which the user presses Enter.
    platform::ModalResult pressEnterIn(const std::string& text, platform::MessageType type, unsigned buttons) {
        return toolkit_.messageDialog(text, type, buttons);
    }

private:
    headless::HeadlessToolkit toolkit_;
};
