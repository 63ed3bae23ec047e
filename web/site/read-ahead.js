// SPDX-License-Identifier: MIT
// Reading a large dropped file ahead of the engine. A browser reads a file
// fastest with several large reads under way at once, which only
// asynchronous reads allow, while the engine's reads are synchronous: the
// reads run in a reader worker (reader.js) and the engine's worker waits
// for their blocks in shared memory. Block b of a file is read into slot
// b % slots, so the blocks ahead never take each other's slot; once it is
// there the slot's state is set to the request's ticket, or to its negative
// when the block could not be read in full.

// The size of a block, each read of the reader.
export const kBlockBytes = 4 << 20;

export class ReadAhead {
  // `reader`: reader.js's worker, or anything that takes its messages.
  constructor(reader, {blockBytes = kBlockBytes, slots = 4, waitMs = 60000} = {}) {
    Object.assign(this, {reader, blockBytes, slotCount: slots, waitMs});
    this.data = new SharedArrayBuffer(blockBytes * slots);
    this.state = new Int32Array(new SharedArrayBuffer(Int32Array.BYTES_PER_ELEMENT * slots));
    this.slots = Array.from({length: slots}, () => ({file: null, block: -1, ticket: 0}));
    this.tickets = 0;
    this.last = {file: null, position: 0, count: 0};
    this.backwards = false;  // the direction of the read under way
    this.bounce = new Uint8Array(0);
    reader.postMessage({slots: {data: this.data, state: this.state, blockBytes}});
  }

  // How a read follows the last one of the same file, remembered: a map's
  // rows are read a block after another, forwards or, stored bottom row
  // first, backwards. Null for a read elsewhere (a header) and for a file
  // of one block, read at once.
  follows(file, position, count) {
    const {last} = this;
    this.last = {file, position, count};
    if (file !== last.file || file.size <= this.blockBytes) return null;
    if (position === last.position + last.count) return 'forwards';
    if (position + count === last.position) return 'backwards';
    return null;
  }

  // Copies `count` bytes of `file` from `position` on into `into`, reading
  // ahead in the direction given. Throws when the file cannot be read: a
  // file saved again since it was dropped can no longer be read through
  // its File, and once a block of it fails, so does every later read of it,
  // its blocks read before included, so that the engine never gets the
  // old bytes in place of the new.
  read(file, into, position, count, direction) {
    this.backwards = direction === 'backwards';
    // The read's part in each block, taken in the reads' direction.
    const pieces = [];
    for (let done = 0; done < count;) {
      const part = Math.min(count - done, this.blockBytes - (position + done) % this.blockBytes);
      pieces.push([done, part]);
      done += part;
    }
    if (this.backwards) pieces.reverse();
    for (const [done, part] of pieces) {
      if (!this.piece(file, into.subarray(done, done + part), position + done)) this.fail(file);
    }
  }

  piece(file, into, position) {
    const block = Math.floor(position / this.blockBytes);
    const blocks = Math.ceil(file.size / this.blockBytes);
    for (let ahead = 0; ahead < this.slotCount; ++ahead) {
      const wanted = this.backwards ? block - ahead : block + ahead;
      if (wanted >= 0 && wanted < blocks) this.ask(file, wanted);
    }
    const slot = block % this.slotCount;
    if (!this.finished(slot)) return false;
    this.copy(into, slot * this.blockBytes + position - block * this.blockBytes);
    return true;
  }

  // Drops the file's blocks read before, which a read asks for again.
  fail(file) {
    for (const held of this.slots) {
      if (held.file === file) held.file = null;
    }
    throw new Error(`${file.name ?? 'the file'} cannot be read: changed or gone since it was dropped`);
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
    const slot = block % this.slotCount;
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
      if (state === -held.ticket || Atomics.wait(this.state, slot, state, this.waitMs) === 'timed-out') {
        held.file = null;
        return false;
      }
    }
  }

  // Each request reads the files afresh: one saved since is read as it now is.
  forget() {
    for (let slot = 0; slot < this.slotCount; ++slot) {
      this.finished(slot);
      this.slots[slot].file = null;
    }
    this.last = {file: null, position: 0, count: 0};
  }
}

// The reader's side: the bytes of the block asked for, or null when the
// file could not be read in full (it changed or went away since it was
// dropped).
export async function readBlock({blockBytes}, {file, block}) {
  const start = block * blockBytes;
  const wanted = Math.min(blockBytes, file.size - start);
  try {
    const bytes = new Uint8Array(await file.slice(start, start + wanted).arrayBuffer());
    return bytes.length === wanted ? bytes : null;
  } catch {
    return null;
  }
}

// The reader's side: the block's bytes (null for a failed read) into the
// slot asked for, and the waiting worker woken.
export function fillSlot({data, state, blockBytes}, {slot, ticket}, bytes) {
  if (bytes) new Uint8Array(data, slot * blockBytes, bytes.length).set(bytes);
  Atomics.store(state, slot, bytes ? ticket : -ticket);
  Atomics.notify(state, slot);
}
