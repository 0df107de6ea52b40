#pragma once
// A scan of card text sixteen bytes at a time: a card with a photo is mostly
// long runs of BASE64 data, and the start of the program reads every card.

#include <cstddef>
#include <string_view>

namespace ab {

// True when every byte of `line` can stand in BASE64 data: the alphabet, the
// padding '=', a space or a tab.
bool IsBase64DataLine(std::string_view line);

}  // namespace ab
