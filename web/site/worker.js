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
// The view's rows go onto its canvas this many at a time.
const kBandRows = 64;

function mkdirs(FS, path) {
  let at = '';
  for (const part of path.split('/').slice(0, -1)) {
    at += '/' + part;
    if (!FS.analyzePath(at).exists) FS.mkdir(at);
  }
}

// A dropped file larger than a block, where the engine reads on from its
// last read, is read through the reader worker (reader.js) a block at a
// time: the block asked for and those after it in the direction the engine
// reads, kReadSlots under way at once. Block b waits in slot b % kReadSlots,
// so the blocks ahead never take each other's slot.
const kReadBlock = 4 << 20;
const kReadSlots = 4;
const kReadWaitMs = 60000;
const kEIO = 29;  // emscripten's errno for an input or output error

class ReadAhead {
  constructor(reader) {
    this.reader = reader;
    this.data = new SharedArrayBuffer(kReadBlock * kReadSlots);
    this.state = new Int32Array(new SharedArrayBuffer(4 * kReadSlots));
    this.slots = Array.from({length: kReadSlots}, () => ({file: null, block: -1, ticket: 0}));
    this.tickets = 0;
    this.last = {file: null, position: 0, count: 0};
    this.backwards = false;  // the direction of the read under way
    this.bounce = new Uint8Array(0);
    reader.postMessage({slots: {data: this.data, state: this.state, blockBytes: kReadBlock}});
  }

  // How a read follows the last one of the same file, remembered: a map's
  // rows are read a block after another, forwards or, stored bottom row
  // first, backwards. Null for a read elsewhere (a header).
  follows(file, position, count) {
    const {last} = this;
    this.last = {file, position, count};
    if (file !== last.file) return null;
    if (position === last.position + last.count) return 'forwards';
    if (position + count === last.position) return 'backwards';
    return null;
  }

  // Copies `count` bytes of `file` from `position` on into `into`, reading
  // ahead in the direction given; false when the file cannot be read.
  read(file, into, position, count, direction) {
    this.backwards = direction === 'backwards';
    // The read's part in each block, taken in the reads' direction.
    const pieces = [];
    for (let done = 0; done < count;) {
      const part = Math.min(count - done, kReadBlock - (position + done) % kReadBlock);
      pieces.push([done, part]);
      done += part;
    }
    if (this.backwards) pieces.reverse();
    return pieces.every(([done, part]) => this.piece(file, into.subarray(done, done + part), position + done));
  }

  piece(file, into, position) {
    const block = Math.floor(position / kReadBlock);
    const blocks = Math.ceil(file.size / kReadBlock);
    for (let ahead = 0; ahead < kReadSlots; ++ahead) {
      const wanted = this.backwards ? block - ahead : block + ahead;
      if (wanted >= 0 && wanted < blocks) this.ask(file, wanted);
    }
    const slot = block % kReadSlots;
    if (!this.finished(slot)) return false;
    this.copy(into, slot * kReadBlock + position - block * kReadBlock);
    return true;
  }

  // Shared memory is copied a word at a time only to a place aligned as
  // the source is, else a byte at a time, several times slower: then the
  // bytes go by an aligned buffer of this worker's own.
  copy(into, from) {
    if ((into.byteOffset - from) % 8 === 0) {
      into.set(new Uint8Array(this.data, from, into.length));
      return;
    }
    const lead = from % 8;
    if (this.bounce.length < lead + into.length) this.bounce = new Uint8Array(lead + into.length);
    this.bounce.set(new Uint8Array(this.data, from - lead, lead + into.length));
    into.set(this.bounce.subarray(lead, lead + into.length));
  }

  ask(file, block) {
    const slot = block % kReadSlots;
    const held = this.slots[slot];
    if (held.file === file && held.block === block) return;
    this.finished(slot);  // the read under way into the slot ends first
    Object.assign(held, {file, block, ticket: ++this.tickets});
    Atomics.store(this.state, slot, 0);
    this.reader.postMessage({file, block, slot, ticket: held.ticket});
  }

  // Waits for the slot's read; false when it failed (and is asked again).
  finished(slot) {
    const held = this.slots[slot];
    for (;;) {
      const state = Atomics.load(this.state, slot);
      if (state === held.ticket) return true;
      if (state === -held.ticket || Atomics.wait(this.state, slot, state, kReadWaitMs) === 'timed-out') {
        held.file = null;
        return false;
      }
    }
  }

  // Each request reads the files afresh: one saved since is read as it now is.
  forget() {
    for (let slot = 0; slot < kReadSlots; ++slot) {
      this.finished(slot);
      this.slots[slot].file = null;
    }
    this.last = {file: null, position: 0, count: 0};
  }
}

let readAhead = null;

// Resolves once the reader runs; without one (no shared memory, or no
// worker of a worker) files are read as WORKERFS reads them.
function startReader() {
  return new Promise((resolve) => {
    if (!self.crossOriginIsolated) return resolve();
    try {
      const reader = new Worker('reader.js');
      const ahead = new ReadAhead(reader);
      reader.onmessage = () => resolve(readAhead = ahead);
      reader.onerror = () => resolve();
    } catch {
      resolve();
    }
  });
}

function readThroughReader(FS) {
  const ops = FS.filesystems.WORKERFS.stream_ops;
  const readOnce = ops.read;
  ops.read = (stream, buffer, offset, length, position) => {
    const file = stream.node.contents;
    const count = Math.max(0, Math.min(length, file.size - position));
    const direction = readAhead && file.size > kReadBlock && readAhead.follows(file, position, count);
    if (!direction) {
      // A file changed since it was dropped cannot be read, which the engine
      // is told as it is of any failed read.
      try {
        return readOnce(stream, buffer, offset, length, position);
      } catch {
        throw new FS.ErrnoError(kEIO);
      }
    }
    const into = new Uint8Array(buffer.buffer, buffer.byteOffset + offset, count);
    if (!readAhead.read(file, into, position, count, direction)) throw new FS.ErrnoError(kEIO);
    return count;
  };
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
  // The engine hands over the view's rows only (web/png_writer_canvas.cpp);
  // they are gathered in a band and drawn on the canvas a band at a time.
  maskOpen(width, height) {
    const step = Math.ceil(Math.max(width, height) / kViewSide);
    const canvas = new OffscreenCanvas(Math.ceil(width / step), Math.ceil(height / step));
    const band = new ImageData(canvas.width, Math.min(kBandRows, canvas.height));
    mask = {width, height, step, canvas, context: canvas.getContext('2d'), band, row: 0, image: null};
    return step;
  },
  maskRow(rgba) {
    const {band} = mask;
    band.data.set(rgba, (mask.row % band.height) * band.width * 4);
    if (++mask.row % band.height === 0) mask.context.putImageData(band, 0, mask.row - band.height);
  },
  maskFinish() {
    const {band, canvas} = mask;
    const left = mask.row % band.height;
    if (left > 0) mask.context.putImageData(band, 0, mask.row - left, 0, 0, band.width, left);
    if (mask.row !== canvas.height) return false;
    mask.image = canvas.transferToImageBitmap();
    return true;
  },
}).then(async (module) => {
  await startReader();
  readThroughReader(module.FS);
  module.FS.mkdir('/w');
  module.FS.mkdir('/src');
  module.FS.chdir('/w');
  return module;
});

// A file saved again after it was picked can no longer be read through
// the File the page holds: the read then fails as an I/O error, which the
// engine reports as a source it cannot read, rather than as an exception
// thrown through it.
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

// The view's picture is an ImageBitmap, handed to the page without a copy.
function check(module, level) {
  mask = null;
  const report = JSON.parse(module.ccall('zur_check', 'string', ['string'], [level]));
  const view = mask && mask.image;
  const answer = {report, view: view && {width: mask.width, height: mask.height, step: mask.step, image: view}};
  mask = null;
  return answer;
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
  const view = marks && mask && mask.image;
  const answer = {marks, view: view && {width: mask.width, height: mask.height, step: mask.step, image: view}};
  mask = null;
  return answer;
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
    readAhead?.forget();
    const answer = requests[data.request](module, data.argument);
    postMessage({id: data.id, kind: 'done', answer}, answer?.view ? [answer.view.image] : []);
  } catch (error) {
    postMessage({id: data.id, kind: 'failed', error: String(error)});
  }
};
