// Starts Vaskelo in the page: says in Turkish when the browser cannot run it or a
// file is missing or damaged, rather than leaving a dead window.
"use strict";
(function () {
  const place = document.getElementById("vaskelo");
  const failed = (why) => {
    // The page's still window goes: it would never take any input.
    for (const still of document.querySelectorAll(".vaskelo-still")) still.remove();
    if (document.querySelector(".vaskelo-failed")) return;
    const message = document.createElement("p");
    message.className = "vaskelo-failed";
    message.setAttribute("role", "alert");
    message.textContent = "Vaskelo açılamadı: " + why;
    place.append(message);
  };
  // The window the page carries fills a phone's screen from the first frame, as the program's will.
  const still = document.querySelector(".vaskelo-still");
  if (still) vaskeloFit(still, still.offsetWidth, still.offsetHeight);
  if (typeof WebAssembly !== "object" || typeof WebAssembly.instantiate !== "function") {
    failed("bu tarayıcı WebAssembly çalıştırmıyor. Güncel bir tarayıcıyla açın.");
    return;
  }
  window.Module = {
    vaskeloFailed: (message) => failed(message),
    onAbort: () => failed("programın dosyaları eksik ya da bozuk. Sayfayı yeniden yükleyin."),
    printErr: (text) => console.error(text),
    postRun: [() => {
      // After one visit the page opens offline too. The worker is registered once the
      // window's first frame is drawn, so that starting it does not delay that frame.
      if ("serviceWorker" in navigator && location.protocol !== "file:") {
        requestAnimationFrame(() => setTimeout(() => navigator.serviceWorker.register("sw.js").catch(() => {})));
      }
    }],
  };
  // A file the page names that did not arrive (a load error does not bubble, so it is caught on its way down).
  window.addEventListener("error", (event) => {
    if (event.target instanceof HTMLScriptElement) {
      failed("programın dosyaları yüklenemedi. Bağlantınızı denetleyip sayfayı yeniden yükleyin.");
    }
  }, true);
  // The program loads once the page's first frame, which already shows the window, is
  // drawn: nothing of it competes with that frame.
  requestAnimationFrame(() => setTimeout(() => {
    const program = document.createElement("script");
    program.src = "vaskelo.js";
    document.head.append(program);
  }));
})();
