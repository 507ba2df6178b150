#pragma once
// The document the user adopted. Its names, as given, are what the title and
// the messages show; its paths are where its files lie, fixed when it was
// adopted, so that a later change of the current folder (every compile makes
// the document's folder current) never moves it.
#include <string>

struct Document {
    std::string texName; // TeXFileName as adopted
    std::string dviName; // DviFileName as adopted
    std::string texPath;
    std::string dviPath;
};
