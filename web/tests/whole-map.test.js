// SPDX-License-Identifier: MIT
// A map of 8192 x 8192 pixels, its view reduced to half: with the whole
// map in view, where the canvas has far fewer pixels than the view, every
// marker and every illegal pixel still shows in its colour.
const {test, expect} = require('@playwright/test');
const h = require('./helpers');
const g = require('./generated-maps');

test('every marker and illegal pixel of an 8192² map shows with the whole map in view', async ({page}) => {
  test.setTimeout(240000);
  const {codes, markers: kinds} = g.palette();
  const side = 8192;
  // Lone pixels on a grid with an odd stride, so that they fall at every
  // place within the reduced cells: markers of each kind, illegal colours.
  const lone = [];
  for (let row = 0; row < 9; ++row) {
    for (let column = 0; column < 9; ++column) {
      const [x, y] = [431 + column * 887 + row * 3, 257 + row * 901 + column * 5];
      const n = row * 9 + column;
      const marker = n % 3 !== 2 ? kinds[n % kinds.length] : null;
      const colour = marker ? [(n * 29) & 255, (n * 53) & 255, marker.blue] : [(n * 7 + 1) & 255, 3, 5];
      lone.push({x, y, colour, marker});
    }
  }
  const at = new Map(lone.map(({x, y, colour}) => [y * side + x, colour]));
  const ground = codes.find(({code}) => code === 1).colour;
  const folder = g.levelWith('huge', g.tga(side, side, (x, y) => at.get(y * side + x) ?? ground));
  await h.open(page);
  await h.pick(page, h.sources(folder, ['huge']));
  await page.locator('[data-level="huge"] [data-problem]').first().waitFor({timeout: 180000});
  // The rings and pins go over the pixels: the layers of pixels alone.
  await page.getByRole('checkbox', {name: 'Objects', exact: true}).uncheck();
  await page.getByRole('checkbox', {name: 'Picture', exact: true}).uncheck();
  await page.getByRole('button', {name: 'Whole map'}).click();
  const shown = await page.locator('#map-view').evaluate((canvas) => [canvas.width, canvas.height]);
  const scale = Math.min(shown[0] / side, shown[1] / side);
  expect(scale).toBeLessThan(0.25);
  const expected = lone.map(({x, y, marker}) => ({
    at: [Math.floor((x + 0.5 - (side / 2 - shown[0] / 2 / scale)) * scale), Math.floor((y + 0.5 - (side / 2 - shown[1] / 2 / scale)) * scale)],
    kind: marker?.kind ?? null,
  }));
  // The markers' colours as the legend tells them.
  const markerColours = await page.locator('[data-marker-kind]').evaluateAll((items) => Object.fromEntries(items.map((item) =>
    [item.dataset.markerKind, getComputedStyle(item.querySelector('.swatch')).backgroundColor.match(/\d+/g).map(Number)])));
  // Each place's colour within the canvas pixels around it (a reduced cell
  // may start a pixel before or after the place's own).
  const seen = () => page.evaluate((places) => {
    const context = document.getElementById('map-view').getContext('2d');
    return places.map(({at: [x, y]}) => {
      const {data} = context.getImageData(x - 1, y - 1, 3, 3);
      const colours = [];
      for (let i = 0; i < data.length; i += 4) colours.push(`${data[i]},${data[i + 1]},${data[i + 2]}`);
      return colours;
    });
  }, expected);
  const wanted = expected.map(({kind}) => String(kind === null ? [255, 0, 255] : markerColours[kind]));
  await expect.poll(async () => (await seen()).filter((colours, n) => !colours.includes(wanted[n])).length,
                    {timeout: 30000}).toBe(0);
});
