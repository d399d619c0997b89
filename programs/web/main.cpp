// Vaskelo as a web page: opens the window in the page's #vaskelo element, or says in
// the page why it could not.
#include <emscripten/val.h>

#include <memory>
#include <string>
#include <string_view>

#include "platform/web/web_form.h"
#include "ui/form_binder.h"

int main() {
    using emscripten::val;
    static std::unique_ptr<vaskelo::web::WebForm> window;
    const val place = val::global("document").call<val>("getElementById", std::string("vaskelo"));
    return vaskelo::runOrSay(
        [&] {
            vaskelo::web::openMainWindow(window, place);
            val::global("document")["documentElement"]["classList"].call<void>("add", std::string("vaskelo-started"));
            return 0;
        },
        [](std::string_view message) {
            val::module_property("vaskeloFailed")(std::string(message));
            return 0;
        });
}
