// Keeps the page working without a network once it has been opened from a web
// server: the page, its manifest and its icon are kept in the browser's cache as
// they were last fetched. While the server answers, its answer is taken (and kept);
// when it does not, the kept copy.
"use strict";

const kCache = "procesor";
const kFiles = ["procesor.html", "manifest.webmanifest", "procesor.svg"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => {
  event.waitUntil(self.clients.claim());
});

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(kCache);
    try {
      const answer = await fetch(request);
      if (answer.ok) await cache.put(request, answer.clone());
      return answer;
    } catch (error) {
      const kept = await cache.match(request, { ignoreSearch: true });
      if (kept) return kept;
      throw error;
    }
  })());
});
