// Records the page's faults, whatever browser runs it, for the test's host to collect:
// uncaught errors and rejections, blocked resources, and console errors.
"use strict";
globalThis.vaskeloFaults = [];
addEventListener("error", (e) => vaskeloFaults.push(`error: ${e.message || "a resource failed: " + (e.target?.src || e.target?.href || e.target?.localName)}`), true);
addEventListener("unhandledrejection", (e) => vaskeloFaults.push(`unhandled rejection: ${e.reason?.stack || e.reason}`));
addEventListener("securitypolicyviolation", (e) => vaskeloFaults.push(`blocked by the page's policy: ${e.violatedDirective} ${e.blockedURI}`));
const consoleError = console.error;
console.error = (...args) => {
    vaskeloFaults.push(`console.error: ${args.join(" ")}`);
    consoleError.apply(console, args);
};
// A host that cannot define vaskeloHost before the page's scripts run (WebKit's WebDriver)
// takes the page's requests, and what it prints, from these queues.
globalThis.vaskeloRequests ??= [];
globalThis.vaskeloOutput = [];
globalThis.vaskeloHost ??= (text) => {
    vaskeloRequests.push(text);
    globalThis.vaskeloWake?.();
};
const consoleLog = console.log;
console.log = (...args) => {
    vaskeloOutput.push(args.join(" "));
    consoleLog.apply(console, args);
};
