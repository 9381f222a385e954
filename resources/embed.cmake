# Turns the XML document into a C++ source file holding its bytes.
# Usage: cmake -DINPUT=content.xml -DOUTPUT=content_xml.cpp -P embed.cmake
file(READ "${INPUT}" bytes HEX)
string(LENGTH "${bytes}" hex_length)
math(EXPR size "${hex_length} / 2")
string(REGEX REPLACE "([0-9a-f][0-9a-f])" "0x\\1," array "${bytes}")
file(WRITE "${OUTPUT}"
"// Generated from resources/content.xml; do not edit.
#include <cstddef>

#include \"framework/api.h\"

extern \"C\" {
PELLORIN_API extern const unsigned char PELLORIN_RESOURCE_CONTENT_XML[${size}] = {${array}};
PELLORIN_API extern const std::size_t PELLORIN_RESOURCE_CONTENT_XML_SIZE = ${size};
}
")
