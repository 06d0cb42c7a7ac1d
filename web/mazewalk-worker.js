// The page's service worker: it keeps the page, the program and the shipped
// mazes, so that after one visit the page starts without a network. The
// build writes the cache's name and its files (web/OfflineCache.cmake): the
// name holds the version and a hash of every file kept, so any change of one
// makes a new cache, and the old one is dropped once this worker takes over.
'use strict';

const CacheName = '@MAZEWALK_CACHE_NAME@';
// Relative to this worker's folder, which is the page's.
const CachedFiles = @MAZEWALK_CACHED_FILES@;

self.addEventListener('install', function (event) {
    // 'reload': the copies are the server's files now, never a stale HTTP
    // cache's, so they are the files the name was hashed from.
    const fresh = CachedFiles.map((file) => new Request(file, {cache: 'reload'}));
    event.waitUntil(caches.open(CacheName)
        .then((cache) => cache.addAll(fresh))
        .then(() => self.skipWaiting()));
});

// Drops the caches of this page's older builds: those that hold this page.
// Another copy of the site in another folder of the same origin keeps its own.
self.addEventListener('activate', function (event) {
    event.waitUntil((async function () {
        for (const name of await caches.keys()) {
            if (name !== CacheName && name.startsWith('mazewalk-')
                && await (await caches.open(name)).match(self.registration.scope)) {
                await caches.delete(name);
            }
        }
        await self.clients.claim();
    })());
});

// A level is read from the network first, so an edited file is seen at once,
// and kept; offline the kept copy answers, and a level never read is missing,
// as it is without a worker. Everything else comes from the cache first. The
// page asks for levels with cache 'no-cache', which the cache lookup ignores.
async function level(request) {
    try {
        const response = await fetch(request);
        if (response.ok) {
            const copy = response.clone();
            caches.open(CacheName).then((cache) => cache.put(request, copy));
        }
        return response;
    } catch (error) {
        const kept = await caches.match(request, {ignoreSearch: true});
        if (kept) {
            return kept;
        }
        throw error;
    }
}

async function cacheFirst(request) {
    return (await caches.match(request, {ignoreSearch: true})) || fetch(request);
}

self.addEventListener('fetch', function (event) {
    const url = new URL(event.request.url);
    if (event.request.method !== 'GET' || url.origin !== self.location.origin) {
        return;
    }
    event.respondWith(url.pathname.endsWith('.dat') ? level(event.request)
        : cacheFirst(event.request));
});
