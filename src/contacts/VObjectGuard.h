#pragma once
// The one module that talks to the vObject library. Card text is repaired
// before the parser sees it, values are taken out only in the form they hold,
// and a card is rendered only by the library's own writer.

#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "contacts/CardText.h"

typedef struct VObject VObject;


namespace ab::vobject {

struct ListDeleter {
  void operator()(VObject* first) const;  // releases every object of the list
};
using ObjectList = std::unique_ptr<VObject, ListDeleter>;

struct ObjectDeleter {
  void operator()(VObject* object) const;
};
using Object = std::unique_ptr<VObject, ObjectDeleter>;

// Parses repaired card text; null when there is no card that reads safely.
// `repaired` receives the repair, whose properties handed to the parser are,
// in order, the properties of the first object.
ObjectList ParseCard(std::string_view raw, NormalizedCard& repaired,
                     AttachmentData attachments = AttachmentData::Decoded);

const char* Name(VObject* object);  // may be null
// Calls `visit` for every property of an object, or sub-property of a property, in file order.
void ForEachChild(VObject* object, const std::function<void(VObject*)>& visit);
bool HasChild(VObject* object, std::string_view name);  // exact name
// The value of a text property as 8-bit text, with the blanks it starts with;
// empty when it holds no text.
std::string TextValue(VObject* object);
// The decoded size of an attachment (its DATASIZE, in any case), or -1.
long DataSize(VObject* property);
const void* RawValue(VObject* property);

Object NewObject(const char* name);
VObject* AddProp(VObject* object, const char* name);
VObject* AddPropValue(VObject* object, const char* name, const std::string& value);
// The library keeps its own copy of the bytes.
bool SetBytes(VObject* property, const void* bytes, unsigned int size);
// The library's text for the object; empty when it renders nothing.
std::string Render(VObject* object);

}  // namespace ab::vobject
