// A compiler of the tests that prints what a real TeX printed: started as
// `recorded_compiler paper.tex` in the document's folder, it copies the file
// "console.txt" of that folder to its standard output, byte for byte, and ends.
#include <cstdio>

#include <fcntl.h>
#include <io.h>

int main() {
    _setmode(_fileno(stdout), _O_BINARY);
    FILE* recorded = std::fopen("console.txt", "rb");
    if (!recorded) return 1;
    char buffer[4096];
    for (size_t read; (read = std::fread(buffer, 1, sizeof buffer, recorded)) > 0;)
        std::fwrite(buffer, 1, read, stdout);
    std::fclose(recorded);
    return 0;
}
