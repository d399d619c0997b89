// The window suite's model scenarios over the Win32 driver: seeded random user input
// checked against the shared reference model after every action, and every control
// operation made to fail in turn.
#include <gtest/gtest.h>
#include <windows.h>

#include <cstdlib>
#include <string>

#include "platform/win32/application.h"
#include "tests/window/window_suite.h"
#include "win32_driver.h"

namespace vaskelo::win32 {
namespace {

int gActions = 20000;  // --actions=N; VASKELO_MODEL_ACTIONS overrides it

class ModelScenario : public ::testing::Test {
public:
    explicit ModelScenario(const suite::Scenario& scenario) : scenario_(scenario) {}
    void SetUp() override { driver_.open(); }
    void TearDown() override { driver_.close(); }
    void TestBody() override {
        suite::Checks checks;
        scenario_.run(driver_, checks);
        EXPECT_TRUE(checks.faults().empty()) << checks.joined();
    }

private:
    const suite::Scenario& scenario_;
    Win32Driver driver_{gActions};
};

}  // namespace
}  // namespace vaskelo::win32

int main(int argc, char* argv[]) {
    vaskelo::win32::enableDpiAwareness();
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--actions=", 0) == 0) vaskelo::win32::gActions = std::atoi(arg.c_str() + 10);
    }
    for (const vaskelo::suite::Scenario& scenario : vaskelo::suite::modelScenarios()) {
        ::testing::RegisterTest("Win32WindowModel", scenario.name, nullptr, nullptr, __FILE__, __LINE__,
                                [&scenario]() -> ::testing::Test* { return new vaskelo::win32::ModelScenario(scenario); });
    }
    return RUN_ALL_TESTS();
}
