// What vzhost run prints: a summary, a listing of every equation, or one JSON document.
#pragma once

#include <map>
#include <ostream>
#include <string>

#include <vuzizev/vuzizev.h>

#include "drive.h"
#include "run.h"

namespace vzhost {

void Report(std::ostream& out, Format format, const std::string& type, QV_ModelType& model,
            const vzt::ModelOutcome& outcome, const std::map<char, QV_ModelType*>& domains);

} // namespace vzhost
