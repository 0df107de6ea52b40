#include "contacts/VObjectGuard.h"

#include <libical/vcc.h>
#include <libical/vobject.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>
#include <strings.h>

#include "contacts/CardText.h"

namespace ab::vobject {

namespace {

// The parser reports errors through a handler of its own; the reader decides
// by the result alone, so the messages are dropped.
void IgnoreParserMessage(char*) {}

void InstallSilentErrorHandler() {
  static const bool installed = [] {
    registerMimeErrorHandler(IgnoreParserMessage);
    return true;
  }();
  (void)installed;
}

// Gives every marked property of the card its decoded data, as the parser's
// own BASE64 decoder would: the bytes as a raw value and their DATASIZE.
void AttachDecodedData(VObject* card, const std::vector<std::string>& attachments) {
  std::size_t next = 0;
  ForEachChild(card, [&](VObject* property) {
    if (next >= attachments.size() || !HasChild(property, kAttachmentMarker)) return;
    const std::string& bytes = attachments[next++];
    // The parser gave the property an empty text value; it owns that buffer.
    if (vObjectValueType(property) == VCVT_USTRINGZ)
      std::free(const_cast<wchar_t*>(vObjectUStringZValue(property)));
    setValueWithSize(property, const_cast<char*>(bytes.data()), static_cast<unsigned int>(bytes.size()));
  });
}

}  // namespace

void ListDeleter::operator()(VObject* first) const {
  while (first) {
    VObject* next = nextVObjectInList(first);
    cleanVObject(first);
    first = next;
  }
}

void ObjectDeleter::operator()(VObject* object) const { cleanVObject(object); }

ObjectList ParseCard(std::string_view raw, NormalizedCard& repaired, AttachmentData attachments) {
  auto text = NormalizeCardText(raw, attachments);
  if (!text) return nullptr;
  repaired = std::move(*text);
  InstallSilentErrorHandler();
  ObjectList cards(Parse_MIME(repaired.text.data(), static_cast<unsigned long>(repaired.text.size())));
  if (!cards) return nullptr;
  // Each line handed over is one property; anything else would pair kept texts with the wrong properties.
  const auto handedOver = std::count_if(repaired.properties.begin(), repaired.properties.end(),
                                        [](const SourceProperty& p) { return p.toParser; });
  std::ptrdiff_t parsed = 0;
  ForEachChild(cards.get(), [&](VObject*) { ++parsed; });
  if (parsed != handedOver) return nullptr;
  AttachDecodedData(cards.get(), repaired.attachments);
  return cards;
}

const char* Name(VObject* object) { return object ? vObjectName(object) : nullptr; }

void ForEachChild(VObject* object, const std::function<void(VObject*)>& visit) {
  if (!object) return;
  VObjectIterator it;
  initPropIterator(&it, object);
  while (moreIteration(&it)) visit(nextVObject(&it));
}

bool HasChild(VObject* object, std::string_view name) {
  bool found = false;
  ForEachChild(object, [&](VObject* child) {
    const char* childName = Name(child);
    if (childName && name == childName) found = true;
  });
  return found;
}

std::string TextValue(VObject* object) {
  // Only a Unicode text value may be read as one; other kinds hold other data.
  if (!object || vObjectValueType(object) != VCVT_USTRINGZ || !vObjectUStringZValue(object)) return {};
  char* text = fakeCString(vObjectUStringZValue(object));
  if (!text) return {};
  std::string value(text);
  deleteStr(text);
  if (!value.empty() && value.front() == kLeadingBlanksMarker) value.erase(0, 1);
  return value;
}

long DataSize(VObject* property) {
  long size = -1;
  ForEachChild(property, [&](VObject* child) {
    const char* childName = Name(child);
    if (size == -1 && childName && strcasecmp(childName, "DATASIZE") == 0 &&
        vObjectValueType(child) == VCVT_ULONG) {
      const unsigned long value = vObjectLongValue(child);
      size = value > 0x7FFFFFFEul ? -1 : static_cast<long>(value);
    }
  });
  return size;
}

const void* RawValue(VObject* property) {
  if (!property || vObjectValueType(property) != VCVT_RAW) return nullptr;
  return vObjectAnyValue(property);
}

Object NewObject(const char* name) { return Object(newVObject(name)); }

VObject* AddProp(VObject* object, const char* name) { return object ? addProp(object, name) : nullptr; }

VObject* AddPropValue(VObject* object, const char* name, const std::string& value) {
  return object ? addPropValue(object, name, value.c_str()) : nullptr;
}

bool SetBytes(VObject* property, const void* bytes, unsigned int size) {
  if (!property) return false;
  // The library copies the bytes but takes a non-const pointer.
  return setValueWithSize(property, const_cast<void*>(bytes), size) != nullptr;
}

std::string Render(VObject* object) {
  if (!object) return {};
  int length = 0;
  char* text = writeMemVObject(nullptr, &length, object);
  if (!text) return {};
  std::string rendered = length > 0 ? std::string(text, static_cast<std::size_t>(length)) : std::string();
  deleteStr(text);
  return rendered;
}

}  // namespace ab::vobject
