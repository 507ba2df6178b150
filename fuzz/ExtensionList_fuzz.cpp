// The extension list: a zero byte ends the text; without double quotes, the
// items are what cutting the text at its commas and then at its blanks
// (codes 1 to 32) gives, a blank piece between commas or a trailing comma
// giving one empty item; only quoted items hold blanks or commas; and items
// quoted and joined with commas come back unchanged. A double-byte character
// is never cut.
#include <algorithm>

#include "FuzzSupport.h"
#include "text/ExtensionList.h"

namespace {
using Characters = std::vector<std::string>;

bool isBlank(const std::string& character) {
    return character.size() == 1 && static_cast<unsigned char>(character[0]) <= ' ';
}
bool isComma(const std::string& character) { return character == ","; }

std::vector<Characters> cutAtCommas(const Characters& text) {
    std::vector<Characters> fields(1);
    for (const std::string& character : text)
        if (isComma(character))
            fields.emplace_back();
        else
            fields.back().push_back(character);
    return fields;
}

std::vector<std::string> words(const Characters& field) {
    std::vector<std::string> result;
    bool inWord = false;
    for (const std::string& character : field) {
        if (isBlank(character)) {
            inWord = false;
            continue;
        }
        if (!inWord) result.emplace_back();
        result.back() += character;
        inWord = true;
    }
    return result;
}

std::vector<std::string> itemsOfUnquotedText(const std::string& text) {
    const std::vector<Characters> fields = cutAtCommas(fuzz::characters(text));
    std::vector<std::string> items;
    for (size_t i = 0; i < fields.size(); ++i) {
        const std::vector<std::string> fieldWords = words(fields[i]);
        items.insert(items.end(), fieldWords.begin(), fieldWords.end());
        const bool last = i + 1 == fields.size();
        if (fieldWords.empty() && (!last || (fields.size() > 1 && fields[i].empty()))) items.emplace_back();
    }
    return items;
}

std::string quotedAndJoined(const std::vector<std::string>& items) {
    std::string list;
    for (const std::string& item : items) {
        if (!list.empty()) list += ',';
        list += '"';
        for (const std::string& character : fuzz::characters(item))
            list += character == "\"" ? "\"\"" : character;
        list += '"';
    }
    return list;
}

bool holdsSeparator(const std::string& item) {
    const Characters characters = fuzz::characters(item);
    return std::any_of(characters.begin(), characters.end(),
                       [](const std::string& c) { return isBlank(c) || isComma(c); });
}

bool endsInLoneLeadByte(const std::string& item) {
    const Characters characters = fuzz::characters(item);
    return !characters.empty() && fuzz::isLoneLeadByte(characters.back());
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string list = fuzz::inputText(data, size);
    const std::vector<std::string> items = text::splitExtensionList(list);

    for (const std::string& item : items)
        FUZZ_CHECK(item.find('\0') == std::string::npos);

    const std::string text = list.substr(0, list.find('\0'));
    const Characters characters = fuzz::characters(text);
    const auto quotes = std::count(characters.begin(), characters.end(), "\"");
    if (quotes == 0) FUZZ_CHECK(items == itemsOfUnquotedText(text));
    // Only a quoted item holds a blank or a comma, and each quoted item takes a quote of the text.
    FUZZ_CHECK(std::count_if(items.begin(), items.end(), holdsSeparator) <= quotes);

    // A lead byte that ends an item (only at the end of the text) would take a closing quote.
    bool quotable = true;
    for (const std::string& item : items)
        quotable = quotable && !endsInLoneLeadByte(item);
    if (quotable) FUZZ_CHECK(text::splitExtensionList(quotedAndJoined(items)) == items);
    return 0;
}
