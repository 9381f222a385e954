// A model of each configuration, driven once per test as the host drives it, for the suites
// of the distributions over several domains.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "support/host_fixture.h"

namespace testsupport {

template <class Model, class Configuration>
class GridEndToEnd : public HostTest, public ::testing::WithParamInterface<Configuration> {
protected:
    void SetUp() override {
        HostTest::SetUp();
        vzt::EnableJournal(false);
        model = std::make_unique<Model>(this->GetParam());
        outcomes = model->Drive();
        ASSERT_GT(outcomes.back().setUpResult, 0);
    }
    void TearDown() override {
        model.reset();
        HostTest::TearDown();
    }
    const QV_EquationStore& Store() const { return model->distribution.Equations(); }

    std::unique_ptr<Model> model;
    std::vector<vzt::ModelOutcome> outcomes;
};

} // namespace testsupport
