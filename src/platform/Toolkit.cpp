// The behaviour every backend of the toolkit shares, written once here so the
// windows under Wine and the headless ones of the tests cannot drift apart.
#include "platform/Toolkit.h"

namespace platform {

ModalResult modalResultOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::OkButton:
    case ControlKind::PushOkButton:
        return ModalResult::OK;
    case ControlKind::CancelButton:
        return ModalResult::Cancel;
    default:
        return ModalResult::None;
    }
}

ModalResult clickButton(Button& button) {
    fireEvent(button.onClick);
    return modalResultOf(button.layout().kind);
}

void Edit::setText(const std::string& text) {
    if (text == this->text()) return;
    replaceText(text);
    fireEvent(onChange);
}

void Form::close() {
    if (modalShowing())
        endModal(ModalResult::Cancel);
    else
        fireEvent(onClose);
}

ModalResult defaultAnswer(unsigned buttons) {
    return (buttons & mbOK) || !(buttons & mbYes) ? ModalResult::OK : ModalResult::Yes;
}

ModalResult escapeAnswer(unsigned buttons) {
    if (buttons & mbCancel) return ModalResult::Cancel;
    return (buttons & mbNo) ? ModalResult::No : ModalResult::OK;
}

} // namespace platform
