// The web page's window under test, driven with real input: each key and click goes
// to the browser from outside the page (run_page.py, through the DevTools protocol's
// Input domain) while the test waits, and what the window shows is read back from the
// DOM, the browser's accessibility tree and its screenshots. The window suite's driver
// for the web.
#pragma once

#include <emscripten.h>
#include <emscripten/val.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <initializer_list>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "core/main_form.h"
#include "platform/web/web_form.h"
#include "tests/window/window_driver.h"
#include "ui/scaled_box.h"

namespace vaskelo::web {

// Sends a request to the test's host and waits, letting the page run meanwhile, for
// its answer; both are JSON.
EM_ASYNC_JS(char*, vaskelo_host_call, (const char* request), {
    const reply = await new Promise((resolve) => {
        globalThis.vaskeloHostReply = resolve;
        globalThis.vaskeloHost(UTF8ToString(request));
    });
    const size = lengthBytesUTF8(reply) + 1;
    const copy = _malloc(size);
    stringToUTF8(reply, copy, size);
    return copy;
});

// Decodes a PNG screenshot into RGBA bytes, as they are, with no colour conversion.
EM_ASYNC_JS(unsigned char*, vaskelo_decode_png, (const char* base64, int* size), {
    const bytes = Uint8Array.from(atob(UTF8ToString(base64)), (c) => c.charCodeAt(0));
    const bitmap = await createImageBitmap(new Blob([bytes], { type: "image/png" }),
                                           { colorSpaceConversion: "none", premultiplyAlpha: "none" });
    const canvas = new OffscreenCanvas(bitmap.width, bitmap.height);
    const context = canvas.getContext("2d", { colorSpace: "srgb" });
    context.drawImage(bitmap, 0, 0);
    const data = context.getImageData(0, 0, bitmap.width, bitmap.height).data;
    const copy = _malloc(data.length);
    HEAPU8.set(data, copy);
    HEAP32[size >> 2] = bitmap.width;
    HEAP32[(size >> 2) + 1] = bitmap.height;
    return copy;
});

EM_ASYNC_JS(void, vaskelo_fonts_ready, (), { await document.fonts.ready; });
// Until the faces a CSS font names for the Turkish letters have loaded, or failed to.
EM_ASYNC_JS(void, vaskelo_font_loaded, (const char* font), {
    await document.fonts.load(UTF8ToString(font), "\u0131\u0130\u015f\u015e\u011f\u011e\u00fc\u00dc\u00f6\u00d6\u00e7\u00c7").catch(() => []);
});
// Until the browser has rendered twice: media query changes are told in a frame's update.
EM_ASYNC_JS(void, vaskelo_next_frames, (), {
    await new Promise((resolve) => requestAnimationFrame(() => requestAnimationFrame(resolve)));
});

inline val host(val request) {
    const std::string text = val::global("JSON").call<std::string>("stringify", request);
    char* reply = vaskelo_host_call(text.c_str());
    val parsed = val::global("JSON").call<val>("parse", std::string(reply));
    std::free(reply);
    if (parsed.hasOwnProperty("error")) std::fprintf(stderr, "host: %s\n", parsed["error"].as<std::string>().c_str());
    return parsed;
}

// Whether the engine could not do what a reply answers; the run says so, and the scenario
// checks the nearest thing the engine can do.
inline bool unsupported(const val& reply) {
    if (!reply.hasOwnProperty("unsupported")) return false;
    static std::set<std::string> said;  // each once a run
    const auto [note, fresh] = said.insert(reply["unsupported"].as<std::string>());
    if (fresh) std::printf("[ NOTE     ] %s\n", note->c_str());
    return true;
}
// A text field of a reply, empty where the engine gave none.
inline std::string textOf(const val& reply, const char* name) {
    return reply.hasOwnProperty(name) && reply[name].isString() ? reply[name].as<std::string>() : std::string();
}

// A request to the host: its operation and fields.
inline val request(const char* op, std::initializer_list<std::pair<const char*, val>> fields = {}) {
    val r = val::object();
    r.set("op", std::string(op));
    for (const auto& [name, value] : fields) r.set(name, value);
    return r;
}

inline val one(val e, const char* selector) { return e.call<val>("querySelector", std::string(selector)); }
inline std::vector<val> all(val e, const char* selector) {
    val found = e.call<val>("querySelectorAll", std::string(selector));
    std::vector<val> each;
    for (int i = 0; i < found["length"].as<int>(); ++i) each.push_back(found[i]);
    return each;
}
inline std::string attributeOf(val e, const char* name) {
    val value = e.call<val>("getAttribute", std::string(name));
    return value.isString() ? value.as<std::string>() : std::string();
}

class WebDriver final : public suite::WindowDriver {

public:
    // `touch`: the page is on a phone's touch screen, where a finger taps what a mouse clicks.
    WebDriver(RandomRun run, std::optional<double> scale, bool touch) : run_(run), scale_(scale), touch_(touch) {
        place_ = val::global("document").call<val>("getElementById", std::string("vaskelo"));
        vaskelo_fonts_ready();
    }
    ~WebDriver() override { close(); }

    std::unique_ptr<WebForm> form;

    val element(std::string_view name) const { return form->control(name); }
    // What a list's keys and text go to.
    val focusable(std::string_view name) const {
        val field = one(element(name), "input");
        return field.isNull() ? element(name) : field;
    }
    struct Box {
        double left, top, right, bottom;
    };
    // Where the viewport shows the element, in its CSS pixels, whatever the window's zoom.
    Box box(val e) const {
        const vaskelo::web::Box b = form != nullptr ? form->shownBox(e) : boxOf(e);
        return {b.left, b.top, b.right, b.bottom};
    }
    // A click, or on a touch screen a tap, at (dx, dy) of the element as the window lays it out.
    void click(val e, double dx = -1, double dy = -1) {
        const Box b = box(e);
        const double zoom = form != nullptr ? form->zoom() : 1;
        host(request(touch_ ? "tap" : "mouse", {{"x", val(dx < 0 ? (b.left + b.right) / 2 : b.left + dx * zoom)},
                                                {"y", val(dy < 0 ? (b.top + b.bottom) / 2 : b.top + dy * zoom)}}));
    }
    static void key(const char* name, int modifiers = 0) {
        val r = request("key", {{"key", val(std::string(name))}, {"modifiers", val(modifiers)}});
        if (std::string_view(name) == "a" && modifiers == 2) r.set("commands", val::array(std::vector<std::string>{"selectAll"}));
        host(r);
    }
    void keyTo(std::string_view control, const char* name, int modifiers = 0) {
        focusable(control).call<void>("focus");
        key(name, modifiers);
    }

    void open() override {
        close();
        // A new window, as after a new start, has the browser's usual viewport.
        if (resized_) resize(480, 360);
        resized_ = false;
        designateMainForm(nullptr);
        openMainWindow(form, place_);
    }
    void close() override {
        form.reset();
        setMainFormCreator(nullptr);
    }
    std::string notReady() override {
        return val::global("document").call<bool>("hasFocus") ? "" : "the page does not have the focus";
    }
    MainForm& mainForm() override { return form->mainForm(); }

    void keys(int band, const std::vector<Key>& keys) override {
        const std::string list = suite::listName(band);
        if (val::global("document")["activeElement"] != focusable(list)) focusable(list).call<void>("focus");
        for (const Key k : keys) {
            switch (k) {
                case Key::Down: key("ArrowDown"); break;
                case Key::Up: key("ArrowUp"); break;
                case Key::Enter: key("Enter"); break;
                case Key::Tab: key("Tab"); break;
                case Key::AltDown: key("ArrowDown", 1); break;
                case Key::F4: key("F4"); break;
            }
        }
    }
    bool listBecomes(int band, bool open) override { return listOpen(suite::listName(band)) == open; }
    // Where the control shows in the window: the middle of what the window's client area holds of it.
    void click(std::string_view control) override {
        const Box b = box(element(control));
        const Box c = box(form->client());
        host(request(touch_ ? "tap" : "mouse", {{"x", val((std::max(b.left, c.left) + std::min(b.right, c.right)) / 2)},
                                                {"y", val((std::max(b.top, c.top) + std::min(b.bottom, c.bottom)) / 2)}}));
    }
    int selectedRow(int band) override { return selectedRow(suite::listName(band)); }
    std::array<ColourValue, 4> swatches(bool pixels) override {
        std::array<ColourValue, 4> colours{};
        const suite::Grab shot = pixels ? grab() : suite::Grab{};
        for (std::size_t i = 0; i < colours.size(); ++i) {
            const std::string swatch = "pr" + std::to_string(i + 1);
            const std::optional<ColourValue> fill = form->swatchColour(swatch);
            const suite::NamedRect r = pixels && fill ? deviceArea(swatch) : suite::NamedRect{};
            colours[i] = !fill ? 0xFF000000u : pixels ? shot((r.left + r.right) / 2, (r.top + r.bottom) / 2) : *fill;
        }
        return colours;
    }
    std::pair<float, float> resultPointsAndTop() override {
        val result = element("Ls1");
        return {static_cast<float>(std::round(computed(result, "font-size") * 0.75 * 100) / 100),
                static_cast<float>(std::lround(result["offsetTop"].as<double>()) * kTwipsPerPixel)};
    }
    ColourValue windowBackground() override { return form->shown(kWindowBackground); }
    RandomRun defaultRandomRun() override { return run_; }

    bool browseOpenListAndCancel(int band) override {
        const std::string list = suite::listName(band);
        keyTo(list, "ArrowDown", 1);
        if (!listOpen(list)) return false;
        // The keys move the highlight, and neither the list's end nor its start moves the window.
        const Box before = box(element("pd1"));
        for (const char* k : {"End", "ArrowDown", "Home", "ArrowDown"}) key(k);
        const Box after = box(element("pd1"));
        key("Escape");
        return before.top == after.top && before.left == after.left && !listOpen(list);
    }
    bool cancelMenuAndPressDialogKeys() override {
        val title = menuTitle(1);
        click(title);
        if (attributeOf(title, "aria-expanded") != "true") return false;
        key("Escape");
        if (attributeOf(title, "aria-expanded") != "false") return false;
        element("pd1").call<void>("focus");
        for (const char* k : {"Enter", "Escape"}) key(k);
        return true;
    }
    std::optional<suite::NamedRect> openMenuTitle(int position) override {
        val title = menuTitle(position);
        click(title);
        if (attributeOf(title, "aria-expanded") != "true") return suite::NamedRect{};  // no area: the menu did not open
        return toDevice(relative("the open menu's title", title, form->client()));
    }
    // A browser window is resized by its viewport; the window's layout is fixed.
    void resize(int width, int height) override {
        host(request("viewport", {{"width", val(width)}, {"height", val(height)}, {"scale", val::global("devicePixelRatio")}}));
        resized_ = true;
    }
    void focus(std::string_view control) override { focusable(control).call<void>("focus"); }
    suite::Scheme setScheme(const suite::Scheme* scheme) override {
        // The browser's nearest scheme: forced colours for a black window, dark for a dark one.
        const auto dark = [](ColourValue c) { return redOf(c) + greenOf(c) + blueOf(c) < 3 * 128; };
        unsupported(host(request("media", {{"scheme", val(std::string(scheme != nullptr && dark(scheme->window) ? "dark" : "light"))},
                                           {"forced", val(scheme != nullptr && scheme->window == 0 && scheme->buttonFace == 0)}})));
        vaskelo_next_frames();  // the page hears of the change
        if (form == nullptr) return scheme != nullptr ? *scheme : suite::Scheme{};
        return {form->shown(kWindowBackground), form->shown(kWindowText), form->shown(kButtonFace), form->shown(kButtonText), 0, 0};
    }
    suite::Ending end(bool byMenu) override {
        suite::Ending ending;
        if (byMenu) {
            ending.report = reportDuring([&] { chooseMenu(0, true); });
            ending.code = form->ended() ? 0 : 1;
            ending.windowGone = !form->window()["isConnected"].as<bool>() && !one(place_, ".vaskelo-ended").isNull();
            return ending;
        }
        // Closing the program's tab: the browser asks nothing before it goes.
        val closed = host(request("closeTab"));
        if (unsupported(closed)) return end(true);  // the other way to end it, which the engine can make
        ending.code = closed["closed"].as<bool>() ? 0 : 1;
        ending.windowGone = closed["closed"].as<bool>();
        if (closed["question"].as<bool>()) ending.report.title = "a question before closing";
        return ending;
    }

    std::string title() override { return val::global("document")["title"].as<std::string>(); }
    suite::Size clientSize() override {
        return {form->client()["offsetWidth"].as<int>(), form->client()["offsetHeight"].as<int>()};
    }
    // In the window's own CSS pixels, as it lays itself out before any zoom.
    suite::NamedRect relative(std::string_view name, val e, val to, double inset = 0) const {
        const Box b = box(e);
        const Box o = box(to);
        const double zoom = form->zoom();
        const auto edge = [zoom](double v) { return static_cast<int>(std::lround(v / zoom)); };
        inset *= zoom;
        return {std::string(name), edge(b.left - o.left + inset), edge(b.top - o.top + inset), edge(b.right - o.left - inset),
                edge(b.bottom - o.top - inset)};
    }
    suite::NamedRect place(std::string_view control) override {
        const ControlDescription* c = findControl(mainWindowDescription(), control);
        val container = c != nullptr && !c->container.empty() ? element(c->container) : form->client();
        return relative(control, element(control), container);
    }
    suite::NamedRect surfacePlace(std::string_view control) override { return relative(control, element(control), form->client()); }
    // Counted from the device pixel nearest to the client area's corner.
    suite::NamedRect toDevice(const suite::NamedRect& r) {
        const double s = scale();
        const double ratio = val::global("devicePixelRatio").as<double>();
        const int x = static_cast<int>(std::lround(box(form->client()).left * ratio));
        const int y = static_cast<int>(std::lround(box(form->client()).top * ratio));
        return {r.name, x + scaledEdge(r.left, s), y + scaledEdge(r.top, s), x + scaledEdge(r.right, s), y + scaledEdge(r.bottom, s)};
    }
    suite::NamedRect devicePlace(std::string_view control) override { return toDevice(surfacePlace(control)); }
    suite::NamedRect deviceArea(std::string_view control) override {
        val e = element(control);
        double inset = 0;
        if (focusable(control) != e) {
            e = focusable(control);
            inset = 1;
        } else if (e["localName"].as<std::string>() == "canvas" || e["className"].as<std::string>() == "vaskelo-swatch") {
            inset = 2;  // inside the border
        }
        return toDevice(relative(control, e, form->client(), inset));
    }
    suite::Size deviceClientSize() override {
        const suite::Grab shot = grab();
        const suite::NamedRect client = toDevice({"", 0, 0, clientSize().width, clientSize().height});
        return {std::min(shot.width, client.right) - client.left, std::min(shot.height, client.bottom) - client.top};
    }
    std::string caption(std::string_view control) override {
        val e = focusable(control);
        if (e != element(control)) return e["value"].as<std::string>();
        return e["textContent"].as<std::string>();
    }
    std::vector<std::string> entries(int band) override {
        std::vector<std::string> texts;
        for (val option : all(listOf(suite::listName(band)), "[role=option]")) texts.push_back(option["textContent"].as<std::string>());
        return texts;
    }
    suite::FontFacts font(std::string_view control) override {
        val e = element(control);
        const double size = computed(e, "font-size");
        const bool bold = computed(e, "font-weight") >= 600;
        std::string family = style(e, "font-family");
        family = family.substr(0, family.find(','));
        if (!family.empty() && family.front() == '"') family = family.substr(1, family.size() - 2);
        // The page's own face of that family and weight has loaded: it holds the Turkish letters.
        vaskelo_font_loaded((style(e, "font-weight") + " " + style(e, "font-size") + " " + style(e, "font-family")).c_str());
        bool loaded = false;
        val faces = val::global("Array").call<val>("from", val::global("document")["fonts"]);
        for (int i = 0; i < faces["length"].as<int>(); ++i) {
            val face = faces[i];
            std::string name = face["family"].as<std::string>();
            if (!name.empty() && name.front() == '"') name = name.substr(1, name.size() - 2);
            loaded = loaded || (name == family && face["status"].as<std::string>() == "loaded" &&
                                (std::atoi(face["weight"].as<std::string>().c_str()) >= 600) == bold);
        }
        return {std::round(size * 0.75 * 100) / 100, bold, family, std::nullopt, loaded};
    }
    suite::Size textExtent(std::string_view control, std::string_view text) override {
        val e = element(control);
        val probe = val::global("document").call<val>("createElement", std::string("span"));
        for (const char* p : {"font-family", "font-size", "font-weight"}) {
            probe["style"].call<void>("setProperty", std::string(p), style(e, p));
        }
        probe["style"].call<void>("setProperty", std::string("white-space"), std::string("pre"));
        probe["style"].call<void>("setProperty", std::string("position"), std::string("absolute"));
        probe.set("textContent", std::string(text));
        form->client().call<void>("append", probe);
        const Box b = box(probe);
        probe.call<void>("remove");
        return {static_cast<int>(std::lround(b.right - b.left)), static_cast<int>(std::lround(b.bottom - b.top))};
    }
    std::string focused() override {
        val active = val::global("document")["activeElement"];
        if (active.isNull()) return "";
        val control = active.call<val>("closest", std::string("[data-control]"));
        return control.isNull() ? "" : control["dataset"]["control"].as<std::string>();
    }
    std::vector<suite::MenuFacts> menus() override {
        std::vector<suite::MenuFacts> facts;
        for (val menu : all(form->window(), ".vaskelo-menu")) {
            val title = one(menu, "[data-part=title]");
            facts.push_back({title["textContent"].as<std::string>(), {}});
            const bool shortcut = !one(menu, "[aria-keyshortcuts], [accesskey]").isNull();  // on the title or an item
            for (val item : all(menu, "[role=menu] > *")) {
                facts.back().items.push_back({item["textContent"].as<std::string>(), shortcut, attributeOf(item, "role") != "menuitem", std::nullopt});
            }
        }
        return facts;
    }
    // The browser's scale times the window's own zoom, which on a phone fills its screen.
    double scale() override { return val::global("devicePixelRatio").as<double>() * form->zoom(); }
    std::optional<double> expectedScale() override {
        if (!scale_ || !touch_) return scale_;
        // The whole window at the largest size the viewport holds: its width, or its height
        // with the menu bar.
        const double width = val::global("innerWidth").as<double>();
        const double height = val::global("innerHeight").as<double>();
        return *scale_ * std::min(width / 375, height / (285 + 20));
    }
    bool touchScreen() override { return touch_; }
    suite::Grab grab() override {
        val shot = host(request("shot"));
        const std::string png = shot["png"].as<std::string>();
        int size[2] = {0, 0};
        unsigned char* rgba = vaskelo_decode_png(png.c_str(), size);
        suite::Grab g{size[0], size[1], {}};
        g.pixels.resize(static_cast<std::size_t>(size[0]) * static_cast<std::size_t>(size[1]));
        for (std::size_t i = 0; i < g.pixels.size(); ++i) {
            g.pixels[i] = rgba[4 * i] | (static_cast<std::uint32_t>(rgba[4 * i + 1]) << 8) | (static_cast<std::uint32_t>(rgba[4 * i + 2]) << 16);
        }
        std::free(rgba);
        return g;
    }

    val heard(std::string_view control) {
        val node = host(request("ax", {{"selector", val("#" + focusable(control)["id"].as<std::string>())}}));
        unsupported(node);
        return node;
    }
    // What the browser gives a screen reader: a list's label with its value, anything
    // else by its name or, without one, its text.
    std::string spoken(std::string_view control) override {
        // Where the engine reads back less than a screen reader hears, the page's own
        // markup for it stands in: a field's value, an element's text.
        val node = heard(control);
        const std::string name = textOf(node, "name");
        if (focusable(control) != element(control)) {
            return name + " " + (node.hasOwnProperty("value") ? textOf(node, "value") : focusable(control)["value"].as<std::string>());
        }
        if (name.empty() && !node.hasOwnProperty("text")) return element(control)["textContent"].as<std::string>();
        return name.empty() ? textOf(node, "text") : name;
    }
    std::string spokenDescription(std::string_view control) override {
        val node = heard(control);
        return node.hasOwnProperty("description") ? textOf(node, "description") : attributeOf(element(control), "aria-description");
    }
    // The result labels are live regions, which a screen reader reads out when they
    // change; a swatch's new name is heard where the reader is.
    void listenForRenames() override {}
    std::optional<bool> announcedRename(std::string_view control) override {
        if (control != "Ls1" && control != "Les2") return std::nullopt;
        val node = heard(control);
        return (node.hasOwnProperty("live") ? textOf(node, "live") : attributeOf(element(control), "aria-live")) == "polite";
    }

    suite::Report reportDuring(const std::function<void()>& action) override {
        action();
        suite::Report report;
        if (form == nullptr || form->ended()) return report;
        val dialog = one(form->window(), "dialog");
        if (dialog.isNull() || !dialog["open"].as<bool>()) return report;
        val button = one(dialog, "button");
        report = {one(dialog, "h2")["textContent"].as<std::string>(), one(dialog, "p")["textContent"].as<std::string>(),
                  button["textContent"].as<std::string>()};
        click(button);
        return report;
    }
    std::string okButton() override { return "Tamam"; }
    void setOperationGate(OperationGate gate) override { form->setOperationGate(std::move(gate)); }
    void destroyControl(std::string_view control) override { element(control).call<void>("remove"); }
    std::string buildError(const WindowDescription& description, std::span<const EventBinding> bindings) override {
        try {
            WebForm built(description, bindings, val::global("document").call<val>("createElement", std::string("div")));
            return {};
        } catch (const std::exception& error) {
            return error.what();
        }
    }
    bool strayWindow() override {
        return all(val::global("document"), ".vaskelo-window").size() > (form != nullptr && form->window()["isConnected"].as<bool>() ? 1u : 0u);
    }

    val listOf(const std::string& list) const {
        return val::global("document").call<val>("getElementById", attributeOf(focusable(list), "aria-controls"));
    }
    bool listOpen(const std::string& list) { return !listOf(list)["hidden"].as<bool>(); }

private:
    static std::string style(val e, const char* property) {
        return val::global("getComputedStyle")(e).call<std::string>("getPropertyValue", std::string(property));
    }
    static double computed(val e, const char* property) { return std::atof(style(e, property).c_str()); }
    int selectedRow(const std::string& list) {
        const std::vector<val> options = all(listOf(list), "[role=option]");
        for (std::size_t i = 0; i < options.size(); ++i) {
            if (attributeOf(options[i], "aria-selected") == "true") return static_cast<int>(i);
        }
        return -1;
    }
    val menuTitle(int position) {
        return all(form->window(), "[data-part=title]")[static_cast<std::size_t>(position)];
    }
    // With the mouse on the title and the item, or from the keyboard: F10 to the menu
    // bar, across to the menu, down into it and Enter.
    bool chooseMenu(int position, bool mouse) override {
        val title = menuTitle(position);
        if (mouse) {
            click(title);
            val item = one(title["parentElement"], "[role=menu] > *");
            if (item["offsetParent"].isNull()) return false;
            click(item);
        } else {
            key("F10");
            for (int i = 0; i < position; ++i) key("ArrowRight");
            key("ArrowDown");
            key("Enter");
        }
        return form->ended() || attributeOf(title, "aria-expanded") == "false";
    }
    bool pickWithMouse(int band, int row) override {
        const std::string list = suite::listName(band);
        // A finger taps the field itself, which opens the list and raises no keyboard.
        click(touch_ ? focusable(list) : one(element(list), "button"));
        if (!listOpen(list) || (touch_ && keyboardWouldRise())) return false;
        // Clicks where the open list shows the entry, so that a list the page clips, or one
        // that only a scrolled window shows, fails here as it fails a person. A list taller
        // than its room scrolls, and a person scrolls it (only it) to the entry.
        val option = all(listOf(list), "[role=option]")[static_cast<std::size_t>(row)];
        val popup = listOf(list);
        const double from = popup["scrollTop"].as<double>();
        const double top = option["offsetTop"].as<double>();
        const double bottom = top + option["offsetHeight"].as<double>();
        if (top < from) popup.set("scrollTop", top);
        if (bottom > from + popup["clientHeight"].as<double>()) popup.set("scrollTop", bottom - popup["clientHeight"].as<double>());
        if (touch_) {
            // A swipe over the entry scrolls or does nothing; it picks nothing.
            const int before = selectedRow(list);
            const Box at = box(option);
            host(request("swipe", {{"x", val((at.left + at.right) / 2)}, {"y", val((at.top + at.bottom) / 2)}}));
            if (!listOpen(list) || selectedRow(list) != before) return false;
            option = all(listOf(list), "[role=option]")[static_cast<std::size_t>(row)];
            if (box(option).top < box(popup).top || box(option).bottom > box(popup).bottom) {
                popup.set("scrollTop", option["offsetTop"].as<double>());
            }
        }
        // A finger's height, as the viewport shows it.
        if (touch_ && box(option).bottom - box(option).top < 44) return false;
        click(option);
        return !listOpen(list) && selectedRow(list) == row;
    }
    // Whether the focus is in a field that makes a phone raise its keyboard.
    static bool keyboardWouldRise() {
        val active = val::global("document")["activeElement"];
        return !active.isNull() && active["localName"].as<std::string>() == "input" && !active["readOnly"].as<bool>() &&
               attributeOf(active, "inputmode") != "none";
    }
    void type(int band, const std::string& text) override {
        keyTo(suite::listName(band), "a", 2);
        if (text.empty()) {
            key("Backspace");
            return;
        }
        host(request("type", {{"text", val(text)}}));
    }

    RandomRun run_;
    std::optional<double> scale_;
    bool touch_ = false;
    bool resized_ = false;
    val place_ = val::undefined();
};

}  // namespace vaskelo::web
