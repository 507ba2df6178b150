// A handler of the tests for a URL scheme: started as `record_args FILE ARGS...`,
// it appends ARGS, one line each, to FILE, then ends.
#include <cstdio>

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    FILE* record = std::fopen(argv[1], "ab");
    if (!record) return 1;
    for (int i = 2; i < argc; ++i)
        std::fprintf(record, "%s\r\n", argv[i]);
    std::fclose(record);
    return 0;
}
