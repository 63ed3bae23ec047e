// SPDX-License-Identifier: MIT
// Files the site serves beside the page: the palettes for the designers'
// paint programs, as the native build writes them, and the vendored zip
// library, as its pinned npm release holds it; the palettes kept offline.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const path = require('path');
const h = require('./helpers');

// The native palettes: in a build folder beside cli/, once installed in
// share/zurconv/ beside bin/.
const palettes = [path.join(path.dirname(h.zurconv), '..', 'docs'), path.join(path.dirname(h.zurconv), '..', 'share', 'zurconv')]
  .find((folder) => fs.existsSync(path.join(folder, 'zurconv.gpl')));
const fflate = path.join(__dirname, '..', 'node_modules', 'fflate');
// Each served name, what it is, and the file it is the same as.
const served = [
  ['zurconv.gpl', 'the native GIMP palette', path.join(palettes, 'zurconv.gpl')],
  ['zurconv.act', 'the native Photoshop colour table', path.join(palettes, 'zurconv.act')],
  ['zurconv-paintnet.txt', 'the native Paint.NET palette', path.join(palettes, 'zurconv-paintnet.txt')],
  ['fflate.js', 'the pinned fflate\'s umd/index.js', path.join(fflate, 'umd', 'index.js')],
  ['fflate-LICENSE.txt', 'the pinned fflate\'s licence', path.join(fflate, 'LICENSE')],
];

for (const [name, what, expected] of served) {
  test(`the site serves ${name}, byte for byte ${what}`, async ({request}) => {
    const response = await request.get(name);
    expect(response.ok()).toBe(true);
    expect((await response.body()).equals(fs.readFileSync(expected))).toBe(true);
  });
}

test('the service worker keeps the palettes for use offline', async ({page}) => {
  await h.open(page);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const kept = await page.evaluate((names) => Promise.all(names.map((name) => caches.match(name).then(Boolean))),
                                   served.slice(0, 3).map(([name]) => name));
  expect(kept).toEqual([true, true, true]);
});
