// SPDX-License-Identifier: MIT
// The engine's worker: the dropped files held for the engine to read, the
// engine's calls made one at a time, its prompts passed to the page
// (protocol.js says how).
import createZurEngine from './zur_web.js';
import {DroppedFiles} from './dropped-files.js';
import {Kind, Request, handshakeOf, waitForAnswer} from './protocol.js';
import {ReadAhead} from './read-ahead.js';

let handshake = null;
let job = null;  // the request whose prompts are being shown
let level = null;  // the level of the batch whose prompts are being shown
let shownPosition = null;  // the level's progress last posted
let mask = null;  // the map view being drawn by the check

// The map view keeps at most this many pixels a side: a large map is
// sampled every `step` pixels, so that its view stays small.
const kViewSide = 4096;
// The view's rows go onto its canvas this many at a time.
const kBandRows = 64;

let readAhead = null;
let dropped = null;

// Resolves once the reader runs; without one (no shared memory, or no
// worker of a worker) each read of a file is made as the engine asks.
function startReader() {
  return new Promise((resolve) => {
    if (!self.crossOriginIsolated) return resolve();
    try {
      const reader = new Worker('reader.js', {type: 'module'});
      const ahead = new ReadAhead(reader);
      reader.onmessage = () => resolve(readAhead = ahead);
      reader.onerror = () => resolve();
    } catch {
      resolve();
    }
  });
}

const engine = createZurEngine({
  startLevel(name) {
    level = name;
    shownPosition = null;
  },
  showMessage(text, icon) { postMessage({id: job, kind: Kind.message, level, text, icon}); },
  showAnswered(text, yes) { postMessage({id: job, kind: Kind.answered, level, text, yes}); },
  showBatchFailure(text) { postMessage({id: job, kind: Kind.batch, text}); },
  ask(text) {
    return waitForAnswer(handshake, () => postMessage({id: job, kind: Kind.question, level, text}));
  },
  // Posted only when it moves: the pass over the map reports its rows often.
  progress(position) {
    if (position === shownPosition) return;
    shownPosition = position;
    postMessage({id: job, kind: Kind.progress, level, position});
  },
  // The engine hands over the view's rows only (ViewSink, web/engine_binding.cpp);
  // they are gathered in a band and drawn on the canvas a band at a time.
  viewOpen(width, height) {
    const step = Math.ceil(Math.max(width, height) / kViewSide);
    const canvas = new OffscreenCanvas(Math.ceil(width / step), Math.ceil(height / step));
    const band = new ImageData(canvas.width, Math.min(kBandRows, canvas.height));
    mask = {width, height, step, canvas, context: canvas.getContext('2d'), band, row: 0, image: null};
    return step;
  },
  viewRow(rgba) {
    const {band} = mask;
    band.data.set(rgba, (mask.row % band.height) * band.width * 4);
    if (++mask.row % band.height === 0) mask.context.putImageData(band, 0, mask.row - band.height);
  },
  viewFinish() {
    const {band, canvas} = mask;
    const left = mask.row % band.height;
    if (left > 0) mask.context.putImageData(band, 0, mask.row - left, 0, 0, band.width, left);
    if (mask.row !== canvas.height) return false;
    mask.image = canvas.transferToImageBitmap();
    return true;
  },
  // The engine's system asks for the dropped files (web/page_system.h).
  findFile: (path) => dropped.find(path),
  droppedPaths: () => dropped.paths(),
  openFile: (path) => dropped.open(path),
  readFile: (number, position, into) => dropped.read(number, position, into),
  closeFile: (number) => dropped.close(number),
}).then(async (module) => {
  await startReader();
  dropped = new DroppedFiles(readAhead);
  // What the engine writes goes into the worker's memory: the level files
  // into the working folder, beside their sources; unpacked sources apart.
  module.FS.mkdir('/w');
  module.FS.mkdir('/unpacked');
  module.FS.chdir('/w');
  return module;
});

// The files, each under its path as dropped: a file dropped again replaces
// the old.
function add(module, files) {
  dropped.add(files);
  return JSON.parse(module.ccall('zur_found', 'string', [], []));
}

// The files gone from a watched folder.
function remove(module, paths) {
  dropped.remove(paths);
  return JSON.parse(module.ccall('zur_found', 'string', [], []));
}

// Calls the engine's `call`, which draws a map view through the mask's
// callbacks as it goes: its answer, and the view when one was drawn, its
// picture an ImageBitmap handed to the page without a copy.
function withView(module, call, argument) {
  mask = null;
  const answer = JSON.parse(module.ccall(call, 'string', ['string'], [argument]));
  const image = answer !== null && mask?.image;
  const view = image ? {width: mask.width, height: mask.height, step: mask.step, image} : null;
  mask = null;
  return {answer, view};
}

function check(module, level) {
  const {answer, view} = withView(module, 'zur_check', level);
  return {...answer, view};
}

function takeFile(FS, path) {
  const bytes = FS.readFile(path);
  FS.unlink(path);
  return new Blob([bytes]);
}

// The levels converted as one batch; each level file that was made is
// taken out of the worker's memory.
function convert(module, levels) {
  level = shownPosition = null;
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
  const answer = JSON.parse(module.ccall('zur_unpack', 'string', ['string', 'string'], [path, '/unpacked']));
  answer.files = answer.written.map((written) => ({name: written.split('/').pop(), file: takeFile(module.FS, written)}));
  return answer;
}

// A level file's picture, drawn into the map view as the check's mask is,
// and the objects to mark on it.
function picture(module, path) {
  const {answer, view} = withView(module, 'zur_picture', path);
  return {marks: answer, view};
}

const requests = {
  [Request.add]: add,
  [Request.remove]: remove,
  [Request.check]: check,
  [Request.convert]: convert,
  [Request.info]: info,
  [Request.unpack]: unpack,
  [Request.picture]: picture,
};

onmessage = async ({data}) => {
  const shared = handshakeOf(data);
  if (shared) {
    handshake = shared;
    return;
  }
  try {
    const module = await engine;
    job = data.id;
    readAhead?.forget();
    const answer = requests[data.request](module, data.argument);
    postMessage({id: data.id, kind: Kind.done, answer}, answer?.view ? [answer.view.image] : []);
  } catch (error) {
    postMessage({id: data.id, kind: Kind.failed, error: String(error)});
  }
};
