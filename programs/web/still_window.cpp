// Build tool, run under Node.js: writes the window's markup as the program builds it,
// and the style rules that place its parts and show its picture, for the page to show
// at its first frame while the program itself still loads.
#include <emscripten/val.h>

#include <cstdio>
#include <string>

#include "platform/web/web_form.h"

namespace {

bool write(const char* path, const std::string& text) {
    std::FILE* out = std::fopen(path, "wb");
    if (!out) {
        std::perror(path);
        return false;
    }
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    return std::fclose(out) == 0 && written;
}

}  // namespace

int main(int argc, char* argv[]) {
    using emscripten::val;
    if (argc != 3) {
        std::fputs("usage: still_window OUT.html OUT.css\n", stderr);
        return 2;
    }
    val parent = val::global("document").call<val>("createElement", std::string("main"));
    vaskelo::web::WebForm form(vaskelo::mainWindowDescription(), vaskelo::eventBindings(), parent);
    const std::string markup = val::module_property("vaskeloStillMarkup")(form.window()).as<std::string>();
    const std::string style = val::module_property("vaskeloStillStyle")().as<std::string>();
    return write(argv[1], markup) && write(argv[2], style) ? 0 : 1;
}
