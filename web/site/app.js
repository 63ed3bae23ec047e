// SPDX-License-Identifier: MIT
// The page: files in, levels listed and checked at once (and again when a
// watched file is saved), conversions run in the engine's worker, the
// question asked in a dialog, results shown.
import {FolderWatch, existing, writeInto} from './folders.js';
import {MapView} from './map-view.js';

const serviceWorker = navigator.serviceWorker;
const registered = serviceWorker ? serviceWorker.register('sw.js') : Promise.reject(new Error('no service worker'));

// The question's handshake needs cross-origin isolation. From a host that
// does not send its headers, the page is isolated once the service worker,
// which adds them, answers for it: on the first visit, after one reload.
const summary = document.getElementById('summary');
if (!window.crossOriginIsolated) {
  const explain = () => {
    summary.textContent = 'This page needs cross-origin isolation to ask its questions: its host must send ' +
      'Cross-Origin-Opener-Policy: same-origin and Cross-Origin-Embedder-Policy: require-corp.';
  };
  if (serviceWorker && !serviceWorker.controller) {
    registered.then(() => serviceWorker.ready).then(() => window.location.reload(), explain);
  } else explain();
  throw new Error('not cross-origin isolated');
}

const worker = new Worker('worker.js');
const handshake = new Int32Array(new SharedArrayBuffer(8));
worker.postMessage({handshake: handshake.buffer});

const pending = new Map();  // request id -> {resolve, reject, prompt}
let nextId = 0;

function request(name, argument, prompt = () => {}) {
  const id = ++nextId;
  worker.postMessage({id, request: name, argument});
  return new Promise((resolve, reject) => pending.set(id, {resolve, reject, prompt}));
}

worker.onmessage = ({data}) => {
  const waiting = pending.get(data.id);
  if (!waiting) return;
  if (data.kind === 'done' || data.kind === 'failed') {
    pending.delete(data.id);
    if (data.kind === 'done') waiting.resolve(data.answer);
    else waiting.reject(new Error(data.error));
    return;
  }
  waiting.prompt(data);
};

function answer(yes) {
  Atomics.store(handshake, 1, yes ? 1 : 0);
  Atomics.store(handshake, 0, 1);
  Atomics.notify(handshake, 0);
}

// Asks `text` with Yes and No; Escape answers no.
const question = document.getElementById('question');
function ask(text) {
  document.getElementById('question-text').textContent = text;
  question.returnValue = '';
  question.showModal();
  return new Promise((resolve) => {
    question.addEventListener('close', () => resolve(question.returnValue === 'yes'), {once: true});
  });
}

function element(tag, attributes = {}, text = '') {
  const made = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
  if (text) made.textContent = text;
  return made;
}

function button(text, action, attributes = {}) {
  const made = element('button', {type: 'button', ...attributes}, text);
  made.addEventListener('click', action);
  return made;
}

const held = new Map();  // path as dropped -> {path, file, handle (when watched)}
let levels = [];  // the level names the engine finds among the held files
const levelsShown = document.getElementById('levels');
const levelViews = new Map();  // level name -> {view, problems} of its last check

function levelElement(level) {
  let shown = levelsShown.querySelector(`[data-level="${CSS.escape(level)}"]`);
  if (shown) return shown;
  shown = element('article', {'data-level': level, 'aria-label': level});
  const actions = element('p', {class: 'actions'});
  actions.append(button('Convert', () => convertLevels([level])), ' ',
                 button('Check again', () => checkAgain([level])), ' ',
                 button('Show map', () => showMap(level).then(() => canvas.focus())));
  shown.append(element('h2', {}, level), actions, element('p', {class: 'note', role: 'status'}),
               element('ul', {class: 'problems', 'aria-label': `Problems of ${level}`}),
               element('div', {class: 'messages'}));
  levelsShown.append(shown);
  return shown;
}

function field(value) {
  return value === null || value === undefined ? '' : String(value);
}

function problemItem(level, problem) {
  const item = element('li', {
    'data-problem': '', 'data-code': problem.code, 'data-severity': problem.severity,
    'data-file': field(problem.file), 'data-line': field(problem.line),
    'data-x': field(problem.x), 'data-y': field(problem.y),
  });
  const place = problem.line !== null ? `:${problem.line}` : '';
  item.textContent = `${problem.file}${place}: ${problem.severity}: ${problem.message} [${problem.code}]`;
  if (problem.x === null && problem.line === null) return item;
  // A problem with a place is chosen by click, Enter or Space: its pixel is
  // shown on the map, its line of the config file under it.
  item.tabIndex = 0;
  const choose = () => (problem.x !== null ? showMap(level, problem) : showLine(item, problem));
  item.addEventListener('click', choose);
  item.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' && event.key !== ' ') return;
    event.preventDefault();
    choose();
  });
  return item;
}

async function checkLevel(level) {
  const shown = levelElement(level);
  const {report, view} = await request('check', level);
  const checked = report.levels[0];
  shown.querySelector('.note').textContent = '';
  const list = shown.querySelector('.problems');
  list.replaceChildren(...checked.problems.map((problem) => problemItem(level, problem)));
  if (checked.problems.length === 0) list.append(element('li', {}, 'No problems found.'));
  levelViews.set(level, {view, problems: checked.problems});
  if (view && !mapView.shown) await showMap(level);
  else if (view) await mapView.update(level, view, checked.problems);
  else if (mapView.shown?.level === level) hideMap();
}

// The levels whose sources `path` may be: those whose prefix it begins
// with, letter case aside, in the same folder.
function levelsOf(path) {
  const name = path.toLowerCase();
  return levels.filter((level) => {
    const prefix = level.toLowerCase();
    return name.startsWith(prefix) && !name.slice(prefix.length).includes('/');
  });
}

// The engine's list of levels is now `names`, after the files at `paths`
// came, changed or went: levels gone are taken off the page, new ones and
// those with a source among `paths` are checked.
async function levelsChanged(names, paths) {
  const before = new Set(levels);
  for (const level of levels.filter((level) => !names.includes(level))) {
    levelElement(level).remove();
    levelViews.delete(level);
    if (mapView.shown?.level === level) hideMap();
  }
  levels = names;
  const touched = new Set(paths.flatMap(levelsOf));
  const added = levels.filter((level) => !before.has(level));
  if (added.length) levelsShown.append(...levels.map(levelElement));
  for (const level of levels) if (!before.has(level) || touched.has(level)) await checkLevel(level);
  const sources = [...held.keys()].filter((path) => !isLevelFile(path)).length;
  summary.textContent = `${levels.length} level${levels.length === 1 ? '' : 's'} found among ${sources} files.`;
  convertAll.disabled = checkAll.disabled = levels.length === 0;
}

function isLevelFile(path) {
  return /\.lev$/i.test(path);
}

// Takes in files, each {path, file, handle}: a file of a path held before
// replaces the old one.
async function addFiles(files) {
  if (files.length === 0) return;
  for (const dropped of files) held.set(dropped.path, dropped);
  const names = await request('add', files.map(({path, file}) => ({path, file})));
  await levelsChanged(names, files.map(({path}) => path));
  for (const {path} of files.filter(({path}) => isLevelFile(path))) await showLevelFile(path);
}

async function removeFiles(paths) {
  for (const path of paths) {
    held.delete(path);
    document.querySelector(`[data-level-file="${CSS.escape(path)}"]`)?.remove();
    if (mapView.shown?.level === path) hideMap();
  }
  await levelsChanged(await request('remove', paths), paths);
}

// Checks the levels again with their files as they are now: a watched
// file is read afresh; a picked one saved since it was picked can no
// longer be read (the browser allows only the version picked), which is
// told beside its level.
async function checkAgain(names) {
  for (const level of names) {
    const sources = [...held.values()].filter(({path}) => levelsOf(path).includes(level));
    const fresh = [], stale = [];
    for (const source of sources) {
      const file = source.handle ? await source.handle.getFile().catch(() => null) : source.file;
      if (!file || !(await readable(file))) stale.push(source.path);
      else if (file.lastModified !== source.file.lastModified || file.size !== source.file.size) {
        fresh.push({...source, file});
      }
    }
    if (fresh.length) await addFiles(fresh);  // which checks the level
    else await checkLevel(level);
    if (stale.length) {
      levelElement(level).querySelector('.note').textContent =
        `${stale.join(', ')} changed after ${stale.length === 1 ? 'it was' : 'they were'} picked: ` +
        'pick or drop the new version to check it.';
    }
  }
}

async function readable(file) {
  try {
    await file.slice(0, 1).arrayBuffer();
    return true;
  } catch {
    return false;
  }
}

// Converts the levels as one batch: each level's messages and its level
// file shown in its element, the batch's failure summary under the list.
async function convertLevels(names) {
  const shownMessages = new Map();
  for (const level of names) {
    const messages = levelElement(level).querySelector('.messages');
    messages.replaceChildren();
    delete levelElement(level).dataset.converted;
    shownMessages.set(level, messages);
  }
  summary.replaceChildren();
  const {files} = await request('convert', names, (prompt) => {
    if (prompt.kind === 'message') shownMessages.get(prompt.level).append(element('p', {'data-message': ''}, prompt.text));
    if (prompt.kind === 'batch') summary.append(element('p', {'data-message': ''}, prompt.text));
    if (prompt.kind === 'question') ask(prompt.text).then(answer);
  });
  for (const [level, file] of Object.entries(files)) {
    const name = level.split('/').pop() + '.lev';
    const link = element('a', {download: name, href: URL.createObjectURL(file)}, `Download ${name}`);
    shownMessages.get(level).append(link);
  }
  // Tests wait for this: every message and link of the batch is shown.
  for (const level of names) levelElement(level).dataset.converted = level in files ? 'yes' : 'no';
}

const convertAll = document.getElementById('convert-all');
const checkAll = document.getElementById('check-again');
convertAll.addEventListener('click', () => convertLevels(levels));
checkAll.addEventListener('click', () => checkAgain(levels));

// A config problem's line, with the lines around it, under its item.
async function showLine(item, problem) {
  const wanted = problem.file.toLowerCase();
  const source = held.get(problem.file) ?? [...held.values()].find(({path}) => path.toLowerCase() === wanted);
  const excerpt = element('figure', {class: 'excerpt'});
  item.closest('[data-level]').querySelector('.excerpt')?.remove();
  item.after(excerpt);
  if (!source || !(await readable(source.file))) {
    excerpt.textContent = `${problem.file} can no longer be read: pick or drop it again.`;
    return;
  }
  const lines = new TextDecoder('windows-1252').decode(await source.file.arrayBuffer()).split('\n');
  const shown = element('pre');
  for (let number = Math.max(1, problem.line - 2); number <= Math.min(lines.length, problem.line + 2); ++number) {
    const text = lines[number - 1].replace(/\r$/, '');
    const line = element(number === problem.line ? 'mark' : 'span', {class: 'line', 'data-number': number}, text || ' ');
    shown.append(line, '\n');
  }
  excerpt.append(element('figcaption', {}, `${problem.file}, line ${problem.line}`), shown);
}

async function showLevelFile(path) {
  const [document_] = await request('info', path);
  const shown = element('article', {'data-level-file': path, 'aria-label': path});
  const results = element('div', {class: 'messages'});
  const actions = element('p', {class: 'actions'});
  actions.append(button('Unpack', () => unpack(path, results)));
  if ('showDirectoryPicker' in window) actions.append(' ', button('Unpack into a folder…', () => unpackInto(path, results)));
  const {marks, view} = await request('picture', path);
  if (view) actions.append(' ', button('Show picture', () => showPicture(path, view, marks).then(() => canvas.focus())));
  shown.append(element('h2', {}, path),
               element('pre', {'data-info': ''}, JSON.stringify(document_, null, 2)), actions,
               objectList(path, view, marks ?? []), results);
  const old = document.querySelector(`[data-level-file="${CSS.escape(path)}"]`);
  if (old) old.replaceWith(shown);
  else document.getElementById('level-files').append(shown);
}

// The objects of a level file with a picture, each chosen by click, Enter
// or Space to show its place on the picture.
function objectList(path, view, marks) {
  const list = element('ul', {class: 'objects', 'aria-label': `Objects of ${path}`});
  if (!view) return list;
  for (const mark of marks) {
    const item = element('li', {'data-object': '', 'data-kind': mark.kind, 'data-x': mark.x, 'data-y': mark.y, tabindex: 0},
                         `kind ${mark.kind} at x=${mark.x} y=${mark.y}`);
    const choose = () => showPicture(path, view, marks, mark);
    item.addEventListener('click', choose);
    item.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter' && event.key !== ' ') return;
      event.preventDefault();
      choose();
    });
    list.append(item);
  }
  return list;
}

async function showPicture(path, view, marks, chosen = null) {
  map.hidden = false;
  await mapView.show(path, view, [], chosen, marks);
}

// Unpacks into the worker's memory; shows the engine's error or the
// differences it found, and returns the files, each {name, file}.
async function unpacked(path, results) {
  const answer = await request('unpack', path);
  results.replaceChildren();
  if (answer.error) results.append(element('p', {'data-message': ''}, answer.error));
  for (const difference of answer.differences) results.append(element('p', {'data-message': ''}, difference));
  return answer.files;
}

async function unpack(path, results) {
  const list = element('ul');
  for (const {name, file} of await unpacked(path, results)) {
    const item = element('li');
    item.append(element('a', {download: name, href: URL.createObjectURL(file)}, name));
    list.append(item);
  }
  results.append(list);
}

// Writes the unpacked sources into a folder the person picks, asking
// first when any of them would replace a file there.
async function unpackInto(path, results) {
  let folder;
  try {
    folder = await window.showDirectoryPicker({id: 'unpack', mode: 'readwrite'});
  } catch {
    return;  // not picked
  }
  const files = await unpacked(path, results);
  if (files.length === 0) return;
  const there = await existing(folder, files.map(({name}) => name));
  if (there.length && !(await ask(`${folder.name} holds ${there.join(', ')} already. Replace ${there.length === 1 ? 'it' : 'them'}?`))) {
    results.append(element('p', {role: 'status'}, `Nothing written into ${folder.name}.`));
    return;
  }
  await writeInto(folder, files);
  results.append(element('p', {role: 'status'}, `Written into ${folder.name}: ${files.map(({name}) => name).join(', ')}`));
}

// Map view: the check's picture of the level chosen.
const map = document.getElementById('map');
const canvas = document.getElementById('map-view');
const mapView = new MapView({
  canvas, overview: document.getElementById('map-overview'),
  caption: document.getElementById('map-level'), position: document.getElementById('map-position'),
});

async function showMap(level, problem = null) {
  const entry = levelViews.get(level);
  if (!entry || !entry.view) return;
  map.hidden = false;
  await mapView.show(level, entry.view, entry.problems, problem);
}

function hideMap() {
  mapView.clear();
  map.hidden = true;
}

document.getElementById('zoom-in').addEventListener('click', () => mapView.zoom(2));
document.getElementById('zoom-out').addEventListener('click', () => mapView.zoom(0.5));
document.getElementById('zoom-fit').addEventListener('click', () => { mapView.fit(); mapView.draw(); });

// Watching: folders and files the browser lets the page keep open are
// looked at about twice a second, and the levels of a saved file checked
// again.
const watch = new FolderWatch(async ({changed, removed}) => {
  if (removed.length) await removeFiles(removed);
  await addFiles(changed);
});
const watching = document.getElementById('watching');

export async function watchHandles(handles) {
  const files = [];
  for (const handle of handles) files.push(...await watch.add(handle));
  const names = [...new Set(watch.roots.map(({handle}) => handle.name + (handle.kind === 'directory' ? '/' : '')))];
  watching.textContent = `Watching ${names.join(', ')}: a level is checked again when one of its files is saved.`;
  await addFiles(files);
}

const openFolder = document.getElementById('open-folder');
if ('showDirectoryPicker' in window) {
  openFolder.hidden = false;
  openFolder.addEventListener('click', async () => {
    let folder;
    try {
      folder = await window.showDirectoryPicker({id: 'sources'});
    } catch {
      return;  // not picked
    }
    await watchHandles([folder]);
  });
}

// Files in: picked, a picked folder, or dropped (folders walked; kept open
// and watched where the browser gives handles for them).
function picked(input) {
  return [...input.files].map((file) => ({path: file.webkitRelativePath || file.name, file}));
}
document.getElementById('sources').addEventListener('change', (event) => addFiles(picked(event.target)));
document.getElementById('folder').addEventListener('change', (event) => addFiles(picked(event.target)));

async function entries(entry, into) {
  if (entry.isFile) {
    const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
    into.push({path: entry.fullPath.replace(/^\//, ''), file});
    return;
  }
  const reader = entry.createReader();
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (batch.length === 0) return;
    for (const child of batch) await entries(child, into);
  }
}
// While files are dragged over the page, it shows that it takes them.
let dragged = 0;
document.addEventListener('dragenter', () => document.body.classList.toggle('dragging', ++dragged > 0));
document.addEventListener('dragleave', () => document.body.classList.toggle('dragging', --dragged > 0));
document.addEventListener('dragover', (event) => event.preventDefault());
document.addEventListener('drop', async (event) => {
  event.preventDefault();
  dragged = 0;
  document.body.classList.remove('dragging');
  // Handles and entries must both be asked for before the event ends; the
  // entries serve where the browser gives no handle for every item.
  const items = [...event.dataTransfer.items].filter(({kind}) => kind === 'file');
  const asked = 'getAsFileSystemHandle' in DataTransferItem.prototype
    ? items.map((item) => item.getAsFileSystemHandle().catch(() => null)) : [];
  const walked = items.map((item) => item.webkitGetAsEntry());
  const handles = await Promise.all(asked);
  if (handles.length && handles.every(Boolean)) {
    await watchHandles(handles);
    return;
  }
  const files = [];
  for (const entry of walked) {
    if (entry) await entries(entry, files);
  }
  addFiles(files);
});
