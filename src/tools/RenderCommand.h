#pragma once
// addressbook-cli render CARD OUT.png [WIDTH HEIGHT]: the card as the card
// viewer shows it in a client area of WIDTH x HEIGHT pixels (640 x 500 when
// not given), unscrolled, written as a PNG image. No window is shown: unless
// QT_QPA_PLATFORM says otherwise, Qt draws offscreen.

#include <string>

namespace ab {

inline constexpr int kDefaultRenderWidth = 640;
inline constexpr int kDefaultRenderHeight = 500;
inline constexpr int kLargestRenderSide = 8192;

// 0 when the image was written; 1, with a message on stderr, when the card
// cannot be read, the size is not from 1 to 8192, or the image cannot be written.
int RunRender(const std::string& card, const std::string& outPng, int width, int height);

}  // namespace ab
