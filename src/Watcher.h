#pragma once
// The auto-compile watcher's rule: a saved document newer than its DVI is
// compiled, and each saved version only once, so that a compile which leaves
// no DVI, or an older one, is not repeated at every tick (with error jumping
// on, each repeat would start another editor) until the document is saved again.
#include <cstdint>
#include <string>

#include "Document.h"
#include "platform/Os.h"

class Watcher {
public:
    // Whether this tick compiles the document; a yes is remembered as its version.
    bool shouldCompile(const Document& document, platform::FileSystem& files);

private:
    // The document and its file age when the watcher last compiled it.
    struct Version {
        std::string texPath;
        int32_t age = -1;
        bool operator==(const Version&) const = default;
    };
    Version lastCompiled_;
};
