// On Windows the C runtime writes the standard streams in text mode, turning each "\n" into
// "\r\n". The driver's output is data (listings, JSON) that must read the same on every
// platform, so it switches both streams to binary mode before main runs.
#include <fcntl.h>
#include <io.h>

#include <cstdio>

namespace {

const bool binaryStreams = [] {
    _setmode(_fileno(stdout), _O_BINARY);
    _setmode(_fileno(stderr), _O_BINARY);
    return true;
}();

} // namespace
