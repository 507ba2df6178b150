#pragma once
// The preview: the viewer shows the document's DVI (started, brought forward
// or refreshed over DDE), or, when there is no DVI yet, the user is offered a
// compile first. A compile that ends cleanly with automatic preview on comes
// back here.
#include "features/Application.h"
#include "features/Companions.h"
#include "features/CompileCommand.h"
#include "features/Document.h"
#include "settings/SettingsFile.h"

class Preview {
public:
    Preview(Application& app, const settings::SettingsStore& settings, Companions& companions,
            CompileCommand& compile)
        : app_(app), settings_(settings), companions_(companions), compile_(compile) {}

    // The document is taken by value, as the compile takes it.
    void show(Document document);

private:
    Application& app_;
    const settings::SettingsStore& settings_;
    Companions& companions_;
    CompileCommand& compile_;
};
