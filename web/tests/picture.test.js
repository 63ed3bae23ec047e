// SPDX-License-Identifier: MIT
// A dropped level file's picture: a pixel of a known code shows that
// code's colour as zurlev unpack's attribute map has it, the objects
// listed are zurlev info's, and an object's mark has the colour the
// check's map view gives its marker.
const {test, expect} = require('@playwright/test');
const {execFileSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

// The pixels of an uncompressed 24-bit TGA, as [red, green, blue] by x and y
// from the top.
function tgaPixels(bytes) {
  const width = bytes.readUInt16LE(12), height = bytes.readUInt16LE(14);
  const topDown = (bytes[17] & 32) !== 0;
  const start = 18 + bytes[0];
  return {width, height, at(x, y) {
    const row = topDown ? y : height - 1 - y;
    const i = start + 3 * (row * width + x);
    return [bytes[i + 2], bytes[i + 1], bytes[i]];
  }};
}

// A pixel whose neighbours within 3 pixels have its colour and no object
// is near, so that it shows the same at any scale.
function plainPixel(map, objects) {
  for (let y = 3; y < map.height - 3; y += 7) {
    for (let x = 3; x < map.width - 3; x += 7) {
      const colour = map.at(x, y).join();
      let plain = !objects.some((o) => Math.abs(o.x - x) < 20 && Math.abs(o.y - y) < 20);
      for (let dy = -3; plain && dy <= 3; ++dy) {
        for (let dx = -3; plain && dx <= 3; ++dx) plain = map.at(x + dx, y + dy).join() === colour;
      }
      if (plain && colour !== '0,0,0') return [x, y];
    }
  }
  return null;
}

// The colour the map view shows at canvas pixel (x, y).
function canvasPixel(page, x, y) {
  return page.evaluate(([x, y]) =>
    Array.from(document.getElementById('map-view').getContext('2d').getImageData(x, y, 1, 1).data.slice(0, 3)), [x, y]);
}

// The canvas pixel of map pixel (x, y) with the whole map in view.
async function wholeMapPixel(page, x, y, width, height) {
  const [cw, ch] = await page.evaluate(() => [document.getElementById('map-view').width, document.getElementById('map-view').height]);
  const scale = Math.min(cw / width, ch / height);
  const left = width / 2 - cw / 2 / scale, top = height / 2 - ch / 2 / scale;
  return canvasPixel(page, Math.floor((x + 0.5 - left) * scale), Math.floor((y + 0.5 - top) * scale));
}

test('a dropped level file shows its picture in palette colours with its objects marked by kind', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-picture-'));
  fs.writeFileSync(path.join(folder, 'jungle.lev'), h.nativeLevel(h.examples, 'jungle', 'yes').bytes);
  fs.mkdirSync(path.join(folder, 'native'));
  execFileSync(h.zurlev, ['unpack', '-o', 'native', 'jungle.lev'], {cwd: folder});
  const [info] = JSON.parse(execFileSync(h.zurlev, ['info', '--json', '--objects', 'jungle.lev'], {cwd: folder, encoding: 'utf8'}));
  const objects = info.objects.list;
  expect(objects.length).toBeGreaterThan(0);
  const map = tgaPixels(fs.readFileSync(path.join(folder, 'native', 'jungle.tga')));

  await h.open(page);
  await h.pick(page, [path.join(folder, 'jungle.lev'), ...['jungle.txt', 'jungle.tga', 'jungle.jpg', 'junglep.jpg']
    .map((name) => path.join(folder, 'native', name))]);
  const shown = page.locator('[data-level-file="jungle.lev"]');
  await shown.locator('[data-object]').first().waitFor();
  const listed = await shown.locator('[data-object]').evaluateAll((items) => items.map((item) =>
    ({x: Number(item.dataset.x), y: Number(item.dataset.y), kind: Number(item.dataset.kind)})));
  expect(listed).toEqual(objects.map(({x, y, kind}) => ({x, y, kind})));

  // The check's view of the unpacked sources: each marker in its kind's colour.
  await page.locator('[data-level="jungle"] li').first().waitFor();
  await page.locator('[data-level="jungle"]').getByRole('button', {name: 'Show map'}).click();
  await expect(page.locator('#map-level')).toHaveText('jungle');
  const object = objects[0];
  const kindColour = await wholeMapPixel(page, object.x, object.y, map.width, map.height);

  await shown.getByRole('button', {name: 'Show picture'}).click();
  await expect(page.locator('#map-level')).toHaveText('jungle.lev');
  const plain = plainPixel(map, objects);
  expect(plain).not.toBeNull();
  expect(await wholeMapPixel(page, ...plain, map.width, map.height)).toEqual(map.at(...plain));

  // Chosen, the object's pixel is in the middle, its mark's ring around it.
  await shown.locator('[data-object]').first().click();
  await expect(page.locator('#map-level')).toHaveText(`jungle.lev: x=${object.x} y=${object.y}`);
  const [cw, ch] = await page.evaluate(() => [document.getElementById('map-view').width, document.getElementById('map-view').height]);
  expect(await canvasPixel(page, Math.floor(cw / 2) + 9, Math.floor(ch / 2))).toEqual(kindColour);
  expect(kindColour).not.toEqual(map.at(object.x, object.y));
});
