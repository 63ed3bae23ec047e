// SPDX-License-Identifier: MIT
// The read-ahead with 16-byte blocks over a reader that answers at once
// from a file held in memory: the bytes of every read, which blocks it asks
// for, and a file that changed since it was dropped.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {ReadAhead, fillSlot} from '../site/read-ahead.js';

const kBlock = 16;

// A file of `size` bytes, each the low byte of its position.
function file(size, name = 'map.tga') {
  return {name, size, bytes: Uint8Array.from({length: size}, (_, at) => at & 255), changed: false};
}

// Answers each block asked for at once, as reader.js would: a changed file
// cannot be read, as the browser fails a File saved since it was picked.
class Reader {
  constructor({answers = true} = {}) {
    this.answers = answers;
    this.asked = [];
  }
  postMessage(message) {
    if (message.slots) {
      this.shared = message.slots;
      return;
    }
    this.asked.push(message.block);
    if (!this.answers) return;
    const start = message.block * kBlock;
    fillSlot(this.shared, message, message.file.changed ? null : message.file.bytes.slice(start, start + kBlock));
  }
}

function start(options = {}) {
  const reader = new Reader(options);
  return {reader, ahead: new ReadAhead(reader, {blockBytes: kBlock, ...options})};
}

// Reads as the worker does: through the read-ahead when the read follows
// the last, else straight from the file.
function readAt(ahead, shown, position, count) {
  const direction = ahead.follows(shown, position, count);
  if (!direction) return shown.bytes.slice(position, position + count);
  const into = new Uint8Array(count);
  ahead.read(shown, into, position, count, direction);
  return into;
}

test('reads forwards give the file\'s bytes, each block asked for once and in order', () => {
  const {reader, ahead} = start();
  const map = file(100);
  for (let at = 0; at < 100; at += 10) assert.deepEqual(readAt(ahead, map, at, 10), map.bytes.slice(at, at + 10), `at ${at}`);
  assert.deepEqual(reader.asked, [0, 1, 2, 3, 4, 5, 6]);
});

test('reads backwards give the file\'s bytes, the blocks asked for from the last', () => {
  const {reader, ahead} = start();
  const map = file(100);
  for (let at = 90; at >= 0; at -= 10) assert.deepEqual(readAt(ahead, map, at, 10), map.bytes.slice(at, at + 10), `at ${at}`);
  assert.deepEqual(reader.asked, [5, 4, 3, 2, 1, 0]);
});

test('a read across blocks into a place aligned otherwise than its slot copies exactly its bytes', () => {
  const {ahead} = start();
  const map = file(100);
  for (const [offset, position, count] of [[3, 14, 5], [0, 30, 40], [5, 33, 31], [8, 16, 16], [1, 95, 5]]) {
    const buffer = new Uint8Array(64).fill(0xee);
    ahead.read(map, buffer.subarray(offset, offset + count), position, count, 'forwards');
    assert.deepEqual(buffer.subarray(offset, offset + count), map.bytes.slice(position, position + count),
                     `${count} bytes at ${position}`);
    assert.ok(buffer.subarray(0, offset).every((byte) => byte === 0xee), `before ${position}`);
    assert.ok(buffer.subarray(offset + count).every((byte) => byte === 0xee), `after ${position}`);
  }
});

test('a file of one block, or a read that does not follow the last, is not read ahead', () => {
  const {ahead} = start();
  const small = file(kBlock), map = file(100);
  assert.equal(ahead.follows(small, 0, 8), null);
  assert.equal(ahead.follows(small, 8, 8), null);
  assert.equal(ahead.follows(map, 0, 18), null);
  assert.equal(ahead.follows(map, 18, 10), 'forwards');
  assert.equal(ahead.follows(map, 50, 10), null);
  assert.equal(ahead.follows(file(100), 60, 10), null);  // another file
});

test('a file changed since it was dropped fails every read of it, its blocks read before included', () => {
  const {ahead} = start();
  const map = file(100);
  ahead.read(map, new Uint8Array(10), 0, 10, 'forwards');  // blocks 0 to 3 read
  map.changed = true;
  // Blocks 5 and 6 take the slots of 1 and 2; 0 and 3 stay read.
  assert.throws(() => ahead.read(map, new Uint8Array(10), 80, 10, 'forwards'), /map\.tga cannot be read/);
  assert.throws(() => ahead.read(map, new Uint8Array(10), 0, 10, 'forwards'), /map\.tga cannot be read/);
  assert.throws(() => ahead.read(map, new Uint8Array(10), 50, 10, 'backwards'), /map\.tga cannot be read/);
  // Other files read on.
  const other = file(100, 'other.tga');
  const into = new Uint8Array(10);
  ahead.read(other, into, 20, 10, 'forwards');
  assert.deepEqual(into, other.bytes.slice(20, 30));
});

test('after forget() a file is read afresh: a block read before its change is not given again', () => {
  const {reader, ahead} = start();
  const map = file(100);
  ahead.read(map, new Uint8Array(10), 0, 10, 'forwards');
  ahead.forget();
  map.changed = true;
  reader.asked = [];
  assert.throws(() => ahead.read(map, new Uint8Array(10), 0, 10, 'forwards'));
  assert.deepEqual(reader.asked.slice(0, 1), [0]);
});

test('a block the reader never answers fails the read', () => {
  const {ahead} = start({answers: false, waitMs: 1});
  assert.throws(() => ahead.read(file(100), new Uint8Array(10), 0, 10, 'forwards'), /cannot be read/);
});
