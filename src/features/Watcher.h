#pragma once
// The auto-compile watcher's rule. A document counts as newer than its DVI
// when it, or any file of its own that its last compile read (a chapter, a
// package beside it), was saved after the DVI, or when there is no DVI.
//
// Each version is compiled once: after a compile the watcher holds back as
// long as nothing that decides the outcome has changed since that compile
// ended: the ages of the document and of the files it read, the DVI as the
// compile left it, and the settings. So a document that fails without a DVI is
// not compiled again at every tick (with error jumping on, each time would
// start another editor), and the files a compile writes itself (the .aux of an
// included chapter) never start one; but a save, a deleted DVI or corrected
// settings do.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "features/Document.h"
#include "platform/Os.h"

class Watcher {
public:
    // Whether this tick compiles the document.
    bool shouldCompile(const Document& document, platform::FileSystem& files);
    // The compiler ran on the document and read these files of it: what it
    // left is the version done, whoever asked for the compile. A compile that
    // never started marks nothing, and one the user asks for is never held back.
    void compiled(const Document& document, std::vector<std::string> filesRead, platform::FileSystem& files);
    // The options were confirmed: the next compile may turn out otherwise.
    void settingsChanged() { ++settingsVersion_; }

private:
    struct State {
        std::string texPath;
        int32_t documentAge = -1;
        std::vector<int32_t> filesReadAges;
        int32_t dviAge = -1;
        unsigned settingsVersion = 0;
        bool operator==(const State&) const = default;
    };
    State stateOf(const Document& document, platform::FileSystem& files) const;

    // The files that the last compile read, of the document it compiled.
    std::string readBy_;
    std::vector<std::string> filesRead_;
    std::optional<State> done_;
    unsigned settingsVersion_ = 0;
};
