// Passes the window's DOM events on to the C++ layer, which decides what each does
// and whether the browser's own handling of it goes ahead.
// Returns the AbortController that removes every listener when the window goes.
Module["vaskeloListen"] = function (root, form) {
  const done = new AbortController();
  const options = { signal: done.signal };
  // One event at a time, as a desktop toolkit delivers them: the browser raises some
  // events inside the program's own calls (a focusout inside focus(), focus events
  // inside showModal()), and entering the program again there would run a second
  // handler in the middle of the first. Those wait here until the first returns.
  let inside = false;
  const waiting = [];
  const deliver = (type, control, part, key, modifiers, event) => {
    if (inside) {
      waiting.push([type, control, part, key, modifiers, null]);  // too late by then to prevent its default
      return;
    }
    inside = true;
    try {
      Module["vaskeloEvent"](form, type, control, part, key, modifiers, event);
      while (waiting.length > 0) Module["vaskeloEvent"](form, ...waiting.shift());
    } finally {
      inside = false;
      waiting.length = 0;
    }
  };
  // A tap comes as a mouse press and a click, after the pointer's own press that says a
  // finger made it; a swipe comes as no click at all, so it never picks.
  let byFinger = false;
  document.addEventListener("pointerdown", (e) => { byFinger = e.pointerType === "touch" || e.pointerType === "pen"; },
                            { signal: done.signal, capture: true });
  const send = (type, event) => {
    const target = event && event.target instanceof Element ? event.target : null;
    const control = target ? target.closest("[data-control]") : null;
    const part = target ? target.closest("[data-part]") : null;
    const modifiers = event ? (event.altKey ? 1 : 0) | (event.ctrlKey ? 2 : 0) | (event.metaKey ? 4 : 0) | (event.shiftKey ? 8 : 0) |
                              (type === "mousedown" && byFinger ? 16 : 0) : 0;
    deliver(type, control ? control.dataset.control : "", part ? part.dataset.part : "", (event && event.key) || "",
            modifiers, event);
  };
  // Keys anywhere in the page: the window is all of it (F10 reaches the menus from anywhere).
  document.addEventListener("keydown", (e) => send("keydown", e), options);
  root.addEventListener("click", (e) => send("click", e), options);
  root.addEventListener("focusout", (e) => send("focusout", e), options);
  document.addEventListener("mousedown", (e) => {
    if (e.button === 0) send(root.contains(e.target) ? "mousedown" : "outside", e);
  }, options);
  // The picture is drawn in device pixels: again when zoom or a move to another screen changes them.
  const watchScale = () => {
    matchMedia(`(resolution: ${devicePixelRatio}dppx)`).addEventListener("change", () => {
      send("rescale", null);
      watchScale();
    }, { signal: done.signal, once: true });
  };
  watchScale();
  for (const query of ["(prefers-color-scheme: dark)", "(forced-colors: active)", "(prefers-contrast: more)"]) {
    matchMedia(query).addEventListener("change", () => send("scheme", null), options);
  }
  // The window fits a phone's screen, again when it is turned or a touch screen becomes the pointer.
  addEventListener("resize", () => send("resize", null), options);
  matchMedia("(pointer: coarse)").addEventListener("change", () => send("resize", null), options);
  return done;
};
