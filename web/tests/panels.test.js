// SPDX-License-Identifier: MIT
// The workbench's panels on a generated level, against the native
// programs: the legend's counts and zurconv -s's shares, the inspector and
// zurlev's unpacked map and objects, the objects listed and the check's,
// stepping through an illegal colour, the repair and zurconv
// --repair-colours, the layers' colours, the composer, and a chosen place
// in view in small windows.
const {test, expect} = require('@playwright/test');
const {execFileSync, spawnSync} = require('child_process');
const fs = require('fs');
const path = require('path');
const h = require('./helpers');
const g = require('./generated-maps');

const palette = g.palette();
const map = g.mixedMap(palette);
const level = 'mixed';

function generated() {
  return g.levelWith(level, g.tga(map.width, map.height, map.at));
}

async function pickMixed(page, folder) {
  await h.open(page);
  await h.pick(page, h.sources(folder, [level]));
  await page.locator(`[data-level="${level}"] [data-problem]`).first().waitFor();
  await expect(page.locator('[data-legend] [data-code="0"]')).not.toHaveAttribute('data-count', '');
}

// The colour of the canvas pixel in the middle of the map view.
function middleColour(page) {
  return page.locator('#map-view').evaluate((canvas) => [...canvas.getContext('2d')
    .getImageData(Math.floor(canvas.width / 2), Math.floor(canvas.height / 2), 1, 1).data.slice(0, 3)]);
}

async function goTo(page, x, y) {
  await page.getByLabel('Go to').fill(`${x},${y}`);
  await page.getByLabel('Go to').press('Enter');
  await expect(page.locator('[data-inspector]')).toHaveAttribute('data-x', String(x));
  await expect(page.locator('[data-inspector]')).toHaveAttribute('data-y', String(y));
}

// The level converted (illegal colours made air): its file and zurlev's
// documents of it.
function converted(folder) {
  const lev = path.join(folder, `${level}.lev`);
  const run = spawnSync(h.zurconv, ['-y', '-s', level], {cwd: folder, encoding: 'utf8'});
  const out = path.join(folder, 'unpacked');
  fs.mkdirSync(out, {recursive: true});
  execFileSync(h.zurlev, ['unpack', '-o', out, '--force', '--width', String(map.width), lev]);
  const [info] = JSON.parse(execFileSync(h.zurlev, ['info', '--json', '--objects', lev], {encoding: 'utf8'}));
  return {stats: run.stdout, info, unpacked: fs.readFileSync(path.join(out, `${level}.tga`))};
}

test('the legend counts each code\'s pixels, the illegal ones apart, and by report group gives zurconv -s\'s shares', async ({page}) => {
  const folder = generated();
  await pickMixed(page, folder);
  const shown = await page.locator('[data-legend] [data-code]').evaluateAll((items) =>
    Object.fromEntries(items.filter((item) => !item.hidden).map((item) => [item.dataset.code, Number(item.dataset.count)])));
  const {counts, illegal} = g.countsOf(map, palette);
  expect(shown).toEqual({...Object.fromEntries(counts.map((count, code) => [code, count])), illegal});
  // The report counts whole blocks of 1024 pixels of each code, the
  // illegal pixels made air.
  const total = Math.max(Math.floor(map.width * map.height / 1024), 1);
  const {stats} = converted(folder);
  for (const group of ['Empty', 'Basic land', 'Water', 'Repair place']) {
    const blocks = palette.codes.filter((entry) => entry.group === group)
      .reduce((sum, {code}) => sum + Math.floor((shown[code] + (code === 0 ? illegal : 0)) / 1024), 0);
    const printed = Number(new RegExp(`${group}: ([\\d.]+) %`).exec(stats)[1]);
    expect(Math.abs(printed - blocks * 100 / total), group).toBeLessThanOrEqual(0.05);
  }
});

test('the inspector tells each pixel\'s code and group, an illegal colour\'s nearest code, a marker\'s object', async ({page}) => {
  const folder = generated();
  await pickMixed(page, folder);
  const {info, unpacked} = converted(folder);
  const check = h.nativeCheck(folder, level).levels[0];
  const places = [[0, 0], [8, 0], [77, 33], [255, 127], [129, 64],
                  ...map.markers.map(({x, y}) => [x, y]), ...map.illegal.map(({places: [first]}) => first)];
  for (const [x, y] of places) {
    await goTo(page, x, y);
    const shown = await page.locator('[data-inspector]').evaluate((item) => ({...item.dataset}));
    const object = info.objects.list.find((listed) => listed.x === x && listed.y === y);
    const illegal = check.illegal_colours.colours.find((colour) => String(map.at(x, y)) === String([colour.red, colour.green, colour.blue]));
    if (object) {
      expect(shown, `${x},${y}`).toMatchObject({code: 'marker', kind: String(object.kind), bytes: object.parameters.join(' ')});
    } else if (illegal) {
      expect(shown, `${x},${y}`).toMatchObject({code: 'illegal', nearest: String(illegal.nearest.code)});
    } else {
      const entry = palette.codes.find(({colour}) => String(colour) === String(g.tgaAt(unpacked, x, y)));
      expect(shown, `${x},${y}`).toMatchObject({code: String(entry.code)});
      await expect(page.locator('[data-inspector]'), `${x},${y}`).toContainText(entry.group);
    }
  }
});

test('the objects listed are the check\'s, and a chosen one is shown on the map', async ({page}) => {
  const folder = generated();
  await pickMixed(page, folder);
  const listed = await page.locator(`[data-level="${level}"] [data-object]`).evaluateAll((items) => items.map((item) => ({
    x: Number(item.dataset.x), y: Number(item.dataset.y), kind: Number(item.dataset.kind),
    parameters: item.dataset.bytes.split(' ').map(Number)})));
  const {objects} = h.nativeCheck(folder, level).levels[0];
  expect(listed).toEqual(objects.list);
  const last = page.locator(`[data-level="${level}"] [data-object]`).last();
  await last.click();
  await expect(page.locator('#map-level')).toHaveText(`${level}: x=${objects.list.at(-1).x} y=${objects.list.at(-1).y}`);
  await expect(last).toHaveAttribute('aria-current', 'true');
});

test('Next and Previous step through an illegal colour\'s pixels in row order', async ({page}) => {
  const folder = generated();
  await pickMixed(page, folder);
  for (const {colour, places} of map.illegal) {
    const inRowOrder = [...places].sort((a, b) => a[1] - b[1] || a[0] - b[0]);
    const problem = page.locator(`[data-level="${level}"] [data-code="illegal-colours"][data-x="${inRowOrder[0][0]}"][data-y="${inRowOrder[0][1]}"]`);
    const steps = problem.locator('xpath=..');
    const visited = [];
    for (let step = 0; step < places.length; ++step) {
      await steps.getByRole('button', {name: 'Next'}).click();
      await expect(steps.locator('.step-status')).toHaveText(`pixel ${step + 1} of ${places.length}`);
      visited.push((await page.locator('#map-level').innerText()).match(/x=(\d+) y=(\d+)/).slice(1).map(Number));
      expect(await middleColour(page), String(colour)).toEqual([255, 0, 255]);
    }
    expect(visited, String(colour)).toEqual(inRowOrder);
    if (places.length > 1) {
      await steps.getByRole('button', {name: 'Previous'}).click();
      await expect(page.locator('#map-level')).toHaveText(`${level}: x=${inRowOrder.at(-2)[0]} y=${inRowOrder.at(-2)[1]}`);
      await expect(problem).toHaveAttribute('aria-current', 'true');
    }
  }
});

test('clicking a pin on the map chooses its problem', async ({page}) => {
  const folder = generated();
  await pickMixed(page, folder);
  for (const {places: [[x, y]]} of map.illegal) {
    await goTo(page, x, y);
    const box = await page.locator('#map-view').boundingBox();
    await page.mouse.click(box.x + box.width / 2, box.y + box.height / 2);
    const problem = page.locator(`[data-level="${level}"] [data-code="illegal-colours"][data-x="${x}"][data-y="${y}"]`);
    await expect(problem).toHaveAttribute('aria-current', 'true');
    await expect(problem).toBeInViewport();
  }
});

test('the repaired map is zurconv --repair-colours\'s, converts with no illegal colour, and shows after the repair', async ({page}) => {
  const folder = generated();
  await pickMixed(page, folder);
  const shown = page.locator(`[data-level="${level}"]`);
  await shown.getByRole('button', {name: 'Repair colours'}).click();
  const link = shown.locator(`a[download="${level}-repaired.tga"]`);
  const bytes = Buffer.from(await link.evaluate(async (a) => [...new Uint8Array(await (await fetch(a.href)).arrayBuffer())]));
  execFileSync(h.zurconv, ['--repair-colours', 'native-repaired.tga', level], {cwd: folder});
  expect(bytes.equals(fs.readFileSync(path.join(folder, 'native-repaired.tga')))).toBe(true);
  // Checked in a copy: the page may read the picked map again.
  const copy = g.levelWith(level, bytes);
  expect(h.nativeCheck(copy, level).levels[0].problems.map(({code}) => code)).not.toContain('illegal-colours');
  // After the repair, a repaired pixel shows its new colour; before, it is illegal.
  await expect(page.getByRole('radio', {name: 'After'})).toBeChecked();
  await page.getByRole('checkbox', {name: 'Problems'}).uncheck();
  const [x, y] = map.illegal[0].places[0];
  await goTo(page, x, y);
  await expect.poll(() => middleColour(page)).toEqual(g.tgaAt(bytes, x, y));
  await page.getByRole('radio', {name: 'Before'}).check();
  await expect.poll(() => middleColour(page)).toEqual(map.illegal[0].colour);
});

test('the layers show the map in the palette\'s colours over the level picture, and a chosen code highlighted', async ({page}) => {
  const folder = generated();
  await pickMixed(page, folder);
  for (const name of ['Picture', 'Attributes', 'Problems', 'Objects']) {
    await expect(page.getByRole('checkbox', {name, exact: true})).toBeChecked();
  }
  const block = (code) => [(code % 32) * 8 + 4, Math.floor(code / 32) * 8 + 4];
  for (const {code, colour} of palette.codes) {
    await goTo(page, ...block(code));
    expect(await middleColour(page), `code ${code}`).toEqual(colour);
  }
  // Without the attribute map, the picture; without either, the background.
  await page.getByRole('checkbox', {name: 'Attributes', exact: true}).uncheck();
  const picture = await middleColour(page);
  await page.getByRole('checkbox', {name: 'Picture', exact: true}).uncheck();
  const background = await middleColour(page);
  expect(picture).not.toEqual(background);
  expect(palette.codes.map(({colour}) => String(colour))).not.toContain(String(background));
  await page.getByRole('checkbox', {name: 'Attributes', exact: true}).check();
  // A chosen code keeps its colour; another code's pixels are veiled.
  await page.locator('#legend-details summary').click();
  await page.locator('[data-legend] [data-code="7"] button').click();
  await goTo(page, ...block(7));
  await expect.poll(() => middleColour(page)).toEqual(palette.codes[7].colour);
  await goTo(page, ...block(8));
  await expect.poll(() => middleColour(page)).not.toEqual(palette.codes[8].colour);
});

test('the composer gives a marker\'s colour for its object, and the object for the colour', async ({page}) => {
  const folder = generated();
  await h.open(page);
  const {info} = converted(folder);
  await page.locator('#composer-details summary').click();
  const read = page.locator('[data-decomposed]');
  const decompose = async (colour) => {
    for (const [at, channel] of ['Red', 'Green', 'Blue'].entries()) await page.getByLabel(channel, {exact: true}).fill(String(colour[at]));
    await expect(read).toHaveAttribute('data-for', colour.join(' '));
  };
  for (const {x, y, colour} of map.markers) {
    const object = info.objects.list.find((listed) => listed.x === x && listed.y === y);
    await decompose(colour);
    await expect(read).toHaveAttribute('data-kind', String(object.kind));
    await expect(read).toHaveAttribute('data-bytes', object.parameters.join(' '));
    await page.getByLabel('Object kind').selectOption(String(object.kind));
    for (let at = 0; at < 5; ++at) await page.getByLabel(`Byte ${9 + at}`).fill(String(object.parameters[at]));
    const composed = page.locator('[data-composed]');
    await expect(composed).toHaveAttribute('data-for', `${object.kind} ${object.parameters.join(' ')}`);
    // The colour composed places the same object.
    const again = (await composed.getAttribute('data-colour')).split(' ').map(Number);
    expect(again.length, String(colour)).toBe(3);
    await decompose(again);
    await expect(read, String(again)).toHaveAttribute('data-bytes', object.parameters.join(' '));
  }
  await decompose([1, 2, 7]);
  await expect(read).toContainText('not a marker');
});

for (const viewport of [{width: 800, height: 900}, {width: 1366, height: 768}]) {
  test(`at ${viewport.width} × ${viewport.height} a chosen object's place is in view`, async ({page}) => {
    await page.setViewportSize(viewport);
    const folder = generated();
    await pickMixed(page, folder);
    const object = page.locator(`[data-level="${level}"] [data-object]`).nth(7);
    await object.click();
    const box = await page.locator('#map-view').boundingBox();
    expect(box.y).toBeGreaterThanOrEqual(0);
    expect(box.y + box.height).toBeLessThanOrEqual(viewport.height + 1);
    expect(await page.evaluate(() => document.scrollingElement.scrollWidth)).toBeLessThanOrEqual(viewport.width);
  });
}

test('a dropped level file\'s objects carry zurlev info --objects\'s bytes', async ({page}) => {
  const folder = g.levelWith('jungle', fs.readFileSync(path.join(h.examples, 'jungle.tga')));
  fs.writeFileSync(path.join(folder, 'jungle.lev'), h.nativeLevel(folder, 'jungle', 'yes').bytes);
  const [info] = JSON.parse(execFileSync(h.zurlev, ['info', '--json', '--objects', 'jungle.lev'], {cwd: folder, encoding: 'utf8'}));
  await h.open(page);
  await h.pick(page, [path.join(folder, 'jungle.lev')]);
  const listed = page.locator('[data-level-file="jungle.lev"] [data-object]');
  await expect(listed).toHaveCount(info.objects.list.length);
  const bytes = await listed.evaluateAll((items) => items.map((item) => item.dataset.bytes));
  expect(bytes).toEqual(info.objects.list.map(({parameters}) => parameters.join(' ')));
});
