#include "features/LogLineJump.h"

#include "features/DocumentFolder.h"
#include "text/CommandLine.h"

std::optional<std::string> logLineJump(Application& app, const CompiledLog& log, size_t line) {
    const std::optional<text::TexPlace> place = log.messages.placeOf(line);
    if (!place) return std::nullopt;
    const DocumentFolder folder(app.os(), log.document, log.encoding);
    const std::string file = folder.editorFile(place->fileName, place->openFiles);
    settings::SettingsFile settings = app.settings().open();
    const std::string editor = settings.read(settings::editor);
    return text::jumpCommandLine(editor, text::jumpOption(settings.read(settings::jumpOption), place->lineNumber),
                                 file);
}
