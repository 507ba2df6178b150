#include "features/Watcher.h"

#include <algorithm>

#include "text/DosDateTime.h"

Watcher::State Watcher::stateOf(const Document& document, platform::FileSystem& files) const {
    State state{
        document.texPath, files.fileAge(document.texPath), {}, files.fileAge(document.dviPath), settingsVersion_};
    if (document.texPath == readBy_)
        for (const std::string& file : filesRead_)
            state.filesReadAges.push_back(files.fileAge(file));
    return state;
}

bool Watcher::shouldCompile(const Document& document, platform::FileSystem& files) {
    const State state = stateOf(document, files);
    if (state.documentAge == text::noFileAge) return false;
    const auto newerThanDvi = [&](int32_t age) { return text::documentIsNewer(age, state.dviAge); };
    if (!newerThanDvi(state.documentAge) &&
        std::none_of(state.filesReadAges.begin(), state.filesReadAges.end(), newerThanDvi))
        return false;
    return state != done_;
}

void Watcher::compiled(const Document& document, std::vector<std::string> filesRead, platform::FileSystem& files) {
    readBy_ = document.texPath;
    filesRead_ = std::move(filesRead);
    done_ = stateOf(document, files);
}
