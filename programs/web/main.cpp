// Vaskelo as a web page: opens the window in the page's #vaskelo element, or says in
// the page why it could not.
#include <emscripten/val.h>

#include <exception>
#include <memory>
#include <string>

#include "core/runtime_error.h"
#include "platform/web/web_form.h"

int main() {
    using emscripten::val;
    static std::unique_ptr<vaskelo::web::WebForm> window;
    val place = val::global("document").call<val>("getElementById", std::string("vaskelo"));
    try {
        vaskelo::web::openMainWindow(window, place);
        val::global("document")["documentElement"]["classList"].call<void>("add", std::string("vaskelo-started"));
    } catch (const std::exception& error) {
        val::module_property("vaskeloFailed")(std::string(error.what()));
    } catch (...) {
        val::module_property("vaskeloFailed")(std::string(vaskelo::kStartFailure));
    }
    return 0;
}
