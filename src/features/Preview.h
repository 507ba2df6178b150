#pragma once
// The preview: the viewer shows the document's DVI (started, brought forward
// or refreshed over DDE), or, when there is no DVI yet, the user is offered a
// compile first; the caller runs that compile.
#include "features/Application.h"
#include "features/Companions.h"
#include "features/Document.h"

enum class PreviewResult {
    Shown,
    CompileAsked, // there was no DVI, and the user asked for a compile
    NoDvi,        // there was no DVI, and the user declined the compile
};

PreviewResult previewDocument(Application& app, Companions& companions, const Document& document);
