// SPDX-License-Identifier: MIT
// A map larger than a block of the worker's read-ahead, stored bottom row
// first (read backwards) and top row first (read forwards): the level
// converts to zurconv's bytes through the reader worker.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

// jungle's map tiled `across` × `down` times; the header's descriptor says
// which row comes first.
function tiledMap(across, down, topDown) {
  const tga = fs.readFileSync(path.join(h.examples, 'jungle.tga'));
  const start = 18 + tga[0];
  const width = tga.readUInt16LE(12), height = tga.readUInt16LE(14);
  const header = Buffer.from(tga.subarray(0, start));
  header.writeUInt16LE(width * across, 12);
  header.writeUInt16LE(height * down, 14);
  header[17] = topDown ? header[17] | 32 : header[17] & ~32;
  const rows = [];
  for (let tile = 0; tile < down; ++tile) {
    for (let y = 0; y < height; ++y) {
      const row = tga.subarray(start + y * width * 3, start + (y + 1) * width * 3);
      rows.push(...Array(across).fill(row));
    }
  }
  return Buffer.concat([header, ...rows]);
}

test('a map larger than a read-ahead block converts to zurconv\'s bytes, stored either way up', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-large-'));
  for (const [level, topDown] of [['bottomup', false], ['topdown', true]]) {
    const map = tiledMap(3, 2, topDown);
    expect(map.length).toBeGreaterThan(5 << 20);
    fs.writeFileSync(path.join(folder, `${level}.tga`), map);
    for (const suffix of ['.txt', '.jpg', 'p.jpg']) {
      fs.copyFileSync(path.join(h.examples, 'jungle' + suffix), path.join(folder, level + suffix));
    }
  }
  await h.open(page);
  await h.pick(page, h.sources(folder, ['bottomup', 'topdown']));
  for (const level of ['bottomup', 'topdown']) {
    const inPage = await h.convertInPage(page, level, 'yes');
    const native = h.nativeLevel(folder, level, 'yes');
    expect(native.bytes, level).not.toBeNull();
    expect(inPage?.equals(native.bytes), level).toBe(true);
  }
  expect(page.workers().map((worker) => path.basename(new URL(worker.url()).pathname))).toContain('reader.js');
});
