// While the suite waits for the host, embind takes every event handler's call for one
// that went to sleep and would put off freeing its arguments to a promise that never
// settles; the program frees them at once, so the page under test does too.
Module["onRuntimeInitialized"] = () => {
  const handle = Module["vaskeloEvent"];
  Module["vaskeloEvent"] = (...args) => {
    const waiting = Asyncify.currData;
    Asyncify.currData = null;
    try {
      return handle(...args);
    } finally {
      Asyncify.currData = waiting;
    }
  };
};
