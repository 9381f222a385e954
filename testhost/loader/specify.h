// A user's value for a property, given as text: parsed for the property's kind, checked
// against what the property's type allows, then specified so that it stands against the
// library's default assignments.
#pragma once

#include <string>

#include <vuzizev/vuzizev.h>

namespace vzt {

// Specifies text as the user's value of property. A property that names its object stands
// for that object's value. False, with a one-line reason in error and the property left as
// it was, when the text is not a value of the property's kind, lies outside its valid
// values or below its lower bound, or the property takes no value.
bool SpecifyFromText(QV_Containable& property, const std::string& text, std::string& error);

} // namespace vzt
