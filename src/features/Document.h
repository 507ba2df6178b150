#pragma once
// The document the user adopted. Its names, as given, are what the title and
// the messages show; its paths are where its files lie, fixed when it was
// adopted, so that a later change of the current folder (every compile makes
// the document's folder current) never moves it.
#include <string>

#include "platform/Os.h"

struct Document {
    std::string TeXFileName; // as adopted
    std::string DviFileName; // as adopted
    std::string texPath;
    std::string dviPath;
};

// The document of a name as the user gave it, with the extensions ".tex" and
// ".dvi". A relative name is resolved against the folder that is current now;
// a full path is kept exactly as given.
Document adoptDocument(platform::FileSystem& files, const std::string& name);
