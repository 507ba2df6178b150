// Program entry: the DDE instance first, then the forms in order (the main
// window, the about box, the options dialog), then the message loop.
#include "features/Application.h"
#include "features/DdeClientConv.h"
#include "forms/Dlogdlg.h"
#include "forms/Dlogmain.h"
#include "forms/Dlogopt.h"
#include "platform/win32/Win32Platform.h"

#include <cstdlib>

// An exception that escapes ends the program. The C++ library's own handler
// for that first spells the exception's type on the standard error stream,
// which a windowed program does not have, and it links in the library's name
// demangler to do so: 45 KiB of the program. Ending at once is what the user
// sees either way.
namespace __gnu_cxx {
void __verbose_terminate_handler() { std::abort(); }
} // namespace __gnu_cxx

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
