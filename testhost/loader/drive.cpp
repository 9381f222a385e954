#include "drive.h"

#include <standin/equations.h>

namespace vzt {

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
    for (std::size_t m = 0; m < models.size(); ++m) {
        QV_ModelType& model = *models[m];
        const std::size_t entries = vzt::Equations(model).IncidenceCount();
        std::vector<int> rows(entries);
        std::vector<int> cols(entries);
        int* r = rows.data();
        int* c = cols.data();
        vzt::SetJacobianBufferEnd(model, rows.data() + entries, cols.data() + entries);
        outcomes[m].jacPatternResult = model.JacPattern(r, c, nullptr);
        vzt::SetJacobianBufferEnd(model, nullptr, nullptr);
        outcomes[m].rowsWritten = static_cast<std::size_t>(r - rows.data());
        outcomes[m].overruns = vzt::JacobianOverruns(model);
        outcomes[m].misroutedTokens = vzt::Equations(model).MisroutedTokens();
    }
    return outcomes;
}

} // namespace vzt
