#pragma once
// The options dialog: the three outside programs, error jump, auto-compile and
// its interval, automatic preview, DDE refresh, focus after a preview and the
// extensions that cleanup deletes. Its controls are filled from the settings
// file once, when it is created, and are its whole state from then on.
#include <memory>

#include "Application.h"
#include "settings/SettingsFile.h"

class TForm2 {
public:
    TForm2(Application& app, const std::string& iniFileName);

    platform::Form& window() { return *window_; }

    void FormCreate();
    void SpeedButton1Click(platform::Button& sender);
    void edtCheckIntervalChange();

    // Writes every option, in the settings file's order; a failure leaves the
    // keys before it written and the later ones unchanged.
    void saveOptions(settings::SettingsFile& settings);
    bool autoCompileChecked() const { return chkAutoCompile.checked(); }
    // The interval text converted strictly; raises for a text that is no integer.
    int32_t checkInterval() const;

private:
    platform::Edit& editFor(platform::Button& browseButton);

    Application& app_;
    std::string iniFileName_;
    std::unique_ptr<platform::Form> window_;

public:
    platform::Edit& Edit1;
    platform::Edit& edtJumpOption;
    platform::CheckBox& chkErrorJump;
    platform::CheckBox& chkFocusTeX;
    platform::Edit& Edit3;
    platform::CheckBox& chkAutoCompile;
    platform::Edit& edtCheckInterval;
    platform::CheckBox& chkAutoDVI;
    platform::Edit& Edit4;
    platform::CheckBox& chkUseDDE;
    platform::Edit& Edit2;
    platform::PageControl& PageControl1;
    platform::Button& SpeedButton1;
    platform::Button& SpeedButton3;
    platform::Button& SpeedButton4;

private:
    std::unique_ptr<platform::OpenDialog> OpenDialog1;
};
