// SPDX-License-Identifier: MIT
// The worker's table of dropped files as the engine reads it: reads of a
// large file across the read-ahead's blocks up to its end, a file dropped
// again while open, and a file that can no longer be read.
import assert from 'node:assert/strict';
import {test} from 'node:test';
import {DroppedFiles} from '../site/dropped-files.js';
import {ReadAhead, fillSlot} from '../site/read-ahead.js';

const kBlock = 16;

// A File's stand-in of `size` bytes, each the low byte of its position; a
// changed one cannot be read, as the browser fails a File saved since.
function file(size) {
  const bytes = Uint8Array.from({length: size}, (_, at) => at & 255);
  return {size, bytes, changed: false, slice(start, end) { return {file: this, start, end}; }};
}

// The worker's synchronous read of a slice.
globalThis.FileReaderSync = class {
  readAsArrayBuffer({file, start, end}) {
    if (file.changed) throw new Error('NotReadableError');
    return file.bytes.slice(start, end).buffer;
  }
};

// reader.js's part, answering each block at once.
const reader = {
  postMessage(message) {
    if (message.slots) {
      this.shared = message.slots;
      return;
    }
    const {file, block} = message;
    fillSlot(this.shared, message, file.changed ? null : file.bytes.slice(block * kBlock, (block + 1) * kBlock));
  },
};

function dropped(files) {
  const table = new DroppedFiles(new ReadAhead(reader, {blockBytes: kBlock}));
  table.add(Object.entries(files).map(([path, file]) => ({path, file})));
  return table;
}

test('reads on from the last, across blocks, give the file\'s bytes up to its end', () => {
  const map = file(100);
  const table = dropped({'levels/map.tga': map});
  const number = table.open('levels/map.tga');
  const read = [];
  for (let at = 0; at < 100; at += 30) {
    const into = new Uint8Array(30);
    const count = table.read(number, at, into);
    assert.equal(count, Math.min(30, 100 - at), `at ${at}`);
    read.push(...into.subarray(0, count));
  }
  assert.deepEqual(Uint8Array.from(read), map.bytes);
  assert.equal(table.read(number, 100, new Uint8Array(8)), 0);
});

test('a file dropped again is a new file, while the one open is read as it was', () => {
  const before = file(10);
  const table = dropped({'a.txt': before});
  const {identity} = table.find('a.txt');
  const number = table.open('a.txt');
  table.add([{path: 'a.txt', file: file(4)}]);
  assert.deepEqual(table.find('a.txt'), {identity: identity + 1, size: 4});
  const into = new Uint8Array(10);
  assert.equal(table.read(number, 0, into), 10);
  assert.deepEqual(into, before.bytes);
  table.remove(['a.txt']);
  assert.equal(table.find('a.txt'), null);
  assert.equal(table.open('a.txt'), 0);
  assert.deepEqual(table.paths(), []);
});

test('a file saved again since it was dropped reads as a failure, by the read-ahead or not', () => {
  const map = file(100);
  const table = dropped({'map.tga': map});
  const number = table.open('map.tga');
  assert.equal(table.read(number, 0, new Uint8Array(20)), 20);
  map.changed = true;
  assert.equal(table.read(number, 20, new Uint8Array(20)), -1);
  assert.equal(table.read(number, 0, new Uint8Array(4)), -1);
});
