// What vzhost run prints: a summary, a listing of every equation, or one JSON document.
#pragma once

#include <map>
#include <string>

#include <vuzizev/vuzizev.h>

#include "drive.h"
#include "output.h"
#include "run.h"

namespace vzhost {

// Each format is written as it is produced, in memory set by the domains, not by the model's
// equations.
void Report(Output& out, Format format, const std::string& type, QV_ModelType& model,
            const vzt::ModelOutcome& outcome, const std::map<char, QV_ModelType*>& domains);

void ReportJson(Output& out, const std::string& type, QV_ModelType& model,
                const vzt::ModelOutcome& outcome, const std::map<char, QV_ModelType*>& domains);

} // namespace vzhost
