// The web page's window in headless Chromium: the window suite's scenarios and model
// runs over the web driver, and an accessibility audit by axe-core. run_page.py
// serves the page, makes the real input and collects the verdict. The page's query
// chooses: only=NAME,NAME scale=S touch=1 (a phone's touch screen) seed=N actions=N.
#include <emscripten/val.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

#include "tests/web/web_driver.h"
#include "tests/window/window_suite.h"

namespace {

using emscripten::val;
using vaskelo::web::WebDriver;

std::string query(const char* name) {
    val params = val::global("URLSearchParams").new_(val::global("location")["search"]);
    val value = params.call<val>("get", std::string(name));
    return value.isNull() ? std::string() : value.as<std::string>();
}

// In the start state, with a list open and after a calculation, no rule of axe-core's is broken.
void passesAnAccessibilityAudit(vaskelo::suite::WindowDriver& driver, vaskelo::suite::Checks& checks) {
    auto& d = static_cast<WebDriver&>(driver);
    const auto audit = [&](const char* when) {
        const std::string violations = vaskelo::web::host(vaskelo::web::request("audit"))["violations"].as<std::string>();
        if (!violations.empty()) checks.add(std::string(when) + ":\n" + violations);
    };
    audit("at start");
    d.keyTo("Cr1", "ArrowDown", 1);
    audit("with a list open");
    WebDriver::key("Escape");
    for (const char* list : {"Cr1", "Cr2", "Cr3", "Cr4"}) d.keyTo(list, "ArrowDown");
    d.click(d.element("CommDH"));
    audit("after a calculation");
}

// Once opened, the program starts again with no network, from its service worker.
void opensOfflineAfterOneVisit(vaskelo::suite::WindowDriver&, vaskelo::suite::Checks& checks) {
    const val reply = vaskelo::web::host(vaskelo::web::request("offline"));
    if (!vaskelo::web::unsupported(reply) && !reply["started"].as<bool>()) checks.add("it did not start offline");
}

// A page that cannot start says why, in Turkish, and shows no window.
void saysWhyItCannotStart(vaskelo::suite::WindowDriver&, vaskelo::suite::Checks& checks) {
    const std::pair<const char*, const char*> kCases[] = {
        {"no WebAssembly", "bu tarayıcı WebAssembly çalıştırmıyor"}, {"scripts off", "bu tarayıcıda JavaScript kapalı"},
        {"vaskelo.js missing", "programın dosyaları yüklenemedi"},   {"vaskelo.wasm missing", "eksik ya da bozuk"},
        {"vaskelo.wasm damaged", "eksik ya da bozuk"}};
    for (const auto& [how, expected] : kCases) {
        val page = vaskelo::web::host(vaskelo::web::request("broken", {{"how", val(std::string(how))}}));
        if (vaskelo::web::unsupported(page)) return;
        const std::string said = page["said"].as<std::string>();
        if (said.find(expected) == std::string::npos || page["window"].as<bool>()) {
            checks.add(std::string(how) + ": it said \"" + said + "\"" + (page["window"].as<bool>() ? " beside a window" : ""));
        }
    }
}

// Moved onto a screen at 125 %, the open window draws its picture anew for it with no
// input, as a browser's own enlarging of the old one would break its borders; and again
// on the way back.
void redrawsOnAnotherScreen(vaskelo::suite::WindowDriver& driver, vaskelo::suite::Checks& checks) {
    vaskelo::suite::windowHoldsAtThisDisplayScale(driver, checks);
    for (const double scale : {1.25, 1.0}) {
        if (vaskelo::web::unsupported(vaskelo::web::host(vaskelo::web::request("screen", {{"scale", val(scale)}})))) return;
        vaskelo::web::vaskelo_next_frames();  // the page hears of the change
        checks.equal(driver.scale(), scale, "the scale on the screen it was moved to");
        vaskelo::suite::drawnAtThisScale(driver, checks);
    }
}

const vaskelo::suite::Scenario kWebScenarios[] = {{"passesAnAccessibilityAudit", passesAnAccessibilityAudit},
                                                  {"opensOfflineAfterOneVisit", opensOfflineAfterOneVisit},
                                                  {"saysWhyItCannotStart", saysWhyItCannotStart},
                                                  {"redrawsOnAnotherScreen", redrawsOnAnotherScreen}};

}  // namespace

int main() {
    const std::string only = "," + query("only") + ",";
    const std::string scale = query("scale");
    WebDriver::RandomRun run{20261209, 5000};
    if (!query("seed").empty()) run.seed = static_cast<std::uint32_t>(std::strtoul(query("seed").c_str(), nullptr, 10));
    if (!query("actions").empty()) run.actions = std::atoi(query("actions").c_str());
    WebDriver driver(run, scale.empty() ? std::optional<double>() : std::optional<double>(std::atof(scale.c_str())),
                     query("touch") == "1");
    int failures = 0;
    int ran = 0;
    for (const auto scenarios : {vaskelo::suite::windowScenarios(), vaskelo::suite::modelScenarios(),
                                 std::span<const vaskelo::suite::Scenario>(kWebScenarios)}) {
        for (const vaskelo::suite::Scenario& scenario : scenarios) {
            if (only != ",," && only.find("," + std::string(scenario.name) + ",") == std::string::npos) continue;
            std::printf("[ RUN      ] %s\n", scenario.name);
            driver.open();
            vaskelo::suite::Checks checks;
            scenario.run(driver, checks);
            driver.close();
            ++ran;
            if (checks.faults().empty()) {
                std::printf("[       OK ] %s\n", scenario.name);
            } else {
                ++failures;
                std::printf("[  FAILED  ] %s\n%s\n", scenario.name, checks.joined().c_str());
            }
        }
    }
    if (ran == 0) ++failures;  // a filter that matches nothing tests nothing
    val done = vaskelo::web::request("done");
    done.set("failures", failures);
    val::global("vaskeloHost")(val::global("JSON").call<std::string>("stringify", done));
    return 0;
}
