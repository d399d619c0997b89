// Build tool's page, under Node.js: just enough of a document for the window to be built
// in, and its markup written out as HTML. Nothing is laid out or drawn: what depends on
// the browser (colours read back, the picture's pixels, the zoom) is done again by the
// program when it takes the window over.
"use strict";
class StillStyle {
  constructor() { this.entries = new Map(); }
  setProperty(name, value) { this.entries.set(name, String(value)); }
  removeProperty(name) { this.entries.delete(name); }
  getPropertyValue(name) { return this.entries.get(name) ?? ""; }
  set cssText(text) {
    this.entries.clear();
    for (const declaration of String(text).split(";")) {
      const colon = declaration.indexOf(":");
      if (colon > 0) this.entries.set(declaration.slice(0, colon).trim(), declaration.slice(colon + 1).trim());
    }
  }
  get cssText() { return [...this.entries].map(([name, value]) => `${name}: ${value};`).join(" "); }
}
const kVoid = new Set(["input"]);
const stillRules = [];
// Properties the window sets that stand for an attribute in HTML.
const kReflected = { id: "id", className: "class", htmlFor: "for", value: "value" };
const escape = (text) => String(text).replace(/&/g, "&amp;").replace(/</g, "&lt;").replace(/>/g, "&gt;").replace(/"/g, "&quot;");
class StillElement {
  constructor(tag) {
    this.localName = tag;
    this.attributes = new Map();
    this.children = [];
    this.parentNode = null;
    this.style = new StillStyle();
    this.text = "";
    this.hidden = false;
    this.classList = { add: () => {}, remove: () => {}, contains: () => false };
  }
  get isConnected() { return true; }
  setAttribute(name, value) { this.attributes.set(name, String(value)); }
  getAttribute(name) { return this.attributes.get(name) ?? null; }
  removeAttribute(name) { this.attributes.delete(name); }
  append(child) {
    if (child.parentNode) child.remove();
    child.parentNode = this;
    this.children.push(child);
  }
  remove() {
    if (!this.parentNode) return;
    this.parentNode.children = this.parentNode.children.filter((c) => c !== this);
    this.parentNode = null;
  }
  set textContent(text) { this.children = []; this.text = String(text); }
  get textContent() { return this.text + this.children.map((c) => c.textContent).join(""); }
  querySelectorAll() { return []; }
  querySelector() { return null; }
  contains(other) { for (let e = other; e; e = e.parentNode) if (e === this) return true; return false; }
  getBoundingClientRect() { return { left: 0, top: 0, right: 0, bottom: 0, width: 0, height: 0 }; }
  getContext() { return { putImageData: (image) => { this.image = image; } }; }
  focus() {}
  addEventListener() {}
  get offsetWidth() { return 0; }
  get offsetHeight() { return 0; }
  outerHTML() {
    const attributes = new Map();
    for (const [property, name] of Object.entries(kReflected)) if (this[property] !== undefined && this[property] !== "") attributes.set(name, this[property]);
    if (this.hidden) attributes.set("hidden", "");
    for (const [name, value] of this.attributes) attributes.set(name, value);
    // A style attribute is inline style, which the page's Content-Security-Policy refuses in
    // markup: the element's style becomes a rule of the style sheet, under a class of its own.
    // The picture as the program paints it at 96 dpi, until it paints it again on the
    // screen's own pixels; in the style sheet itself, so that it comes with the first frame.
    if (this.image) {
      this.style.setProperty("background-image", `url(data:image/png;base64,${png(this.image).toString("base64")})`);
      this.style.setProperty("background-size", "100% 100%");
    }
    if (this.style.entries.size) {
      const name = `vaskelo-still-${stillRules.length}`;
      stillRules.push(`.${name} { ${this.style.cssText} }`);
      attributes.set("class", `${attributes.get("class") ?? ""} ${name}`.trim());
    }
    const open = `<${this.localName}${[...attributes].map(([n, v]) => (v === "" && n === "hidden" ? ` ${n}` : ` ${n}="${escape(v)}"`)).join("")}>`;
    if (kVoid.has(this.localName)) return open;
    return open + escape(this.text) + this.children.map((c) => c.outerHTML()).join("") + `</${this.localName}>`;
  }
}
globalThis.document = {
  title: "",
  documentElement: { clientWidth: 1024, clientHeight: 768, classList: { add() {} } },
  createElement: (tag) => new StillElement(tag),
  addEventListener() {},
  activeElement: null,
};
globalThis.addEventListener = () => {};
globalThis.devicePixelRatio = 1;
globalThis.scrollX = 0;
globalThis.scrollY = 0;
globalThis.matchMedia = () => ({ matches: false, addEventListener() {} });
// System colours read back as a light scheme has them: the still picture's swatches show
// the window background until the program paints them in the browser's own.
const kLight = { canvas: "rgb(255, 255, 255)", buttonface: "rgb(240, 240, 240)" };
globalThis.getComputedStyle = (e) => ({ color: kLight[e.style.getPropertyValue("color").toLowerCase()] ?? "rgb(0, 0, 0)",
                                        getPropertyValue: (name) => e.style.getPropertyValue(name) });
globalThis.ImageData = class { constructor(data, width, height) { Object.assign(this, { data, width, height }); } };
// The window as the page shows it until the program takes it over: busy, and deaf to input.
Module["vaskeloStillMarkup"] = (window) => {
  window.className += " vaskelo-still";
  // The colours the window reads back from the browser are left to the browser's own
  // until the program reads them there.
  for (const name of [...window.style.entries.keys()]) if (name.startsWith("--vaskelo-")) window.style.removeProperty(name);
  window.setAttribute("inert", "");
  window.setAttribute("aria-busy", "true");
  return window.outerHTML();
};
Module["vaskeloStillStyle"] = () => stillRules.join("\n") + "\n";
// A painted image as PNG: RGBA rows, each behind filter 0.
function png(image) {
  // No destructuring here: this emscripten's JS optimizer mangles it.
  const width = image.width;
  const height = image.height;
  const data = image.data;
  const zlib = require("zlib");
  const rows = Buffer.alloc((width * 4 + 1) * height);
  for (let y = 0; y < height; ++y) Buffer.from(data.buffer, data.byteOffset + y * width * 4, width * 4).copy(rows, y * (width * 4 + 1) + 1);
  const chunk = (kind, body) => {
    const head = Buffer.alloc(4);
    head.writeUInt32BE(body.length);
    const typed = Buffer.concat([Buffer.from(kind, "latin1"), body]);
    const crc = Buffer.alloc(4);
    crc.writeUInt32BE(crc32(typed));
    return Buffer.concat([head, typed, crc]);
  };
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 6, 0, 0, 0], 8);
  return Buffer.concat([Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]), chunk("IHDR", header),
    chunk("IDAT", zlib.deflateSync(rows, { level: 9 })), chunk("IEND", Buffer.alloc(0))]);
}
// PNG's checksum (Node.js before 22 has no zlib.crc32).
function crc32(bytes) {
  let crc = ~0;
  for (const byte of bytes) {
    crc ^= byte;
    for (let k = 0; k < 8; ++k) crc = (crc >>> 1) ^ (0xedb88320 & -(crc & 1));
  }
  return ~crc >>> 0;
}
