// Program entry: the forms are created in order (the main window first, since
// the options dialog reads the settings path from it), then the message loop runs.
#include "Application.h"
#include "Dlogmain.h"
#include "Dlogopt.h"
#include "platform/win32/Win32Platform.h"

int main() {
    platform::win32::Win32Platform platform;
    Application app(platform.toolkit(), platform.os());

    TForm1 Form1(app);
    TForm2 Form2(app, Form1.IniFileName);
    Form1.attachOptionsDialog(Form2);

    Form1.window().show();
    app.toolkit().run();
    return 0;
}
