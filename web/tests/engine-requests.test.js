// SPDX-License-Identifier: MIT
// The worker's requests for the map view, inspector and repair, made
// through the page's bridge on a generated level: an inspected pixel is
// what zurlev unpack's map and zurlev info's objects hold there, the
// legend counts the unpacked map's codes, and the repaired map is
// zurconv --repair-colours's file byte for byte.
const {test, expect} = require('@playwright/test');
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

const kWidth = 53, kHeight = 41;
const kLegal = [[0, 0, 0], [0, 152, 0], [0, 0, 200], [168, 168, 168]];
const kMarkers = [[3, 0, 230], [0, 0, 180], [9, 4, 120], [2, 3, 190]];
// The code each leaves under its object: a kind-2 marker of red 0 stands
// its object on basic land.
const kCodeUnder = new Map([['3,0,230', 0], ['0,0,180', 1], ['9,4,120', 0], ['2,3,190', 0]]);
const kIllegal = [[1, 2, 3], [0, 151, 0]];

// Bands of legal colours, a marker every 97th pixel and an illegal pixel
// every 61st, stored bottom row first; [red, green, blue] by y * width + x.
function generatedMap() {
  const pixels = [];
  for (let i = 0; i < kWidth * kHeight; ++i) {
    const [x, y] = [i % kWidth, Math.floor(i / kWidth)];
    if (i % 97 === 5) pixels.push(kMarkers[i % kMarkers.length]);
    else if (i % 61 === 7) pixels.push(kIllegal[i % kIllegal.length]);
    else pixels.push(kLegal[(Math.floor(y / 6) + Math.floor(x / 11)) % kLegal.length]);
  }
  const tga = Buffer.alloc(18 + 3 * pixels.length);
  tga[2] = 2;
  tga.writeUInt16LE(kWidth, 12);
  tga.writeUInt16LE(kHeight, 14);
  tga[16] = 24;
  pixels.forEach(([r, g, b], i) => {
    const at = 18 + 3 * ((kHeight - 1 - Math.floor(i / kWidth)) * kWidth + i % kWidth);
    tga[at] = b, tga[at + 1] = g, tga[at + 2] = r;
  });
  return {pixels, tga};
}

// [red, green, blue] by y * width + x of an uncompressed 24-bit TGA.
function tgaPixels(bytes) {
  const width = bytes.readUInt16LE(12), height = bytes.readUInt16LE(14);
  const topDown = (bytes[17] & 32) !== 0;
  const pixels = [];
  for (let i = 0; i < width * height; ++i) {
    const row = topDown ? Math.floor(i / width) : height - 1 - Math.floor(i / width);
    const at = 18 + bytes[0] + 3 * (row * width + i % width);
    pixels.push([bytes[at + 2], bytes[at + 1], bytes[at]]);
  }
  return pixels;
}

function copyFolder(from) {
  const to = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-requests-'));
  for (const name of fs.readdirSync(from)) fs.copyFileSync(path.join(from, name), path.join(to, name));
  return to;
}

test('inspect, places, the legend and repair answer as the native programs do', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-requests-'));
  const map = generatedMap();
  fs.writeFileSync(path.join(folder, 'gen.tga'), map.tga);
  for (const suffix of ['.txt', '.jpg', 'p.jpg']) fs.copyFileSync(path.join(h.examples, 'jungle' + suffix), path.join(folder, 'gen' + suffix));

  const converted = copyFolder(folder);
  execFileSync(h.zurconv, ['--yes', 'gen'], {cwd: converted});
  fs.mkdirSync(path.join(converted, 'unpacked'));
  execFileSync(h.zurlev, ['unpack', '-o', 'unpacked', '--width', String(kWidth), 'gen.lev'], {cwd: converted});
  const unpacked = tgaPixels(fs.readFileSync(path.join(converted, 'unpacked', 'gen.tga')));
  const [info] = JSON.parse(execFileSync(h.zurlev, ['info', '--json', '--objects', 'gen.lev'], {cwd: converted, encoding: 'utf8'}));
  const repairedFolder = copyFolder(folder);
  execFileSync(h.zurconv, ['--repair-colours', 'fixed.tga', 'gen'], {cwd: repairedFolder});
  const nativeRepair = fs.readFileSync(path.join(repairedFolder, 'fixed.tga'));

  await page.goto('/?test');
  // Polled from here: the page's policy refuses the functions a wait in the
  // page would evaluate.
  await expect.poll(() => page.evaluate(() => window.crossOriginIsolated && Boolean(window.zurBridge))).toBe(true);
  await h.pick(page, h.sources(folder, ['gen']));
  await page.locator('[data-level="gen"] li').first().waitFor();

  const answers = await page.evaluate(async ({width, height, objects}) => {
    const bridge = window.zurBridge;
    const palette = await bridge.request('palette');
    const check = await bridge.request('check', 'gen');
    const inspected = [];
    for (let y = -1; y <= height; ++y) {
      for (let x = -1; x <= width; ++x) inspected.push(await bridge.request('inspect', {level: 'gen', x, y}));
    }
    const places = await bridge.request('places', {level: 'gen', colour: [1, 2, 3]});
    const repair = await bridge.request('repair', 'gen');
    const size = (bitmap) => [bitmap.width, bitmap.height];
    return {
      palette, legend: check.legend, report: check.report, inspected, places,
      checkView: [size(check.view.attributes), size(check.view.problems), check.view.step],
      repair: {...repair, file: Array.from(new Uint8Array(await repair.file.arrayBuffer())),
               view: [size(repair.view.after), size(repair.view.changed)]},
      composed: await Promise.all(objects.map(({kind, parameters}) => bridge.request('compose', {kind, bytes: parameters}))),
      decomposed: await Promise.all(objects.map(({colour}) => bridge.request('decompose', colour))),
      noColour: await bridge.request('compose', {kind: 9, bytes: [0, 0, 0, 0, 0]}),
      noMarker: await bridge.request('decompose', [0, 152, 0]),
    };
  }, {width: kWidth, height: kHeight,
      objects: info.objects.list.map((o) => ({...o, colour: map.pixels[o.y * kWidth + o.x]}))});

  const codeOf = new Map(answers.palette.codes.map(({code, colour}) => [colour.join(), code]));
  const isIllegal = (colour) => kIllegal.some((c) => c.join() === colour.join());
  const objects = new Map(info.objects.list.map((o) => [`${o.x},${o.y}`, o]));
  const nearest = new Map(answers.report.levels[0].illegal_colours.colours.map((c) => [[c.red, c.green, c.blue].join(), c.nearest.code]));
  let i = 0;
  for (let y = -1; y <= kHeight; ++y) {
    for (let x = -1; x <= kWidth; ++x) {
      const answer = answers.inspected[i++];
      if (x < 0 || y < 0 || x === kWidth || y === kHeight) {
        expect(answer, `${x},${y}`).toBeNull();
        continue;
      }
      const colour = map.pixels[y * kWidth + x];
      const illegal = isIllegal(colour);
      const object = objects.get(`${x},${y}`);
      // The conversion made an illegal pixel air; unpacked, every other is as it was.
      expect(unpacked[y * kWidth + x]).toEqual(illegal ? [0, 0, 0] : colour);
      const code = illegal ? null : object ? kCodeUnder.get(colour.join()) : codeOf.get(colour.join());
      expect(answer, `${x},${y}`).toEqual({
        x, y, colour, illegal, code,
        group: illegal ? null : answers.palette.codes[code].group,
        nearest: illegal ? nearest.get(colour.join()) : null,
        marker: object ? {kind: object.kind, bytes: object.parameters} : null,
      });
    }
  }

  const counts = Array(34).fill(0);
  for (const colour of unpacked) ++counts[codeOf.get(colour.join()) ?? kCodeUnder.get(colour.join())];
  const illegalPixels = map.pixels.filter(isIllegal).length;
  expect(illegalPixels).toBeGreaterThan(0);
  counts[0] -= illegalPixels;  // the conversion made them air
  expect(answers.legend).toEqual({codes: counts, illegal: illegalPixels});

  const expectedPlaces = [];
  map.pixels.forEach((colour, at) => colour.join() === '1,2,3' && expectedPlaces.push({x: at % kWidth, y: Math.floor(at / kWidth)}));
  expect(answers.places).toEqual({places: expectedPlaces, more: false});

  expect(answers.checkView).toEqual([[kWidth, kHeight], [kWidth, kHeight], 1]);
  expect(answers.repair.name).toBe('gen-repaired.tga');
  expect(answers.repair.error).toBeNull();
  expect(answers.repair.repaired).toBe(illegalPixels);
  expect(answers.repair.view).toEqual([[kWidth, kHeight], [kWidth, kHeight]]);
  expect(Buffer.from(answers.repair.file).equals(nativeRepair)).toBe(true);
  // Each object of the level file: its marker's colour composed from its
  // record, and its record from the colour.
  expect(info.objects.list.length).toBeGreaterThan(10);
  expect(answers.composed).toEqual(info.objects.list.map((o) => map.pixels[o.y * kWidth + o.x]));
  expect(answers.decomposed).toEqual(info.objects.list.map((o) => ({kind: o.kind, bytes: o.parameters})));
  expect([answers.noColour, answers.noMarker]).toEqual([null, null]);
});
