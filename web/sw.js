// Keeps the page's files so that the page opens and summarises without the
// server: the files are stored when the worker is installed, each request
// goes to the network first, and the stored copy answers when the network
// does not.
const kCache = "abrivo-page";
const kFiles = ["./", "index.html", "style.css", "icon.svg", "page.mjs", "textfile.mjs",
                "samples.mjs", "worker.js", "abrivo.js", "abrivo.wasm"];

self.addEventListener("install", (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles))
                      .then(() => self.skipWaiting()));
});

self.addEventListener("activate", (event) => event.waitUntil(self.clients.claim()));

self.addEventListener("fetch", (event) => {
  if (event.request.method !== "GET") return;
  event.respondWith((async () => {
    try {
      const response = await fetch(event.request);
      if (response.ok) {
        const cache = await caches.open(kCache);
        await cache.put(event.request, response.clone());
      }
      return response;
    } catch (error) {
      const stored = await caches.match(event.request, { ignoreSearch: true });
      if (stored) return stored;
      throw error;
    }
  })());
});
