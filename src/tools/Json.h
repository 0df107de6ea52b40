#pragma once
// A small writer of compact JSON for the command-line companion's output.

#include <cstdint>
#include <string>
#include <string_view>

namespace ab {

class JsonWriter {
 public:
  JsonWriter& BeginObject();
  JsonWriter& EndObject();
  JsonWriter& BeginArray(std::string_view key = {});
  JsonWriter& EndArray();
  JsonWriter& Key(std::string_view key);
  JsonWriter& String(std::string_view key, std::string_view value);
  JsonWriter& Number(std::string_view key, std::int64_t value);
  JsonWriter& BeginObjectIn(std::string_view key) { return Key(key).BeginObject(); }

  const std::string& text() const { return out_; }

  // A JSON string literal; bytes that are not UTF-8 are escaped as \u00XX.
  static std::string Quote(std::string_view text);

 private:
  void Separate();
  std::string out_;
  bool needComma_ = false;
};

}  // namespace ab
