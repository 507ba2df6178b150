#pragma once
// The options dialog: the three outside programs, error jump, auto-compile and
// its interval, automatic preview, DDE refresh, focus after a preview and the
// extensions that cleanup deletes. Its values are read from the settings file
// at start-up, which reports a stored interval that is not greater than 0,
// and again each time the dialog is shown, so that OK never writes back values
// that another copy of the program or an editor has changed meanwhile. The
// window is made the first time the dialog is needed, so that start-up does
// not pay for a dialog that most sessions never open.
#include <memory>
#include <string>
#include <vector>

#include "features/Application.h"
#include "forms/FormOnDemand.h"
#include "settings/SettingsFile.h"

class TForm2 {
public:
    explicit TForm2(Application& app);

    // The dialog's controls in tab order, as its constructor adds them: the two
    // buttons, the page control, then each page and its controls.
    struct Controls {
        explicit Controls(platform::Form& window);
        platform::Button& BitBtn1;
        platform::Button& BitBtn2;
        platform::PageControl& PageControl1;

        platform::Control& TabSheet1;
        platform::Edit& edtJumpOption;
        platform::CheckBox& chkErrorJump;
        platform::Edit& Edit1;
        platform::CheckBox& chkFocusTeX;
        platform::Control& Label1;
        platform::Button& SpeedButton1;

        platform::Control& TabSheet2;
        platform::CheckBox& chkAutoCompile;
        platform::Edit& edtCheckInterval;
        platform::CheckBox& chkAutoDVI;
        platform::Edit& Edit3;
        platform::Control& Label3;
        platform::Button& SpeedButton3;
        platform::Control& Label5;
        platform::Control& Label2;

        platform::Control& TabSheet3;
        platform::CheckBox& chkUseDDE;
        platform::Edit& Edit4;
        platform::Control& Label4;
        platform::Button& SpeedButton4;

        platform::Control& TabSheet4;
        platform::Edit& Edit2;
        platform::Control& Label6;
    };

    platform::Form& window() { return form_.window(); }
    Controls& controls() { return form_.controls(); }

    void FormCreate();
    // Puts the values stored in the settings file now into the controls.
    void loadStoredOptions();
    void SpeedButton1Click(platform::Button& sender);
    void edtCheckIntervalChange();

    // Writes every option, in the settings file's order; a failure leaves the
    // keys before it written and the later ones unchanged.
    void saveOptions(settings::SettingsFile& settings);
    bool autoCompileChecked() { return controls().chkAutoCompile.checked(); }
    // The interval text converted strictly; raises for a text that is no integer.
    int32_t checkInterval();

private:
    // What the controls show, one text a row ("1" or "0" for a check box).
    using Values = std::vector<std::string>;

    Values readOptions();
    static void showValues(Controls& controls, const Values& values);
    std::unique_ptr<Controls> makeControls(platform::Form& window);
    std::string checkedInterval(const std::string& text);
    platform::Edit& editFor(platform::Button& browseButton);

    Application& app_;
    Values loaded_;
    FormOnDemand<Controls> form_;
    std::unique_ptr<platform::OpenDialog> OpenDialog1;
};
