// Program entry: the DDE instance first, then the forms in order (the main
// window, the about box, the options dialog), then the message loop.
#include "features/Application.h"
#include "features/DdeClientConv.h"
#include "forms/Dlogdlg.h"
#include "forms/Dlogmain.h"
#include "forms/Dlogopt.h"
#include "platform/win32/Win32Platform.h"

namespace {
// The program's DDE client instance lives from start to end.
class DdeInstance {
public:
    explicit DdeInstance(platform::DdeClient& dde) : dde_(dde), error_(dde.initialize()) {}
    ~DdeInstance() {
        if (!error_) dde_.uninitialize();
    }
    uint32_t error() const { return error_; }

private:
    platform::DdeClient& dde_;
    uint32_t error_;
};
} // namespace

int main() {
    platform::win32::Win32Platform platform;
    Application app(platform.toolkit(), platform.os());
    DdeInstance dde(platform.os().dde);
    if (dde.error()) {
        app.showException(platform::Exception(ddeInitializeErrorText(dde.error())));
        return 1;
    }

    TForm1 Form1(app);
    TAboutBox AboutBox(app);
    TForm2 Form2(app);
    Form1.attachDialogs(AboutBox, Form2);

    Form1.window().show();
    app.toolkit().run();
    return 0;
}
