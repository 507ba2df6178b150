#pragma once
// The strict integer conversion of what a user typed: a text that is no
// integer (see text/IntegerText.h) ends the command with an error naming it.
#include <cstdint>
#include <string>

// Raises "'%s' は整数ではありません" for a text that does not convert.
int32_t strToInt(const std::string& text);
