#include "Dlogdlg.h"

using namespace platform;

namespace {
// clang-format off
const FormSpec aboutForm{"AboutBox", "バージョン情報", {0, 0, 279, 213}, true, FormBorder::Dialog,
                         FormPosition::ScreenCenter};

// OK comes first in the tab order so that it has the focus when the box opens.
const std::vector<ControlSpec> aboutLayout{
    {ControlKind::PushOkButton, "OKButton", "", {109, 175, 64, 33}, "OK", "", false, Align::None, true},
    {ControlKind::SunkenPanel, "Panel1", "", {7, 8, 265, 158}},
    {ControlKind::Label, "ProductName", "Panel1", {102, 16, 62, 12}, "Velumo"},
    {ControlKind::Label, "Version", "Panel1", {102, 39, 65, 12}, "Version 0.4.1"},
    {ControlKind::CentredLabel, "Copyright", "Panel1", {56, 78, 156, 12}, "(C) 2026 Velumo Project"},
    {ControlKind::LinkLabel, "URLLabel1", "Panel1", {64, 96, 142, 12}, "mailto:velumo@example.jp"},
    {ControlKind::CentredLabel, "Comments", "Panel1", {32, 112, 217, 36},
     "エディタ、TeXコンパイル、DVIプレビューを連携する、統合環境風ソフトウェア。"},
};
// clang-format on
} // namespace

platform::Form& TAboutBox::window() {
    if (!window_) makeWindow();
    return *window_;
}

TURLLabel& TAboutBox::URLLabel1() {
    if (!window_) makeWindow();
    return *urlLabel_;
}

void TAboutBox::makeWindow() {
    std::unique_ptr<Form> window = app_.toolkit().createForm(aboutForm, aboutLayout);
    urlLabel_ = std::make_unique<TURLLabel>(app_.toolkit(), app_.os().launcher, window->get<LinkLabel>("URLLabel1"));
    urlLabel_->Executable = true;
    window_ = std::move(window);
}
