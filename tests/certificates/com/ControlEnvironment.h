#pragma once
// Registers the control for the whole test program (see WevraClient.h).
#include <gtest/gtest.h>

#include <memory>

#include "WevraClient.h"

class ControlEnvironment : public testing::Environment {
public:
    void SetUp() override { control_ = std::make_unique<RegisteredControl>(ControlDllPath()); }
    void TearDown() override { control_.reset(); }

private:
    std::unique_ptr<RegisteredControl> control_;
};
