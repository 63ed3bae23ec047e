// SPDX-License-Identifier: MIT
// Levels generated for the workbench's tests: attribute maps written pixel
// by pixel from the palette the build writes for paint programs, with
// markers and illegal colours where a test wants them, beside jungle's
// config file and pictures.
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

// {codes: [{code, colour, group}], markers: [{kind, blue}]}, from the
// palette file beside the native programs.
function palette() {
  const file = process.env.ZUR_PALETTE_FILE || path.join(path.dirname(h.zurconv), '..', 'docs', 'zurconv.gpl');
  const codes = [], markers = [];
  for (const line of fs.readFileSync(file, 'utf8').split('\n')) {
    const entry = /^\s*(\d+)\s+(\d+)\s+(\d+)\t(code|marker kind) (\d+)\s*([^(]*)/.exec(line);
    if (!entry) continue;
    const colour = entry.slice(1, 4).map(Number);
    if (entry[4] === 'code') codes.push({code: Number(entry[5]), colour, group: entry[6].trim() || 'Other'});
    else markers.push({kind: Number(entry[5]), blue: colour[2]});
  }
  return {codes, markers};
}

// An uncompressed 24-bit TGA, bottom row first, of `at(x, y)` ([r, g, b],
// y from the top).
function tga(width, height, at) {
  const bytes = Buffer.alloc(18 + width * height * 3);
  bytes[2] = 2;
  bytes.writeUInt16LE(width, 12);
  bytes.writeUInt16LE(height, 14);
  bytes[16] = 24;
  for (let y = 0; y < height; ++y) {
    let i = 18 + (height - 1 - y) * width * 3;
    for (let x = 0; x < width; ++x, i += 3) {
      const [r, g, b] = at(x, y);
      bytes[i] = b;
      bytes[i + 1] = g;
      bytes[i + 2] = r;
    }
  }
  return bytes;
}

// The pixel (x, y from the top) of TGA bytes as [r, g, b].
function tgaAt(bytes, x, y) {
  const width = bytes.readUInt16LE(12), height = bytes.readUInt16LE(14);
  const row = bytes[17] & 32 ? y : height - 1 - y;
  const i = 18 + bytes[0] + 3 * (row * width + x);
  return [bytes[i + 2], bytes[i + 1], bytes[i]];
}

// A folder holding the level `name` with the map `map` (TGA bytes).
function levelWith(name, map) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-workbench-'));
  fs.writeFileSync(path.join(folder, `${name}.tga`), map);
  for (const suffix of ['.txt', '.jpg', 'p.jpg']) {
    fs.copyFileSync(path.join(h.examples, 'jungle' + suffix), path.join(folder, name + suffix));
  }
  return folder;
}

// A map of 8 x 8 blocks of every code in turn, with markers of each kind
// (a kind 2 marker with red 1 leaves code 1 behind, the others air) and
// pixels of two illegal colours: {width, height, at, markers, illegal}.
function mixedMap({codes, markers: kinds}) {
  const width = 256, height = 128;
  const markers = [];
  kinds.forEach(({kind, blue}, n) => {
    for (let copy = 0; copy < 3; ++copy) {
      markers.push({x: 13 + 47 * n, y: 9 + 41 * copy, colour: [(37 * n + 91 * copy + 5) & 255, (53 * n + 17 * copy + 200) & 255, blue], kind});
    }
  });
  markers.push({x: 250, y: 120, colour: [1, 77, kinds.find(({kind}) => kind === 2).blue], kind: 2});
  const illegal = [
    {colour: [60, 60, 60], places: [[30, 3], [200, 3], [31, 70], [7, 127]]},
    {colour: [1, 151, 1], places: [[100, 100]]},
  ];
  const special = new Map();
  for (const {x, y, colour} of markers) special.set(`${x},${y}`, colour);
  for (const {colour, places} of illegal) for (const [x, y] of places) special.set(`${x},${y}`, colour);
  const at = (x, y) => special.get(`${x},${y}`) ?? codes[(Math.floor(y / 8) * (width / 8) + Math.floor(x / 8)) % codes.length].colour;
  return {width, height, at, markers, illegal};
}

// The code the level file's stream gives each pixel, as counts by code,
// and the illegal pixels apart.
function countsOf({width, height, at}, {codes, markers}) {
  const codeOf = new Map(codes.map(({code, colour}) => [colour.join(), code]));
  const markerBlue = new Map(markers.map(({kind, blue}) => [blue, kind]));
  const counts = codes.map(() => 0);
  let illegal = 0;
  for (let y = 0; y < height; ++y) {
    for (let x = 0; x < width; ++x) {
      const [r, g, b] = at(x, y);
      const kind = markerBlue.get(b);
      if (kind !== undefined) ++counts[kind === 2 && r <= 1 ? 1 : 0];
      else if (codeOf.has([r, g, b].join())) ++counts[codeOf.get([r, g, b].join())];
      else ++illegal;
    }
  }
  return {counts, illegal};
}

module.exports = {palette, tga, tgaAt, levelWith, mixedMap, countsOf};
