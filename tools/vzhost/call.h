// vzhost call: runs a procedure of the library through the host's protocol (two
// descriptions, its equations in a model, Residuals, then Jacobian) and reports the result.
#pragma once

#include <string>
#include <vector>

#include "output.h"

namespace vzhost {

struct CallOptions {
    std::string procedure;
    double x = 0.0;
    std::vector<double> table1, table2;
    int count = 0;
    double output = 0.0;
    bool fixed[3] = {false, false, false}; // arguments 0, 1, 2 not solver variables
    int base = 0;
    bool json = false;
};

// Reads the words after "call"; false with a message when one is wrong.
bool ParseCall(const std::vector<std::string>& words, CallOptions& options, std::string& error);

// Runs the call, loading routine libraries from routineFolder; returns the exit status:
// 0, 1 when the procedure or its routine fails (one line on err).
int Call(const CallOptions& options, const std::string& routineFolder, Output& out, Output& err);

// One line per procedure of the library, as `vzhost types` lists them.
void ListProcedures(Output& out);

} // namespace vzhost
