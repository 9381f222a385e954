#include "drive.h"

#include <algorithm>
#include <cstdint>

#include <vuzizev/alloc.h>

#include <standin/equations.h>

namespace vzt {
namespace {

// n ints from the host's allocator, or null when there is no room for them.
class Buffer {
public:
    explicit Buffer(std::size_t n)
        : m_ints(n > 0 && n <= SIZE_MAX / sizeof(int)
                     ? static_cast<int*>(MyAllocate(n * sizeof(int)))
                     : nullptr) {}
    Buffer(const Buffer&) = delete;
    Buffer& operator=(const Buffer&) = delete;
    ~Buffer() { MyFree(m_ints); }
    int* get() const { return m_ints; }

private:
    int* m_ints;
};

} // namespace

std::vector<ModelOutcome> Drive(const std::vector<QV_ModelType*>& models,
                                const DriveSettings& settings) {
    std::vector<ModelOutcome> outcomes(models.size());
    for (std::size_t m = 0; m < models.size(); ++m) {
        models[m]->SetDims();
        outcomes[m].assignmentStatus = models[m]->ExecuteAssignments(settings.a, settings.b);
    }
    for (std::size_t m = 0; m < models.size(); ++m) {
        outcomes[m].setUpResult = models[m]->SetUpEquations();
    }
    // JacPattern walks what SetUpEquations set up: a run whose equations could not all be set
    // up stops here.
    if (std::any_of(outcomes.begin(), outcomes.end(),
                    [](const ModelOutcome& outcome) { return outcome.setUpResult < 0; })) {
        return outcomes;
    }
    for (std::size_t m = 0; m < models.size(); ++m) {
        QV_ModelType& model = *models[m];
        const std::size_t entries = vzt::Equations(model).IncidenceCount();
        // The pattern's rows and columns, not written before JacPattern writes them; no
        // buffers (null) when there is no incidence. They come from the host's allocator,
        // which counts a failure and throws nothing: with no memory left a throw itself can
        // fail. Without them the model's pattern is not asked for.
        const Buffer rows(entries), cols(entries);
        if (entries > 0 && (rows.get() == nullptr || cols.get() == nullptr)) {
            outcomes[m].jacPatternResult = -1;
            continue;
        }
        int* const rowsBegin = entries > 0 ? rows.get() : nullptr;
        int* const colsBegin = entries > 0 ? cols.get() : nullptr;
        int* r = rowsBegin;
        int* c = colsBegin;
        vzt::SetJacobianBufferEnd(model, rowsBegin + entries, colsBegin + entries);
        outcomes[m].jacPatternRan = true;
        outcomes[m].jacPatternResult = model.JacPattern(r, c, nullptr);
        vzt::SetJacobianBufferEnd(model, nullptr, nullptr);
        outcomes[m].rowsWritten = static_cast<std::size_t>(r - rowsBegin);
        outcomes[m].overruns = vzt::JacobianOverruns(model);
        outcomes[m].misroutedTokens = vzt::Equations(model).MisroutedTokens();
    }
    return outcomes;
}

} // namespace vzt
