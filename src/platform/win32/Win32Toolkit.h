#pragma once
// The toolkit on real windows: the forms of the program, the message loops
// and the message boxes.
#include <windows.h>

#include <vector>

#include "platform/Toolkit.h"
#include "platform/win32/MessageDialog.h"
#include "platform/win32/Ui.h"

namespace platform::win32 {

class FormWindow;

class Win32Toolkit : public Toolkit {
public:
    Win32Toolkit();
    ~Win32Toolkit() override;

    std::unique_ptr<Form> createForm(const FormSpec& form, const std::vector<MenuItemSpec>& menu) override;
    std::unique_ptr<Timer> createTimer(Form& owner) override;
    std::unique_ptr<OpenDialog> createOpenDialog(const OpenDialogSpec& dialog) override;
    void registerCursor(int index, const std::string& resourceName) override;

    void showMessage(const std::string& title, const std::string& text) override;
    ModalResult messageDialog(const std::string& text, MessageType type, unsigned buttons) override;
    void showErrorBox(const std::string& title, const std::string& text) override;

    void beep() override;
    void processMessages() override;
    void run() override;
    void terminate() override;

    const Ui& ui() const { return ui_; }
    Ui& ui() { return ui_; }
    bool terminated() const { return terminated_; }
    // Waits for the next message and handles it as the main loop does.
    void handleNextMessage();

    // The first form created that still exists: the main window.
    FormWindow* mainForm() const;
    void addForm(FormWindow& form);
    void removeForm(FormWindow& form);
    // Disables every other enabled form; answers those to enable again.
    std::vector<HWND> disableFormsExcept(const FormWindow& form);
    // The owner of a dialog: the program's active window, else its last visible form, else none.
    HWND dialogOwner() const;

private:
    void dispatch(MSG& message);
    // The form that window belongs to, if it is one of this program's forms.
    FormWindow* formOf(HWND window) const;

    Ui ui_;
    MessageDialogs messageDialogs_{ui_};
    std::vector<FormWindow*> forms_; // in the order of creation
    bool terminated_ = false;
};

} // namespace platform::win32
