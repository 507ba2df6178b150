#include "features/LogLineJump.h"

#include "features/DocumentFolder.h"
#include "text/CommandLine.h"
#include "text/TexPlaces.h"

std::optional<std::string> logLineJump(Application& app, const CompiledLog& log,
                                       const std::vector<std::string_view>& written, size_t line) {
    if (line >= log.lineCount) return std::nullopt;
    const DocumentFolder folder(app.os(), log.document, log.encoding);
    const std::optional<text::TexPlace> place = text::placeOfLine(
        written, line, [&](const std::string& name) { return folder.exists(name); }, log.encoding);
    if (!place) return std::nullopt;
    const std::string file = folder.editorFile(place->fileName, place->openFiles);
    settings::SettingsFile settings = app.settings().open();
    const std::string editor = settings.read(settings::editor);
    return text::jumpCommandLine(editor, text::jumpOption(settings.read(settings::jumpOption), place->lineNumber),
                                 file);
}
