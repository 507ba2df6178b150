#include "forms/Dlogdlg.h"

#include "VelumoVersion.h"

using namespace platform;

namespace {
// clang-format off
const FormSpec aboutForm{.name = "AboutBox", .caption = "バージョン情報", .bounds = {0, 0, 279, 213}, .sizeIsClient = true,
                         .border = FormBorder::Dialog, .position = FormPosition::ScreenCenter};
// clang-format on
} // namespace

// clang-format off
TAboutBox::Controls::Controls(Form& window, Application& app)
    : OKButton(window.add<ControlKind::PushOkButton>({.name = "OKButton", .bounds = {109, 175, 64, 33}, .caption = "OK", .isDefault = true})),
      Panel1(window.add<ControlKind::SunkenPanel>({.name = "Panel1", .bounds = {7, 8, 265, 158}})),
      ProductName(window.add<ControlKind::Label>({.name = "ProductName", .parent = "Panel1", .bounds = {102, 16, 62, 12}, .caption = "Velumo"})),
      Version(window.add<ControlKind::Label>({.name = "Version", .parent = "Panel1", .bounds = {102, 39, 65, 12}, .caption = "Version " VELUMO_VERSION_TEXT})),
      Copyright(window.add<ControlKind::CentredLabel>({.name = "Copyright", .parent = "Panel1", .bounds = {56, 78, 156, 12}, .caption = "(C) 2026 Velumo Project"})),
      URLLabel1(app.toolkit(), app.os().shell, window.add<ControlKind::LinkLabel>({.name = "URLLabel1", .parent = "Panel1", .bounds = {64, 96, 142, 12}, .caption = "mailto:velumo@example.jp"})),
      Comments(window.add<ControlKind::CentredLabel>({.name = "Comments", .parent = "Panel1", .bounds = {32, 112, 217, 36}, .caption = "エディタ、TeXコンパイル、DVIプレビューを連携する、統合環境風ソフトウェア。"})) {
    URLLabel1.Executable = true;
}
// clang-format on

TAboutBox::TAboutBox(Application& app)
    : form_(app.toolkit(), aboutForm, [&app](Form& window) { return std::make_unique<Controls>(window, app); }) {}
