#include "tools/Json.h"

#include <cstdio>

namespace ab {

namespace {

void AppendEscaped(std::string& out, unsigned char byte) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "\\u%04x", byte);
  out += buffer;
}

}  // namespace

std::string JsonWriter::Quote(std::string_view text) {
  std::string out = "\"";
  for (std::size_t i = 0; i < text.size();) {
    const auto byte = static_cast<unsigned char>(text[i]);
    if (byte >= 0x80) {
      // A whole UTF-8 sequence passes; a stray byte is escaped on its own.
      std::size_t seq = 1;
      if (byte >= 0xC2 && byte <= 0xDF) seq = 2;
      else if (byte >= 0xE0 && byte <= 0xEF) seq = 3;
      else if (byte >= 0xF0 && byte <= 0xF4) seq = 4;
      bool valid = seq > 1 && i + seq <= text.size();
      for (std::size_t k = 1; valid && k < seq; ++k)
        valid = (static_cast<unsigned char>(text[i + k]) & 0xC0) == 0x80;
      if (valid) {
        out.append(text.substr(i, seq));
        i += seq;
      } else {
        AppendEscaped(out, byte);
        ++i;
      }
      continue;
    }
    switch (byte) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (byte < 0x20 || byte == 0x7F) AppendEscaped(out, byte);
        else out += static_cast<char>(byte);
    }
    ++i;
  }
  return out + "\"";
}

void JsonWriter::Separate() {
  if (needComma_) out_ += ',';
  needComma_ = false;
}

JsonWriter& JsonWriter::BeginObject() {
  Separate();
  out_ += '{';
  return *this;
}

JsonWriter& JsonWriter::EndObject() {
  out_ += '}';
  needComma_ = true;
  return *this;
}

JsonWriter& JsonWriter::BeginArray(std::string_view key) {
  if (!key.empty()) Key(key);
  Separate();
  out_ += '[';
  return *this;
}

JsonWriter& JsonWriter::EndArray() {
  out_ += ']';
  needComma_ = true;
  return *this;
}

JsonWriter& JsonWriter::Key(std::string_view key) {
  Separate();
  out_ += Quote(key);
  out_ += ':';
  return *this;
}

JsonWriter& JsonWriter::String(std::string_view key, std::string_view value) {
  if (!key.empty()) Key(key);
  Separate();
  out_ += Quote(value);
  needComma_ = true;
  return *this;
}

JsonWriter& JsonWriter::Number(std::string_view key, std::int64_t value) {
  if (!key.empty()) Key(key);
  Separate();
  out_ += std::to_string(value);
  needComma_ = true;
  return *this;
}

}  // namespace ab
