// A fixture that takes the calculator's message box: every text it is handed
// is recorded, and it answers with `answer`. The box is given back afterwards.
#pragma once

#include <OrvexGDI/TangroGDIOps.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace orvex::testing_geometry {

class MessageSinkTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        TangroGDIOps::set_error_box2_sink([this](const std::string& text) {
            texts.push_back(text);
            return answer;
        });
    }
    void TearDown() override { TangroGDIOps::set_error_box2_sink({}); }

    std::vector<std::string> texts;
    int answer = 0;
};

} // namespace orvex::testing_geometry
