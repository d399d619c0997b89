// The Win32 window built in this process and driven like a user drives it: the window
// suite's scenarios and model runs over the Win32 driver, and what only Win32 has (a
// move to a screen of another DPI).
#include <gtest/gtest.h>
#include <windows.h>

#include <array>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/win32/application.h"
#include "tests/window/scaled_window_checks.h"
#include "tests/window/window_suite.h"
#include "win32_driver.h"

namespace vaskelo::win32 {
namespace {

// --seed=N and --actions=N, for the random run; VASKELO_MODEL_SEED and VASKELO_MODEL_ACTIONS override them.
suite::WindowDriver::RandomRun gRandomRun{20261207, 20000};

class Win32Window : public ::testing::Test {
protected:
    Win32Driver driver{gRandomRun};
    void SetUp() override { driver.open(); }
    void TearDown() override { driver.close(); }
};

class WindowScenario : public Win32Window {
public:
    explicit WindowScenario(const suite::Scenario& scenario) : scenario_(scenario) {}
    void TestBody() override {
        suite::Checks checks;
        scenario_.run(driver, checks);
        EXPECT_TRUE(checks.faults().empty()) << checks.joined();
    }

private:
    const suite::Scenario& scenario_;
};

TEST_F(Win32Window, MovingToAScreenOfAnotherDpiScalesEverything) {
    HWND window = driver.form->window();
    RECT suggested;
    GetWindowRect(window, &suggested);
    SendMessageW(window, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&suggested));
    driver.settle();
    EXPECT_EQ(driver.clientSize(), (suite::Size{563, 428}));  // 562.5 by 427.5 pixels
    const suite::NamedRect list = driver.place("Cr1");
    EXPECT_EQ(std::pair(list.left, list.top), std::pair(12, 204));
    EXPECT_EQ(driver.font("Ls1").points, 48.0);
    EXPECT_EQ(driver.font("Lr1").points, 8.0);  // the window's font
    const model::State shown = suite::shown(driver, true);
    std::array<std::uint32_t, 4> fills{};
    for (std::size_t band = 0; band < 4; ++band) fills[band] = shown.swatches[band];
    const suite::Grab grab = driver.grab();
    for (const std::string& fault : scaling::pictureBoxFaults([&](int x, int y) { return grab(12 + x, 12 + y); }, 1.5, 8, 8, fills)) {
        ADD_FAILURE() << fault;
    }
    suite::act(driver, {model::Kind::About, 0, 1});
    EXPECT_EQ(driver.place("Ls1").top, 330);
}

}  // namespace
}  // namespace vaskelo::win32

int main(int argc, char* argv[]) {
    vaskelo::win32::enableDpiAwareness();
    ::testing::InitGoogleTest(&argc, argv);
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg.rfind("--actions=", 0) == 0) vaskelo::win32::gRandomRun.actions = std::atoi(arg.c_str() + 10);
        if (arg.rfind("--seed=", 0) == 0) vaskelo::win32::gRandomRun.seed = static_cast<std::uint32_t>(std::strtoul(arg.c_str() + 7, nullptr, 10));
    }
    for (const auto& [suite, scenarios] : {std::pair("Win32Window", vaskelo::suite::windowScenarios()),
                                           std::pair("Win32WindowModel", vaskelo::suite::modelScenarios())}) {
        for (const vaskelo::suite::Scenario& scenario : scenarios) {
            ::testing::RegisterTest(suite, scenario.name, nullptr, nullptr, __FILE__, __LINE__,
                                    [&scenario]() -> vaskelo::win32::Win32Window* { return new vaskelo::win32::WindowScenario(scenario); });
        }
    }
    return RUN_ALL_TESTS();
}
