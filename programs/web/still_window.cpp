// Build tool, run under Node.js: writes the window's markup as the program builds it,
// for the page to show at its first frame, while the program itself still loads.
#include <emscripten/val.h>

#include <cstdio>
#include <string>

#include "platform/web/web_form.h"

int main(int argc, char* argv[]) {
    using emscripten::val;
    if (argc != 2) {
        std::fputs("usage: still_window OUT.html\n", stderr);
        return 2;
    }
    val parent = val::global("document").call<val>("createElement", std::string("main"));
    vaskelo::web::WebForm form(vaskelo::mainWindowDescription(), vaskelo::eventBindings(), parent);
    const std::string markup = val::module_property("vaskeloStillMarkup")(form.window()).as<std::string>();
    std::FILE* out = std::fopen(argv[1], "wb");
    if (!out) {
        std::perror(argv[1]);
        return 1;
    }
    const bool written = std::fwrite(markup.data(), 1, markup.size(), out) == markup.size();
    return std::fclose(out) == 0 && written ? 0 : 1;
}
