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
  getContext() { return { putImageData: () => {} }; }
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
globalThis.matchMedia = () => ({ matches: false, addEventListener() {} });
globalThis.getComputedStyle = (e) => ({ color: "rgb(0, 0, 0)", getPropertyValue: (name) => e.style.getPropertyValue(name) });
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
