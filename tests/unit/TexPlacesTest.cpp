// Which place each line of TeX's output speaks of, over every shape of
// message: in tex-output/places*.txt each line of output stands after the
// place it speaks of ("-" for none) and a tab. The UTF-8 output holds a line
// that TeX broke after 79 characters, not bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "text/Lines.h"
#include "text/TexPlaces.h"

using namespace text;

TEST(TexPlaces, EachLineSpeaksOfThePlaceOfTheMessageItBelongsTo) {
    for (const std::string name : {"places.txt", "places-utf8.txt"}) {
        std::ifstream in(std::string(VELUMO_TEX_OUTPUT_DIR) + "/" + name, std::ios::binary);
        std::stringstream table;
        table << in.rdbuf();
        const std::string text = table.str();
        std::vector<std::string_view> expected, lines;
        for (const std::string_view row : splitLines(text)) {
            expected.push_back(row.substr(0, row.find('\t')));
            lines.push_back(row.substr(row.find('\t') + 1));
        }
        ASSERT_GT(lines.size(), 5u) << name;
        // The document's files, and no name with a blank or a parenthesis.
        const auto exists = [](const std::string& file) {
            return file.starts_with("./") && file.ends_with(".tex") && file.find_first_of(" ()") == std::string::npos;
        };
        for (size_t i = 0; i <= lines.size(); ++i) {
            const std::optional<TexPlace> place = placeOfLine(lines, i, exists, encodingOfOutput(text));
            const std::string file = !place ? "" : place->fileName.empty() ? place->openFiles.back() : place->fileName;
            EXPECT_EQ(i < lines.size() ? expected[i] : "-", place ? file + ":" + place->lineNumber : "-")
                << name << " line " << i + 1;
        }
    }
}
