#include "features/DocumentFiles.h"

#include "features/DocumentFolder.h"
#include "text/TexFileTrail.h"

CompileOutput readCompileOutput(platform::Os& os, const Document& document, const std::vector<std::string_view>& lines,
                                text::OutputEncoding encoding) {
    const DocumentFolder folder(os, document, encoding);
    text::TexOutput read = text::readTexOutput(
        lines, [&](const std::string& name) { return folder.exists(name); }, encoding);

    CompileOutput result{std::nullopt, {}, document.texPath, {}, {}};
    if (!read.errors.empty()) {
        const text::TexError& error = read.errors.front();
        result.errorLine = error.line;
        result.lineNumber = error.lineNumber;
        result.errorFile = folder.editorFile(error.fileName, error.openFiles);
    }
    for (const std::string& name : read.opened)
        if (const std::optional<std::string> path = folder.pathOf(name); path && folder.holds(*path))
            result.filesRead.push_back(*path);
    result.messages = text::LogMessages(lines, std::move(read));
    return result;
}
