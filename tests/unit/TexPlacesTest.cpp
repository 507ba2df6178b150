// Which message each line of TeX's output belongs to and which place it
// speaks of, over every shape of message: in tex-output/places*.txt each line
// of output stands after its kind and a tab, then its place ("-" for none)
// and a tab. The kind is E, W or B for the first line of an error, a warning
// or a bad box, the same in lower case for the message's further lines, "-"
// for a line of no message. The UTF-8 output holds a line that TeX broke
// after 79 characters, not bytes.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "text/Lines.h"
#include "text/TexPlaces.h"

using namespace text;

TEST(TexPlaces, EachLineHasTheKindAndPlaceOfItsMessageAndF4StepsThroughTheirFirstLines) {
    for (const std::string name : {"places.txt", "places-utf8.txt"}) {
        std::ifstream in(std::string(VELUMO_TEX_OUTPUT_DIR) + "/" + name, std::ios::binary);
        std::stringstream table;
        table << in.rdbuf();
        const std::string text = table.str();
        std::vector<std::string_view> kinds, places, lines;
        std::vector<size_t> starts;
        for (const std::string_view row : splitLines(text)) {
            const size_t tab = row.find('\t'), second = row.find('\t', tab + 1);
            if (std::string_view("EWB").find(row[0]) != std::string_view::npos) starts.push_back(lines.size());
            kinds.push_back(row.substr(0, tab));
            places.push_back(row.substr(tab + 1, second - tab - 1));
            lines.push_back(row.substr(second + 1));
        }
        ASSERT_GT(lines.size(), 5u) << name;
        // The document's files, and no name with a blank or a parenthesis.
        const auto exists = [](const std::string& file) {
            return file.starts_with("./") && file.ends_with(".tex") && file.find_first_of(" ()") == std::string::npos;
        };
        const OutputEncoding encoding = encodingOfOutput(text);
        const LogMessages messages(lines, readTexOutput(lines, exists, encoding));
        for (size_t i = 0; i <= lines.size(); ++i) {
            const std::optional<TexPlace> place = messages.placeOf(i);
            const std::string file = !place ? "" : place->fileName.empty() ? place->openFiles.back() : place->fileName;
            EXPECT_EQ(i < lines.size() ? places[i] : "-", place ? file + ":" + place->lineNumber : "-")
                << name << " line " << i + 1;
            const char kind = "-ewb"[static_cast<int>(messages.kindOf(i))];
            EXPECT_EQ(i < lines.size() ? std::tolower(kinds[i][0]) : '-', kind) << name << " line " << i + 1;
        }
        // F4 from no selection, and Shift+F4 from none, go through the first
        // lines in order and in reverse; from within a message, F4 goes to the
        // next one and Shift+F4 to its own first line.
        std::vector<size_t> forward, back;
        for (std::optional<size_t> at; (at = messages.nextMessage(at));)
            forward.push_back(*at);
        for (std::optional<size_t> at; (at = messages.previousMessage(at));)
            back.insert(back.begin(), *at);
        EXPECT_EQ(starts, forward) << name;
        EXPECT_EQ(starts, back) << name;
        EXPECT_EQ(starts[1], messages.nextMessage(starts[0] + 1));
        EXPECT_EQ(starts[0], messages.previousMessage(starts[0] + 1));
    }
}
