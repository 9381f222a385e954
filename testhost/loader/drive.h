// Drives models through their life cycle as the host does for one solve: sizing,
// assignments, equation structure, then the named expressions.
#pragma once

#include <cstddef>
#include <vector>

#include <vuzizev/vuzizev.h>

namespace vzt {

struct ModelOutcome {
    long assignmentStatus = 0;
    int setUpResult = 0;        // what SetUpEquations returned
    bool jacPatternRan = false; // not when a model's SetUpEquations failed
    int jacPatternResult = 0;   // what JacPattern returned
    std::size_t rowsWritten = 0;
    std::size_t overruns = 0;        // rows/cols entries refused for lack of room
    std::size_t misroutedTokens = 0; // tokens that named another equation
};

struct DriveSettings {
    int a = 1; // the two integers ExecuteAssignments receives
    int b = 0;
};

// Runs, model by model in the given order: SetDims and ExecuteAssignments (so that a model
// sees the values of the models before it), then SetUpEquations for all, then, when none
// returned a negative result, JacPattern for all, each with rows/cols buffers sized from the
// incidence SetUpEquations registered.
std::vector<ModelOutcome> Drive(const std::vector<QV_ModelType*>& models,
                                const DriveSettings& settings = {});

} // namespace vzt
