// Keeps the site usable without a network: every file is fetched from the network when it can
// be (so a new version is seen at once) and kept; when the network fails, the kept copy serves.
const kCache = "tarvelo";

self.addEventListener("install", () => self.skipWaiting());
self.addEventListener("activate", (event) => event.waitUntil(self.clients.claim()));

self.addEventListener("fetch", (event) => {
  const request = event.request;
  if (request.method !== "GET" || new URL(request.url).origin !== self.location.origin) return;
  event.respondWith(
    (async () => {
      const cache = await caches.open(kCache);
      try {
        const response = await fetch(request);
        if (response.ok) await cache.put(request, response.clone());
        return response;
      } catch (error) {
        const kept = await cache.match(request);
        if (kept !== undefined) return kept;
        throw error;
      }
    })(),
  );
});
