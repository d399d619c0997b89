// Keeps Vaskelo working without a network once it has been opened: every file of the
// site is kept on install and served from there first. The cache's name is a digest
// of the site's files, written in when the site is built, so any change to the site
// makes a new worker with a new cache and the old one is dropped once it takes over.
"use strict";

const PREFIX = "vaskelo " + self.registration.scope + " ";
const CACHE = PREFIX + "@VASKELO_WEB_DIGEST@";
const FILES = [@VASKELO_WEB_FILES@];

self.addEventListener("install", (event) => {
  // Past the browser's HTTP cache, so that a new worker never keeps an old file.
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, { cache: "reload" })))));
});

self.addEventListener("activate", (event) => {
  // Only this site's older caches go: other pages of the same host keep theirs.
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names
      .filter((name) => name.startsWith(PREFIX) && name !== CACHE)
      .map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(request, { ignoreSearch: true }))
    .then((kept) => kept || fetch(request)));
});
