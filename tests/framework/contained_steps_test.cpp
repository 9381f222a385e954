// A level's own step that ends by an exception (a container that could not grow), that
// dereferences a missing object or whose assignments stop at a failure ends the host's call
// with a failure result; the exception never reaches the host.
#include <gtest/gtest.h>

#include <new>

#include "framework/checked.h"
#include "framework/frame.h"
#include "support/host_fixture.h"

// A model whose own assignments, equation instances or expressions can be made to fail.
class QV_FAILINGSTEPS : public QV_TypeFrame<QV_FAILINGSTEPS, QV_ModelTypeEx2> {
public:
    PELLORIN_TYPE_OPERATIONS(QV_FAILINGSTEPS);

    enum class Step { None, Assignments, Instances, Expressions };
    Step failing = Step::None;
    enum class How { Exception, MissingObject, Status };
    How how = How::Exception;

private:
    friend QV_TypeFrame<QV_FAILINGSTEPS, QV_ModelTypeEx2>;
    void FailIf(Step step) const {
        if (failing == step && how == How::Exception) {
            throw std::bad_alloc();
        }
        if (failing == step && how == How::MissingObject) {
            pellorin::Deref(static_cast<int*>(nullptr)) = 1;
        }
    }
    bool RunAssignments(int, int) {
        FailIf(Step::Assignments);
        return failing != Step::Assignments || how != How::Status;
    }
    int AddEquationInstances(int n) {
        FailIf(Step::Instances);
        return n + 2;
    }
    // Writes one entry before it can fail.
    int AddEquationExpressions(int r, int*& rows, int*& cols) {
        *rows++ = r + 1;
        *cols++ = 0;
        FailIf(Step::Expressions);
        return r + 2;
    }
    PELLORIN_LEVEL_WORDS;
};

PELLORIN_TYPE_DEFINITIONS(Model, FAILINGSTEPS);

namespace {

using ContainedSteps = testsupport::HostTest;

TEST_F(ContainedSteps, AStepThatFailsReturnsAFailureAndTheOthersTheirResults) {
    using Step = QV_FAILINGSTEPS::Step;
    using How = QV_FAILINGSTEPS::How;
    constexpr int kFailed = pellorin::kStepFailed;
    struct Case {
        Step failing;
        long assignments;
        int equations;
        int pattern;
    };
    // The host base answers 3, 10 and 20. Only assignments report a failure by status.
    for (const How how : {How::Exception, How::MissingObject, How::Status})
        for (const Case& c :
             {Case{Step::None, 3, 12, 22}, Case{Step::Assignments, kFailed, 12, 22},
              Case{Step::Instances, 3, kFailed, 22}, Case{Step::Expressions, 3, 12, kFailed}}) {
            if (how == How::Status &&
                (c.failing == Step::Instances || c.failing == Step::Expressions)) {
                continue;
            }
            SCOPED_TRACE(static_cast<int>(c.failing) * 10 + static_cast<int>(how));
            vzt::Base().executeAssignments = 3;
            vzt::Base().setUpEquations = 10;
            vzt::Base().jacPattern = 20;
            QV_FAILINGSTEPS model;
            model.failing = c.failing;
            model.how = how;
            int rowBuffer[4] = {};
            int colBuffer[4] = {};
            int* rows = rowBuffer;
            int* cols = colBuffer;

            long assignments = 0;
            int equations = 0;
            int pattern = 0;
            ASSERT_NO_THROW(assignments = model.ExecuteAssignments(5, 7));
            ASSERT_NO_THROW(equations = model.SetUpEquations());
            ASSERT_NO_THROW(pattern = model.JacPattern(rows, cols, nullptr));
            EXPECT_EQ(assignments, c.assignments);
            EXPECT_EQ(equations, c.equations);
            EXPECT_EQ(pattern, c.pattern);
            // The entry written before a failure stays counted, as the host's row array holds it.
            EXPECT_EQ(model.m_localNZCount, 1);
            EXPECT_EQ(rows - rowBuffer, 1);
        }
}

} // namespace
