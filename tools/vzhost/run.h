// vzhost run: builds a model of one type (with a domain per direction it refers to), drives
// it through its life cycle and reports what it registered.
#pragma once

#include <map>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "loader.h"
#include "output.h"

namespace vzhost {

enum class Format { Summary, Listing, Json };

struct RunOptions {
    std::string type;
    std::map<char, std::string> domainSpecs; // 'x', 'y', 'z' -> "method=CFD4,sections=2,..."
    std::vector<std::pair<std::string, std::string>> settings; // --set NAME=VALUE
    Format format = Format::Summary;
};

// A domain's settings by their short names (method=...), with the property each stands for.
struct DomainKey {
    const char* key;
    const char* property;
};
std::span<const DomainKey> DomainKeys();

// Runs the model; returns the exit status. Bad input gets one line on err and status 2, a
// model that fails (a negative result of either equation walk, an exception) one line and 1.
int Run(const vzt::TypeLibrary& library, const RunOptions& options, Output& out, Output& err);

} // namespace vzhost
