#include "features/StrToInt.h"

#include "platform/Exception.h"
#include "text/Format.h"
#include "text/IntegerText.h"

int32_t strToInt(const std::string& text) {
    const std::optional<int32_t> value = text::parseInteger(text);
    if (!value) throw platform::Exception(text::formatText("'%s' は整数ではありません", text));
    return *value;
}
