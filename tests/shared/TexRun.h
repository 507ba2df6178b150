#pragma once
// A recorded run of the real pTeX or upTeX (tests/tex-runs/, written by
// tools/make_tex_runs.py): the document's files, the files TeX read and wrote,
// its console output, and where its one error was put.
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

struct TexRun {
    std::string encoding; // "cp932" or "utf-8": of the names, the files and the output
    // errorFile and errorLine: the first error's.
    std::string document, errorFile, errorLine, output;
    // Each error that the run tells with the line of the output where its
    // message starts (from 1): every error of a real log whose place its
    // repository tells ("velumo-real-log 2"); empty in the older forms, which
    // tell the first error alone and not where it is.
    struct Error {
        size_t outputLine;
        std::string line, file;
    };
    std::vector<Error> errors;
    // A real log's repository, commit and path, as its line of sources.txt gives them.
    std::string source;
    struct File {
        std::string name, content;
    };
    std::vector<File> sources;      // the document's files with their text
    std::vector<std::string> other; // the other files TeX read or wrote, as TeX names them
};

inline TexRun readTexRun(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const std::string data = text.str();
    TexRun run;
    const bool placedErrors = data.rfind("velumo-real-log 2\n", 0) == 0;
    for (size_t at = 0; at < data.size();) {
        const size_t end = data.find('\n', at);
        const std::string line = data.substr(at, end - at);
        at = end + 1;
        const size_t blank = line.find(' ');
        const std::string key = line.substr(0, blank), value = line.substr(blank + 1);
        if (key == "file" || key == "output") {
            const size_t length = std::stoul(value);
            if (key == "output") run.output = data.substr(at, length);
            if (key == "file") run.sources.push_back({value.substr(value.find(' ') + 1), data.substr(at, length)});
            at += length + 1;
        } else if (key == "error") {
            // "error N file", or "error L N file" where the errors are placed.
            const size_t outputLine = placedErrors ? std::stoul(value) : 0;
            const std::string told = placedErrors ? value.substr(value.find(' ') + 1) : value;
            const TexRun::Error error{outputLine, told.substr(0, told.find(' ')), told.substr(told.find(' ') + 1)};
            if (placedErrors) run.errors.push_back(error);
            if (run.errorLine.empty()) {
                run.errorLine = error.line;
                run.errorFile = error.file;
            }
        } else if (key == "input" || key == "made") {
            run.other.push_back(value);
        } else if (key == "encoding") {
            run.encoding = value;
        } else if (key == "document") {
            run.document = value;
        } else if (key == "repository" || key == "commit" || key == "log") {
            run.source += (run.source.empty() ? "" : " ") + value;
        }
    }
    return run;
}

// A name as TeX printed it, with Windows' separators.
inline std::string backslashed(std::string name) {
    for (char& c : name)
        if (c == '/') c = '\\';
    return name;
}

// Whether a name TeX printed hangs from the folder TeX ran in.
inline bool isRelativeName(const std::string& name) {
    return !name.empty() && name[0] != '/' && name[0] != '\\' && !(name.size() > 1 && name[1] == ':');
}
