#pragma once
// Files that hold several cards one after another, as phones, web mail and
// other address books export them: the file's text cut into its cards, each
// of which the card reader then reads on its own.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace ab {

// Files of many cards with pictures are far larger than one card file.
inline constexpr std::size_t kMaxCardsFileBytes = 256u * 1024u * 1024u;

// The whole text of a regular file of at most kMaxCardsFileBytes, through
// CardsTextAsUtf8; nothing for anything else (a folder, a pipe, a device),
// which is never opened.
std::optional<std::string> ReadCardsFileText(const std::string& path);

// UTF-16 text (after its byte-order mark, or without one when the zero bytes
// of its first two letters show it) as UTF-8, unpaired surrogates dropped;
// a UTF-8 byte-order mark is dropped; other text is returned as it is.
std::string CardsTextAsUtf8(std::string bytes);

// Every top-level BEGIN:VCARD ... END:VCARD of `text`, in file order, each
// from its BEGIN line to the end of its END line (views into `text`). Letter
// case and blanks around the colon do not matter; objects nested in a card
// (an AGENT's card) stay inside it; text before, between and after the cards,
// and a last card without its END, are left out.
std::vector<std::string_view> SplitCards(std::string_view text);

}  // namespace ab
