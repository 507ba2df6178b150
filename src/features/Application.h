#pragma once
// The application object: the platform services, the application's title, its
// message boxes and the request to end. Once the end has been requested, every
// modal dialog or message box a command still opens closes at once as if
// cancelled, so the command that is running finishes without waiting for the user.
#include <string>

#include "platform/Os.h"
#include "platform/Toolkit.h"
#include "settings/SettingsFile.h"

class Application {
public:
    Application(platform::Toolkit& toolkit, platform::Os& os);
    ~Application();

    platform::Toolkit& toolkit() { return toolkit_; }
    platform::Os& os() { return os_; }
    const std::string& title() const { return title_; }
    // The settings file: the program's own path with the extension ".ini".
    const settings::SettingsStore& settings() const { return settings_; }

    // A plain message: the text with an OK button under the application's title.
    void showMessage(const std::string& text);
    // A typed message dialog; answers the cancel button's result once the end is requested.
    platform::ModalResult messageDialog(const std::string& text, platform::MessageType type, unsigned buttons);
    platform::ModalResult showModal(platform::Form& form);
    bool executeOpenDialog(platform::OpenDialog& dialog);
    // The standard error box of an error that ended a command.
    void showException(const platform::Exception& error);

    void terminate();
    bool terminated() const { return terminated_; }

private:
    platform::Toolkit& toolkit_;
    platform::Os& os_;
    std::string title_;
    settings::SettingsStore settings_;
    bool terminated_ = false;
};
