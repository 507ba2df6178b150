#pragma once
// Rules over file names as Windows compares them, respecting the double-byte
// characters of code page 932.
#include <string>

namespace text {

// Equal but for the case of the single-byte letters A to Z; the second byte
// of a double-byte character is never taken for a letter.
bool sameFileName(const std::string& a, const std::string& b);
// The name with its single-byte letters in upper case: two names are the same
// file name exactly when these are equal.
std::string upperCaseFileName(const std::string& name);

// A path given as a drive and its root ("C:\...") or a network share ("\\..."),
// which no current folder changes.
bool isFullyQualifiedPath(const std::string& path);
// A path that does not hang from the current folder: it names a drive
// ("C:\...", "C:name"), the root ("\...") or a network share ("\\...").
bool isRootedPath(const std::string& path);

// An extension list item that can only name a file beside the document: no
// folder, drive or stream separator and no wildcard or other character that
// a file name cannot hold.
bool isPlainExtension(const std::string& item);

// Whether cleanup may delete the target. Both paths are full paths as the
// system resolves them (trailing dots and blanks dropped, "." and ".."
// resolved), so a target that Windows takes for the document is recognised
// however the item spelt it: it must lie in the document's folder and be
// neither the document nor the document's name without its extension.
bool isCleanupTarget(const std::string& target, const std::string& document);

} // namespace text
