#pragma once
// Deleting the document's intermediate files: one file per extension of the
// list, beside the document and named like it.
#include <string>

#include "platform/Os.h"

// Decided by the file that Windows would delete, so "tex." or "tex " never
// deletes the document. A file that is missing, read-only or in use is left
// as it is, without a word.
void deleteIntermediateFiles(platform::FileSystem& files, const std::string& texPath, const std::string& extensions);
