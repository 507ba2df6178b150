#include "features/Application.h"

#include "text/MessageText.h"
#include "text/PathParts.h"

using platform::ModalResult;

Application::Application(platform::Toolkit& toolkit, platform::Os& os)
    : toolkit_(toolkit), os_(os), title_(text::applicationTitle(os.program.executablePath())),
      settings_(os.profile, text::changeFileExt(os.program.executablePath(), ".ini")) {
    platform::setExceptionHandler([this](const platform::Exception& error) { showException(error); });
}

Application::~Application() { platform::setExceptionHandler(nullptr); }

void Application::showMessage(const std::string& text) {
    if (!terminated_) toolkit_.showMessage(title_, text);
}

ModalResult Application::messageDialog(const std::string& text, platform::MessageType type, unsigned buttons) {
    if (terminated_) return platform::escapeAnswer(buttons);
    return toolkit_.messageDialog(text, type, buttons);
}

ModalResult Application::showModal(platform::Form& form) {
    if (terminated_) return ModalResult::Cancel;
    return form.showModal();
}

bool Application::executeOpenDialog(platform::OpenDialog& dialog) { return !terminated_ && dialog.execute(); }

void Application::showException(const platform::Exception& error) {
    if (!terminated_) toolkit_.showErrorBox(title_, text::errorBoxText(error.message()));
}

void Application::terminate() {
    terminated_ = true;
    toolkit_.terminate();
}
