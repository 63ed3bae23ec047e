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
let layers = {};  // the map view's layers being drawn by the engine, by name
let parts = [];  // a written file's parts being handed over (takeFile)
let taken = null;  // the Blob they made

// The map view keeps at most this many pixels a side: a large map is
// reduced to a pixel per `step` x `step` cell, so that its view stays small.
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
  // The engine hands over each layer's reduced rows (ViewSink,
  // web/engine_binding.cpp); they are gathered in a band and drawn on the
  // layer's canvas a band at a time.
  viewOpen(name, width, height) {
    const step = Math.ceil(Math.max(width, height) / kViewSide);
    const canvas = new OffscreenCanvas(Math.ceil(width / step), Math.ceil(height / step));
    const band = new ImageData(canvas.width, Math.min(kBandRows, canvas.height));
    layers[name] = {width, height, step, canvas, context: canvas.getContext('2d'), band, row: 0, image: null};
    return step;
  },
  viewRow(name, rgba) {
    const layer = layers[name];
    const {band} = layer;
    band.data.set(rgba, (layer.row % band.height) * band.width * 4);
    if (++layer.row % band.height === 0) layer.context.putImageData(band, 0, layer.row - band.height);
  },
  viewFinish(name) {
    const layer = layers[name];
    const {band, canvas} = layer;
    const left = layer.row % band.height;
    if (left > 0) layer.context.putImageData(band, 0, layer.row - left, 0, 0, band.width, left);
    if (layer.row !== canvas.height) return false;
    layer.image = canvas.transferToImageBitmap();
    return true;
  },
  // The engine's system asks for the dropped files (web/page_system.h).
  findFile: (path) => dropped.find(path),
  droppedPaths: () => dropped.paths(),
  openFile: (path) => dropped.open(path),
  readFile: (number, position, into) => dropped.read(number, position, into),
  closeFile: (number) => dropped.close(number),
  // A written file's parts are views into the engine's memory, copied into
  // the Blob before the engine frees them.
  writtenPart: (part) => parts.push(part),
  writtenEnd() {
    taken = new Blob(parts);
    parts = [];
  },
}).then(async (module) => {
  await startReader();
  dropped = new DroppedFiles(readAhead);
  // The folders the engine writes into (its system holds the files
  // themselves, web/page_system.h): the level files into the working
  // folder, beside their sources; unpacked sources and repaired maps apart,
  // so that they never become dropped sources.
  module.FS.mkdir('/w');
  module.FS.mkdir('/unpacked');
  module.FS.mkdir('/repaired');
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

// Calls the engine's `call`, which draws the layers of a map view through
// the view's callbacks as it goes: its answer, and the view when every layer
// was drawn, {width, height, step} and each layer's picture under its name,
// an ImageBitmap handed to the page without a copy.
function withView(module, call, types, argumentList) {
  layers = {};
  const answer = JSON.parse(module.ccall(call, 'string', types, argumentList));
  const drawn = Object.entries(layers);
  let view = null;
  if (answer !== null && drawn.length > 0 && drawn.every(([, layer]) => layer.image)) {
    const [[, first]] = drawn;
    view = {width: first.width, height: first.height, step: first.step};
    for (const [name, layer] of drawn) view[name] = layer.image;
  }
  layers = {};
  return {answer, view};
}

// The level checked: {report, count, legend} and the view of its map in
// two layers, `attributes` and `problems`.
function check(module, level) {
  const {answer, view} = withView(module, 'zur_check', ['string'], [level]);
  return {...answer, view};
}

function inspect(module, {level, x, y}) {
  return JSON.parse(module.ccall('zur_inspect', 'string', ['string', 'number', 'number'], [level, x, y]));
}

function places(module, {level, colour}) {
  return JSON.parse(module.ccall('zur_places', 'string', ['string', 'number', 'number', 'number'], [level, ...colour]));
}

// The level's map repaired into PREFIX-repaired.tga, taken out of the
// worker's memory; the view shows the copy (`after`) and its `changed`
// pixels.
function repair(module, level) {
  const name = `${level.split('/').pop().replace(/\.txt$/i, '')}-repaired.tga`;
  const out = `/repaired/${name}`;
  const {answer, view} = withView(module, 'zur_repair', ['string', 'string'], [level, out]);
  const made = answer.error === null;
  return {name, ...answer, file: made ? takeFile(module, out) : null, view: made ? view : null};
}

function palette(module) {
  return JSON.parse(module.ccall('zur_palette', 'string', [], []));
}

function compose(module, {kind, bytes}) {
  return JSON.parse(module.ccall('zur_compose', 'string', Array(6).fill('number'), [kind, ...bytes]));
}

function decompose(module, colour) {
  return JSON.parse(module.ccall('zur_decompose', 'string', Array(3).fill('number'), colour));
}

// The file the engine wrote at `path`, as a Blob; the engine forgets it.
function takeFile(module, path) {
  taken = null;
  if (!module.ccall('zur_take', 'number', ['string'], [path])) throw new Error(`${path} was not written`);
  return taken;
}

// The levels converted as one batch; each level file that was made is
// taken out of the worker's memory.
function convert(module, levels) {
  level = shownPosition = null;
  const failed = JSON.parse(module.ccall('zur_convert', 'string', ['string'], [levels.join('\n')]));
  const files = {};
  for (const name of levels) {
    if (!failed.includes(name)) files[name] = takeFile(module, '/w/' + name.replace(/\.txt$/i, '') + '.lev');
  }
  return {failed, files};
}

function info(module, path) {
  return JSON.parse(module.ccall('zur_info', 'string', ['string'], [path]));
}

function unpack(module, path) {
  const answer = JSON.parse(module.ccall('zur_unpack', 'string', ['string', 'string'], [path, '/unpacked']));
  answer.files = answer.written.map((written) => ({name: written.split('/').pop(), file: takeFile(module, written)}));
  return answer;
}

// A level file's picture, drawn into the map view as the check's mask is,
// and the objects to mark on it.
function picture(module, path) {
  const {answer, view} = withView(module, 'zur_picture', ['string'], [path]);
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
  [Request.inspect]: inspect,
  [Request.places]: places,
  [Request.repair]: repair,
  [Request.palette]: palette,
  [Request.compose]: compose,
  [Request.decompose]: decompose,
};

// The pictures of an answer's view, handed over rather than copied.
function pictures(answer) {
  return Object.values(answer?.view ?? {}).filter((value) => value instanceof ImageBitmap);
}

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
    postMessage({id: data.id, kind: Kind.done, answer}, pictures(answer));
  } catch (error) {
    postMessage({id: data.id, kind: Kind.failed, error: String(error)});
  }
};
