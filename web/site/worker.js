// SPDX-License-Identifier: MIT
// The engine's worker: the dropped files mounted where they were dropped,
// the engine's calls made one at a time, its prompts passed to the page.
// The illegal colour question blocks the engine until the page answers
// through the shared handshake: handshake[0] turns 1 when handshake[1]
// holds the answer (1 for yes).
importScripts('zur_web.js');

let handshake = null;
let job = null;  // the request whose prompts are being shown
let level = null;  // the level of the batch whose prompts are being shown
let mounts = 0;
let mask = null;  // the map view being drawn by the check

// The map view keeps at most this many pixels a side: a large map is
// sampled every `step` pixels, so that its view stays small.
const kViewSide = 4096;

const kEIO = 29;  // emscripten's number for EIO

function mkdirs(FS, path) {
  let at = '';
  for (const part of path.split('/').slice(0, -1)) {
    at += '/' + part;
    if (!FS.analyzePath(at).exists) FS.mkdir(at);
  }
}

const engine = createZurEngine({
  startLevel(name) { level = name; },
  showMessage(text, icon) { postMessage({id: job, kind: 'message', level, text, icon}); },
  showBatchFailure(text) { postMessage({id: job, kind: 'batch', text}); },
  ask(text) {
    Atomics.store(handshake, 0, 0);
    postMessage({id: job, kind: 'question', level, text});
    Atomics.wait(handshake, 0, 0);
    return Atomics.load(handshake, 1) === 1;
  },
  progress(position) { postMessage({id: job, kind: 'progress', position}); },
  maskOpen(width, height) {
    const step = Math.ceil(Math.max(width, height) / kViewSide);
    const image = new ImageData(Math.ceil(width / step), Math.ceil(height / step));
    mask = {width, height, step, image, row: 0};
    return true;
  },
  maskRow(rgb) {
    if (mask.row % mask.step === 0) {
      const out = mask.image.data;
      let at = (mask.row / mask.step) * mask.image.width * 4;
      for (let x = 0; x < mask.width; x += mask.step, at += 4) {
        out[at] = rgb[3 * x];
        out[at + 1] = rgb[3 * x + 1];
        out[at + 2] = rgb[3 * x + 2];
        out[at + 3] = 255;
      }
    }
    ++mask.row;
  },
  maskFinish() { return mask.row === mask.height; },
}).then((module) => {
  readsFailAsErrors(module.FS);
  module.FS.mkdir('/w');
  module.FS.mkdir('/src');
  module.FS.chdir('/w');
  return module;
});

// A file saved again after it was picked can no longer be read through
// the File the page holds: the read then fails as an I/O error, which the
// engine reports as a source it cannot read, rather than as an exception
// thrown through it.
function readsFailAsErrors(FS) {
  const operations = FS.filesystems.WORKERFS.stream_ops;
  const read = operations.read;
  operations.read = (...args) => {
    try {
      return read(...args);
    } catch (error) {
      if (error instanceof FS.ErrnoError) throw error;
      throw new FS.ErrnoError(kEIO);
    }
  };
}

// The files, each under its path as dropped, are linked into the working
// folder from a new read-only mount: a file dropped again replaces the old.
function add(module, files) {
  const FS = module.FS;
  const root = '/src/' + ++mounts;
  FS.mkdir(root);
  FS.mount(FS.filesystems.WORKERFS, {blobs: files.map(({path, file}) => ({name: path, data: file}))}, root);
  for (const {path, file} of files) {
    const link = '/w/' + path;
    mkdirs(FS, link);
    if (FS.analyzePath(link).exists) FS.unlink(link);
    // The level reader maps its file, which only the memory file system can.
    if (/\.lev$/i.test(path)) FS.writeFile(link, new Uint8Array(new FileReaderSync().readAsArrayBuffer(file)));
    else FS.symlink(root + '/' + path, link);
  }
  return JSON.parse(module.ccall('zur_level_names', 'string', [], []));
}

// The files gone from a watched folder: their links taken away.
function remove(module, paths) {
  for (const path of paths) {
    const link = '/w/' + path;
    if (module.FS.analyzePath(link, true).exists) module.FS.unlink(link);
  }
  return JSON.parse(module.ccall('zur_level_names', 'string', [], []));
}

function check(module, level) {
  mask = null;
  const report = JSON.parse(module.ccall('zur_check', 'string', ['string'], [level]));
  const view = mask && mask.row === mask.height ? mask : null;
  mask = null;
  return {report, view: view && {width: view.width, height: view.height, step: view.step, image: view.image}};
}

function takeFile(FS, path) {
  const bytes = FS.readFile(path);
  FS.unlink(path);
  return new Blob([bytes]);
}

// The levels converted as one batch; each level file that was made is
// taken out of the worker's memory.
function convert(module, levels) {
  level = null;
  const failed = JSON.parse(module.ccall('zur_convert', 'string', ['string'], [levels.join('\n')]));
  const files = {};
  for (const name of levels) {
    if (!failed.includes(name)) files[name] = takeFile(module.FS, '/w/' + name.replace(/\.txt$/i, '') + '.lev');
  }
  return {failed, files};
}

function info(module, path) {
  return JSON.parse(module.ccall('zur_info', 'string', ['string'], [path]));
}

function unpack(module, path) {
  const name = path.split('/').pop().replace(/\.lev$/i, '');
  const folder = '/unpacked' + mounts;
  if (!module.FS.analyzePath(folder).exists) module.FS.mkdir(folder);
  const answer = JSON.parse(module.ccall('zur_unpack', 'string', ['string', 'string'], [path, folder + '/' + name]));
  answer.files = answer.written.map((written) => ({name: written.split('/').pop(), file: takeFile(module.FS, written)}));
  return answer;
}

// A level file's picture, drawn into the map view as the check's mask is,
// and the objects to mark on it.
function picture(module, path) {
  mask = null;
  const marks = JSON.parse(module.ccall('zur_picture', 'string', ['string'], [path]));
  const view = marks && mask && mask.row === mask.height ? mask : null;
  mask = null;
  return {marks, view: view && {width: view.width, height: view.height, step: view.step, image: view.image}};
}

const requests = {add, remove, check, convert, info, unpack, picture};

onmessage = async ({data}) => {
  if (data.handshake) {
    handshake = new Int32Array(data.handshake);
    return;
  }
  const module = await engine;
  job = data.id;
  try {
    postMessage({id: data.id, kind: 'done', answer: requests[data.request](module, data.argument)});
  } catch (error) {
    postMessage({id: data.id, kind: 'failed', error: String(error)});
  }
};
