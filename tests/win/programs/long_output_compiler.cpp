// A compiler of the tests that prints a long or strange output: started as
// `long_output_compiler <document>` in the document's folder, it prints the
// shape of output that the document's name asks for (tests/shared/OutputShapes.h)
// on its standard output, then writes the tick count of its end to ended.txt
// in that folder, and ends with 1, as TeX does after errors.
#include <windows.h>

#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <io.h>

#include "shared/OutputShapes.h"

int main(int argc, char** argv) {
    const OutputShape* shape = nullptr;
    for (const OutputShape& known : outputShapes)
        if (argc == 2 && std::strcmp(argv[1], known.document) == 0) shape = &known;
    if (!shape) {
        std::fprintf(stderr, "long_output_compiler: no shape of output is named %s\n", argc == 2 ? argv[1] : "");
        return 2;
    }
    _setmode(_fileno(stdout), _O_BINARY); // the lines carry their own CR LF
    for (size_t number = 0; number < shape->lines; ++number) {
        const std::string line = shape->line(number) + "\r\n";
        std::fwrite(line.data(), 1, line.size(), stdout);
    }
    std::fflush(stdout);
    if (FILE* ended = std::fopen("ended.txt", "w")) {
        std::fprintf(ended, "%lu\n", static_cast<unsigned long>(GetTickCount()));
        std::fclose(ended);
    }
    return 1;
}
