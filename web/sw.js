// Keeps the whole site in one cache named by its version, so the page opens
// without a network. tools/web-build.sh writes the version (a hash of the site)
// and the file list below. A new version is cached in the background and waits
// until a page asks for it ("skip-waiting") or no page of the old one is open.
'use strict';

const VERSION = '@VERSION@';
const FILES = [/* @FILES@ */];
// Caches are shared by the whole origin: named by scope too, so that two copies of
// the site under different paths never delete each other's.
const PREFIX = `quillory ${self.registration.scope} `;
const CACHE = PREFIX + VERSION;

self.addEventListener('install', (event) => {
  // cache: 'reload' so that no stale copy from the HTTP cache enters the new version.
  event.waitUntil(caches.open(CACHE).then((cache) =>
    cache.addAll(FILES.map((file) => new Request(file, { cache: 'reload' })))));
});

self.addEventListener('activate', (event) => {
  // Only this program's old caches go; IndexedDB (the learner's record) is not touched.
  event.waitUntil(caches.keys()
    .then((keys) => Promise.all(keys.filter((key) => key.startsWith(PREFIX) && key !== CACHE)
      .map((key) => caches.delete(key))))
    .then(() => self.clients.claim()));
});

self.addEventListener('message', (event) => {
  if (event.data === 'skip-waiting') event.waitUntil(self.skipWaiting());
});

async function respond(request) {
  const cache = await caches.open(CACHE);
  const url = new URL(request.url);
  if (request.mode === 'navigate') {
    // ./ and ./index.html?today=... are the page itself.
    const page = url.pathname.endsWith('/') ? new URL('index.html', url) : url;
    const hit = await cache.match(page.href, { ignoreSearch: true });
    if (hit) return hit;
  } else {
    const hit = await cache.match(request, { ignoreSearch: true });
    if (hit) return hit;
  }
  return fetch(request);
}

self.addEventListener('fetch', (event) => {
  const request = event.request;
  const scope = self.registration.scope;
  if (request.method !== 'GET' || !request.url.startsWith(scope)) return;
  event.respondWith(respond(request));
});
