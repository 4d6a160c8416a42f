#pragma once
// Starts the toolkit once for a whole test program and stops it at the end.
#include <gtest/gtest.h>

namespace ovk_test {

class ToolkitEnvironment : public ::testing::Environment {
public:
    void SetUp() override;
    void TearDown() override;
};

// Forgets scripted dialog answers and records before every test.
class DialogScriptReset : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo&) override;
    void OnTestEnd(const ::testing::TestInfo&) override;
};

}  // namespace ovk_test
