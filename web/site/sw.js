// SPDX-License-Identifier: MIT
// Keeps the page's own files, so that after the first visit it works with no
// network. Every answer carries the isolation headers the question's
// handshake (a SharedArrayBuffer) needs, cached or not.
const kCache = 'zurconv-web-8';
const kFiles = ['./', 'index.html', 'app.js', 'bridge.js', 'dom.js', 'dropped-files.js', 'folders.js', 'level-file.js',
                'levels.js', 'levels-zip.js', 'fflate.js', 'map-panel.js', 'map-view.js', 'problems.js', 'protocol.js',
                'question.js', 'read-ahead.js', 'reader.js', 'sources.js', 'worker.js', 'style.css', 'zur_web.js',
                'zur_web.wasm', 'manifest.webmanifest', 'zurconv-gui.svg', 'zurconv-gui-128.png',
                'workbench.css', 'composer.js', 'inspector.js', 'latest.js', 'layers.js', 'legend.js', 'objects.js',
                'reduce.js', 'reduce-worker.js', 'repair.js', 'stepping.js',
                // The palettes, for the paint programs.
                'zurconv.gpl', 'zurconv.act', 'zurconv-paintnet.txt'];

self.addEventListener('install', (event) => {
  event.waitUntil(caches.open(kCache).then((cache) => cache.addAll(kFiles)).then(() => self.skipWaiting()));
});
// Only this version's cache is kept.
self.addEventListener('activate', (event) => event.waitUntil((async () => {
  for (const name of await caches.keys()) if (name !== kCache) await caches.delete(name);
  await self.clients.claim();
})()));

function isolated(response) {
  const headers = new Headers(response.headers);
  headers.set('Cross-Origin-Opener-Policy', 'same-origin');
  headers.set('Cross-Origin-Embedder-Policy', 'require-corp');
  return new Response(response.body, {status: response.status, statusText: response.statusText, headers});
}

// The network first, so that a new version is seen at once; the cache when
// there is none.
self.addEventListener('fetch', (event) => {
  if (new URL(event.request.url).origin !== self.location.origin) return;
  event.respondWith((async () => {
    const cache = await caches.open(kCache);
    try {
      const response = await fetch(event.request);
      if (response.ok) await cache.put(event.request, response.clone());
      return isolated(response);
    } catch {
      const cached = await cache.match(event.request, {ignoreSearch: true});
      if (!cached) throw new Error('offline and not cached');
      return isolated(cached);
    }
  })());
});
