#include "resources/ResourceFormats.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QJsonValue>

#include <cmath>

namespace ab {
namespace {

constexpr int kMaxResourceId = 65535;  // resource and command IDs are 16-bit
constexpr int kMaxMenuDepth = 8;

bool IsContinuation(unsigned char byte) { return (byte & 0xC0) == 0x80; }

// Length of the UTF-8 sequence at `pos`; a byte that starts no complete
// sequence counts as one character of its own.
std::size_t SequenceLength(std::string_view text, std::size_t pos) {
  const auto lead = static_cast<unsigned char>(text[pos]);
  std::size_t length = 1;
  if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
  }
  if (pos + length > text.size()) return 1;
  for (std::size_t i = 1; i < length; ++i) {
    if (!IsContinuation(static_cast<unsigned char>(text[pos + i]))) return 1;
  }
  return length;
}

std::optional<int> ParseId(std::string_view digits) {
  if (digits.empty() || digits.size() > 5) return std::nullopt;
  int value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value > kMaxResourceId) return std::nullopt;
  return value;
}

std::optional<std::string> Unescape(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '\\') {
      out += text[i];
      continue;
    }
    if (++i == text.size()) return std::nullopt;
    switch (text[i]) {
      case 'n': out += '\n'; break;
      case 't': out += '\t'; break;
      case '\\': out += '\\'; break;
      default: return std::nullopt;
    }
  }
  return out;
}

std::optional<int> IdValue(const QJsonValue& value) {
  if (!value.isDouble()) return std::nullopt;
  const double number = value.toDouble();
  if (number < 0 || number > kMaxResourceId || std::floor(number) != number) return std::nullopt;
  return static_cast<int>(number);
}

// An absent flag is false; a flag of another type makes the entry malformed.
std::optional<bool> Flag(const QJsonObject& object, const char* key) {
  const QJsonValue value = object.value(QLatin1String(key));
  if (value.isUndefined()) return false;
  if (!value.isBool()) return std::nullopt;
  return value.toBool();
}

std::optional<std::vector<MenuItemData>> ParseItems(const QJsonValue& value, int depth);

std::optional<MenuItemData> ParseItem(const QJsonValue& value, int depth) {
  if (!value.isObject()) return std::nullopt;
  const QJsonObject object = value.toObject();
  MenuItemData item;

  const QJsonValue separator = object.value(QLatin1String("separator"));
  if (!separator.isUndefined()) {
    if (separator != QJsonValue(true)) return std::nullopt;
    item.kind = MenuItemData::Kind::Separator;
    return item;
  }

  const QJsonValue text = object.value(QLatin1String("text"));
  if (!text.isString() || text.toString().isEmpty()) return std::nullopt;
  item.text = text.toString();

  if (object.contains(QLatin1String("items"))) {
    auto items = ParseItems(object.value(QLatin1String("items")), depth + 1);
    if (!items) return std::nullopt;
    item.kind = MenuItemData::Kind::Popup;
    item.items = std::move(*items);
    return item;
  }

  const auto id = IdValue(object.value(QLatin1String("id")));
  const auto checkable = Flag(object, "checkable");
  const auto checked = Flag(object, "checked");
  const auto grayed = Flag(object, "grayed");
  if (!id || !checkable || !checked || !grayed) return std::nullopt;
  item.kind = MenuItemData::Kind::Command;
  item.id = *id;
  item.checkable = *checkable || *checked;  // a ticked item can be unticked again
  item.checked = *checked;
  item.grayed = *grayed;
  return item;
}

std::optional<std::vector<MenuItemData>> ParseItems(const QJsonValue& value, int depth) {
  if (depth > kMaxMenuDepth || !value.isArray()) return std::nullopt;
  std::vector<MenuItemData> items;
  for (const QJsonValue& entry : value.toArray()) {
    auto item = ParseItem(entry, depth);
    if (!item) return std::nullopt;
    items.push_back(std::move(*item));
  }
  return items;
}

std::optional<QJsonObject> ParseObject(QByteArrayView json) {
  QJsonParseError error;
  const QJsonDocument document = QJsonDocument::fromJson(json.toByteArray(), &error);
  if (error.error != QJsonParseError::NoError || !document.isObject()) return std::nullopt;
  return document.object();
}

}  // namespace

std::string CutToCapacity(std::string_view text, int capacity) {
  if (capacity <= 1) return {};
  const auto room = static_cast<std::size_t>(capacity - 1);
  std::size_t end = 0;
  while (end < text.size()) {
    const std::size_t length = SequenceLength(text, end);
    if (end + length > room) break;
    end += length;
  }
  return std::string(text.substr(0, end));
}

std::optional<StringTable> ParseStringTable(std::string_view source) {
  StringTable table;
  while (!source.empty()) {
    const std::size_t newline = source.find('\n');
    std::string_view line = source.substr(0, newline);
    source = newline == std::string_view::npos ? std::string_view() : source.substr(newline + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    if (line.empty() || line.front() == '#') continue;

    const std::size_t tab = line.find('\t');
    if (tab == std::string_view::npos) return std::nullopt;
    const auto id = ParseId(line.substr(0, tab));
    auto text = Unescape(line.substr(tab + 1));
    if (!id || !text) return std::nullopt;
    if (!table.emplace(*id, std::move(*text)).second) return std::nullopt;  // a duplicate ID
  }
  return table;
}

std::optional<std::vector<MenuItemData>> ParseMenu(QByteArrayView json) {
  const auto object = ParseObject(json);
  if (!object) return std::nullopt;
  return ParseItems(object->value(QLatin1String("items")), 0);
}

std::optional<std::vector<Accelerator>> ParseAcceleratorTable(QByteArrayView json) {
  const auto object = ParseObject(json);
  if (!object) return std::nullopt;
  const QJsonValue list = object->value(QLatin1String("accelerators"));
  if (!list.isArray()) return std::nullopt;

  std::vector<Accelerator> table;
  for (const QJsonValue& entry : list.toArray()) {
    const QJsonValue keys = entry.toObject().value(QLatin1String("keys"));
    const auto command = IdValue(entry.toObject().value(QLatin1String("command")));
    if (!entry.isObject() || !keys.isString() || !command) return std::nullopt;

    const QKeySequence sequence = QKeySequence::fromString(keys.toString(), QKeySequence::PortableText);
    if (sequence.count() != 1 || sequence[0].key() == Qt::Key_unknown || sequence[0].key() == 0) {
      return std::nullopt;
    }
    for (const Accelerator& earlier : table) {
      if (earlier.keys == sequence) return std::nullopt;  // one key, one command
    }
    table.push_back({sequence, *command});
  }
  return table;
}

}  // namespace ab
