// Fits the window to a phone's screen, or to a viewport narrower than it: the whole
// window zoomed to the largest size the viewport holds, centred, and never below half its
// size (a smaller one stays whole and the page scrolls). Returns the zoom, 1 where the
// window stays as it is. One rule for both windows: the page's start script fits the
// still window the page carries before the first frame, the program its own.
"use strict";
globalThis.vaskeloFit = (window, width, height) => {
  const root = document.documentElement;
  const fit = Math.min(root.clientWidth / width, root.clientHeight / height);
  const fitted = (matchMedia("(pointer: coarse)").matches || root.clientWidth < width) && fit >= 0.5;
  const set = { "zoom": String(fit), "--vaskelo-zoom": String(fit), "margin": "0 auto" };
  Object.keys(set).forEach((property) => {
    if (fitted) {
      window.style.setProperty(property, set[property]);
    } else {
      window.style.removeProperty(property);
    }
  });
  return fitted ? fit : 1;
};
