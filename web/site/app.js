// SPDX-License-Identifier: MIT
// The page: files in, levels listed and checked at once (and again when a
// watched file is saved), conversions run in the engine's worker, the
// question asked in a dialog, results shown. Each panel is a module of its
// own; this one puts them together.
import {EngineBridge} from './bridge.js';
import {Composer} from './composer.js';
import {Inspector} from './inspector.js';
import {Legend} from './legend.js';
import {LevelFilesPanel} from './level-file.js';
import {LevelsPanel} from './levels.js';
import {MapPanel} from './map-panel.js';
import {ask} from './question.js';
import {Sources} from './sources.js';

const serviceWorker = navigator.serviceWorker;
const registered = serviceWorker ? serviceWorker.register('sw.js') : Promise.reject(new Error('no service worker'));

// The question's handshake needs cross-origin isolation. From a host that
// does not send its headers, the page is isolated once the service worker,
// which adds them, answers for it: on the first visit, after one reload.
if (!window.crossOriginIsolated) {
  const explain = () => {
    document.getElementById('summary').textContent = 'This page needs cross-origin isolation to ask its questions: ' +
      'its host must send Cross-Origin-Opener-Policy: same-origin and Cross-Origin-Embedder-Policy: require-corp.';
  };
  if (serviceWorker && !serviceWorker.controller) {
    registered.then(() => serviceWorker.ready).then(() => window.location.reload(), explain);
  } else explain();
  throw new Error('not cross-origin isolated');
}

const bridge = new EngineBridge(new Worker('worker.js', {type: 'module'}), ask);
// The engine's requests are tested one by one (web/tests/engine-requests.test.js)
// through the bridge, reached only when the page is loaded with ?test.
if (new URLSearchParams(window.location.search).has('test')) window.zurBridge = bridge;
const map = new MapPanel();
new Legend(bridge, map, document.getElementById('legend-panel'));
new Inspector(bridge, map, document.getElementById('inspector-panel'));
new Composer(bridge, document.getElementById('composer-panel'));
const levels = new LevelsPanel(bridge, map, new LevelFilesPanel(bridge, map, ask), ask,
                               (path) => sources.watch.folderOf(path));
const sources = new Sources(levels);

// Watches folders and files the browser keeps open (FileSystemHandles).
export function watchHandles(handles) {
  return sources.watchHandles(handles);
}
