// The few Windows functions the test program uses, behind a layer of its own: the platform's
// headers and the host interface's own component object model do not go into one file.
#pragma once

namespace msvctest {

void* OpenLibrary(const char* path);
bool CloseLibrary(void* module);
void* LibraryFunction(void* module, const char* name);
// The bytes of a resource and their count; null when there is none.
const char* LibraryResource(void* module, const char* type, const char* name,
                            unsigned short language, unsigned long& size);

} // namespace msvctest
