// The published site's service worker: it keeps every file of the site in a cache named after the
// build, answers from that cache first so that the game plays with the network off, and deletes
// the caches of older builds. scripts/web.sh fills in the build's version and the site's files.
const CACHE = 'fizzgrid-@VERSION@';
const FILES = [@FILES@];

self.addEventListener('install', (event) => {
  // Fetched past the browser's HTTP cache, which may still hold an older build's files. A new
  // build takes over at once: the page is one file, which keeps running on what it loaded.
  event.waitUntil(caches.open(CACHE)
    .then((cache) => cache.addAll(FILES.map((file) => new Request(file, {cache: 'reload'}))))
    .then(() => self.skipWaiting()));
});

self.addEventListener('activate', (event) => {
  event.waitUntil(caches.keys()
    .then((names) => Promise.all(names.filter((name) => name.startsWith('fizzgrid-') &&
                                              name !== CACHE).map((name) => caches.delete(name))))
    .then(() => self.clients.claim()));
});

self.addEventListener('fetch', (event) => {
  if (event.request.method !== 'GET') return;
  // A query string (a link shared with tracking added, say) names the same file.
  event.respondWith(caches.open(CACHE)
    .then((cache) => cache.match(event.request, {ignoreSearch: true}))
    .then((kept) => kept || fetch(event.request)));
});
