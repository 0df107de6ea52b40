#include "contacts/VObjectGuard.h"

#include <libical/vcc.h>
#include <libical/vobject.h>

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

ObjectList ParseCard(std::string_view raw) {
  const auto text = NormalizeCardText(raw);
  if (!text) return nullptr;
  InstallSilentErrorHandler();
  ObjectList cards(Parse_MIME(text->text.data(), static_cast<unsigned long>(text->text.size())));
  if (cards) AttachDecodedData(cards.get(), text->attachments);
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
