// The page's service worker: keeps one version of the site (the page, the program, the icons, the demos
// and the data files that the data folder's manifest names) in a cache of its own, answers from it first,
// and replaces it whole when a new version installs. It never touches the score table in IndexedDB. The
// build writes kSiteVersion, a digest of the site, and kSiteFiles, the site's files outside the data folder,
// above this text: a new build is a new worker, which the browser fetches on the next visit.
'use strict';

const kCachePrefix = 'coilrun-';
const kCacheName = kCachePrefix + kSiteVersion;
const kDataFolder = 'data/';
const kDataManifest = kDataFolder + 'files.json';

// Fetched past the browser's HTTP cache, which may still hold the files of the version before.
function fresh(url) {
  return new Request(url, { cache: 'no-cache' });
}

// The whole version or nothing: a file that cannot be fetched fails the install, and the version before
// stays in charge.
async function keepSite() {
  const response = await fetch(fresh(kDataManifest));
  if (!response.ok) throw new Error(kDataManifest + ': ' + response.status + ' ' + response.statusText);
  const manifest = await response.clone().json();
  const names = ['./', ...kSiteFiles, ...manifest.files.map(file => kDataFolder + file.name)];
  const cache = await caches.open(kCacheName);
  await cache.addAll(names.map(fresh));
  await cache.put(kDataManifest, response);
}

self.addEventListener('install', event => {
  event.waitUntil(keepSite().then(() => self.skipWaiting()));
});

// The new version takes over the open pages (they have all their files already) and the old one goes.
self.addEventListener('activate', event => {
  event.waitUntil((async () => {
    for (const name of await caches.keys()) {
      if (name.startsWith(kCachePrefix) && name !== kCacheName) await caches.delete(name);
    }
    await self.clients.claim();
  })());
});

// The page itself is one file whatever its query (a demo to replay); anything not kept goes to the network.
async function answer(request) {
  const cache = await caches.open(kCacheName);
  const kept = await cache.match(request, { ignoreSearch: request.mode === 'navigate' });
  return kept || fetch(request);
}

self.addEventListener('fetch', event => {
  const request = event.request;
  if (request.method !== 'GET' || new URL(request.url).origin !== location.origin) return;
  event.respondWith(answer(request));
});
