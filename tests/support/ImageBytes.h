#pragma once
// Small JPEG and GIF file images for the data tests, without Qt: real
// headers, so their size reads back; only the GIF holds a whole picture.

#include <string>

namespace ab::testing {

inline std::string BigEndian16(int value) { return {static_cast<char>(value >> 8), static_cast<char>(value)}; }

// SOI, a JFIF APP0 segment whose length falls two bytes short (as some
// phones write it), a baseline frame header of the size, then `fill` bytes.
inline std::string JpegHeaderBytes(int width, int height, std::size_t fill = 0) {
  std::string bytes("\xFF\xD8\xFF\xE0\x00\x0EJFIF\x00\x01\x01\x00\x00\x01\x00\x01\x00\x00", 20);
  bytes += std::string("\xFF\xC0\x00\x11\x08", 5) + BigEndian16(height) + BigEndian16(width);
  bytes += std::string("\x03\x01\x22\x00\x02\x11\x01\x03\x11\x01", 10);
  for (std::size_t i = 0; i < fill; ++i) bytes += static_cast<char>(i * 7);
  return bytes;
}

// A whole GIF of one red pixel.
inline std::string RedPixelGif() {
  return std::string("GIF89a\x01\x00\x01\x00\x80\x00\x00\xFF\x00\x00\x00\x00\x00"
                     ",\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02\x02\x44\x01\x00;",
                     35);
}

}  // namespace ab::testing
