#pragma once
// Recognises the compressed picture formats phones and web mail send (JPEG,
// PNG, GIF) by their signature and reads their size from the header, without
// decoding them: decoding is the drawing layer's work.

#include <cstddef>
#include <cstdint>
#include <optional>

namespace ab {

enum class PictureFormat { None, Bmp, Jpeg, Png, Gif };

struct ImageHeader {
  PictureFormat format = PictureFormat::None;
  std::int32_t width = 0;
  std::int32_t height = 0;
};

// The format and size of a JPEG, PNG or GIF file image; nullopt for anything
// else, or when the header within `size` bytes gives no positive size.
std::optional<ImageHeader> ReadImageHeader(const std::uint8_t* bytes, std::size_t size);

}  // namespace ab
