#pragma once
// Each test listens to the message boxes its program shows: a message log
// lives from the test's start to its end, so a test reads only its own.
#include "forms/Modal.h"

#include <gtest/gtest.h>
#include <memory>

class TMessageListening : public ::testing::EmptyTestEventListener {
public:
    // Called once by the start-up of a test program that shows windows.
    static void Install() { ::testing::UnitTest::GetInstance()->listeners().Append(new TMessageListening); }

private:
    void OnTestStart(const ::testing::TestInfo&) override { log_ = std::make_unique<TMessageLog>(); }
    void OnTestEnd(const ::testing::TestInfo&) override { log_.reset(); }
    std::unique_ptr<TMessageLog> log_;
};
