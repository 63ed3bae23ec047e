// SPDX-License-Identifier: MIT
// Working through a batch: the buttons wait while their level converts,
// "Convert all" tells how many converted, levels are removed one by one or
// all at once, files that belong to no level are listed apart, and "Convert
// all" offers its level files in one zip.
const {test, expect} = require('@playwright/test');
const {spawnSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

// broken (asks the illegal colour question), jungle, and nomap: jungle
// without its attribute map, which fails.
function threeLevels(extra = {}) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-flow-'));
  for (const name of fs.readdirSync(h.examples)) {
    fs.copyFileSync(path.join(h.examples, name), path.join(folder, name));
    if (name.startsWith('jungle') && !name.endsWith('.tga')) fs.copyFileSync(path.join(h.examples, name), path.join(folder, name.replace('jungle', 'nomap')));
  }
  for (const [name, text] of Object.entries(extra)) fs.writeFileSync(path.join(folder, name), text);
  return folder;
}

function picked(folder) {
  return fs.readdirSync(folder).map((name) => path.join(folder, name));
}

async function levelsShown(page) {
  return page.locator('[data-level]').evaluateAll((shown) => shown.map((level) => level.dataset.level));
}

test('while a batch converts its levels\' buttons wait; then "Convert all" tells how many converted', async ({page}) => {
  const folder = threeLevels();
  await h.open(page);
  await h.pick(page, picked(folder));
  for (const level of ['broken', 'jungle', 'nomap']) await page.locator(`[data-level="${level}"] li`).first().waitFor();
  await page.getByRole('button', {name: 'Convert all'}).click();
  // The engine waits on the question: the batch is surely running.
  const asked = page.locator('dialog[open]');
  await asked.waitFor();
  for (const level of ['broken', 'jungle', 'nomap']) {
    const shown = page.locator(`[data-level="${level}"]`);
    for (const name of ['Convert', 'Check again', 'Remove']) {
      await expect(shown.getByRole('button', {name, exact: true}), `${level}: ${name}`).toBeDisabled();
    }
  }
  for (const name of ['Convert all', 'Check all again', 'Clear all']) await expect(page.getByRole('button', {name})).toBeDisabled();
  await asked.getByRole('button', {name: 'Yes'}).click();
  await expect(page.locator('[data-converted-count]')).toHaveText('2 of 3 converted');
  await expect(page.locator('[data-level="nomap"]')).toHaveAttribute('data-converted', 'no');
  for (const name of ['Convert', 'Check again', 'Remove']) {
    await expect(page.locator('[data-level="jungle"]').getByRole('button', {name, exact: true})).toBeEnabled();
  }
  for (const name of ['Convert all', 'Check all again', 'Clear all']) await expect(page.getByRole('button', {name})).toBeEnabled();
});

test('a level is removed with its files, its download let go; "Clear all" removes everything', async ({page}) => {
  const folder = threeLevels();
  // A level whose prefix starts another's: removing it keeps the other.
  for (const suffix of ['.txt', '.tga', '.jpg', 'p.jpg']) fs.copyFileSync(path.join(h.examples, 'jungle' + suffix), path.join(folder, 'jungle2' + suffix));
  fs.writeFileSync(path.join(folder, 'jungle.lev'), h.nativeLevel(h.examples, 'jungle', 'yes').bytes);
  await h.open(page);
  await h.pick(page, picked(folder));
  await page.locator('[data-level="jungle2"] li').first().waitFor();
  await page.locator('[data-level-file="jungle.lev"]').waitFor();
  expect(await h.convertInPage(page, 'jungle', 'yes')).not.toBeNull();
  const href = await page.locator('[data-level="jungle"] a[download]').getAttribute('href');
  await page.locator('[data-level="jungle"]').getByRole('button', {name: 'Remove'}).click();
  await expect(page.locator('[data-level="jungle"]')).toHaveCount(0);
  expect(await levelsShown(page)).toEqual(['broken', 'jungle2', 'nomap']);
  // The level file dropped beside it is no source of it and stays.
  await expect(page.locator('[data-level-file="jungle.lev"]')).toHaveCount(1);
  await expect(page.locator('#summary')).toHaveText('3 levels found among 11 files.');
  expect(await page.evaluate((url) => fetch(url).then(() => 'read', () => 'gone'), href)).toBe('gone');
  await page.getByRole('button', {name: 'Clear all'}).click();
  await expect(page.locator('[data-level]')).toHaveCount(0);
  await expect(page.locator('[data-level-file]')).toHaveCount(0);
  await expect(page.locator('#summary')).toHaveText('0 levels found among 0 files.');
  await expect(page.getByRole('button', {name: 'Clear all'})).toBeDisabled();
  await expect(page.getByRole('button', {name: 'Convert all'})).toBeDisabled();
});

test('files that belong to no level are listed apart, a stray config as a level of its own', async ({page}) => {
  const folder = threeLevels({'notes.txt': 'not a level\n', 'readme.md': '# levels\n', 'thumbs.db': 'x', 'jungle.png': 'x'});
  await h.open(page);
  await h.pick(page, picked(folder));
  await page.locator('[data-level="notes"] li').first().waitFor();
  expect(await levelsShown(page)).toEqual(['broken', 'jungle', 'nomap', 'notes']);
  const others = page.getByRole('region', {name: 'Other files'});
  await expect(others).toBeVisible();
  expect((await others.locator('[data-other]').allInnerTexts()).sort()).toEqual(['jungle.png', 'readme.md', 'thumbs.db']);
  await page.getByRole('button', {name: 'Clear all'}).click();
  await expect(others).toBeHidden();
});

// The entries of a zip file as Python's zipfile reads them (which checks
// each entry's CRC): name -> bytes.
function zipEntries(file) {
  const read = 'import base64, json, sys, zipfile\n' +
    'with zipfile.ZipFile(sys.argv[1]) as z: print(json.dumps({n: base64.b64encode(z.read(n)).decode() for n in z.namelist()}))';
  const entries = JSON.parse(spawnSync('python3', ['-c', read, file], {encoding: 'utf8'}).stdout);
  return Object.fromEntries(Object.entries(entries).map(([name, base64]) => [name, Buffer.from(base64, 'base64')]));
}

test('"Convert all" offers its level files in one zip, each under its level\'s path, let go with the summary', async ({page}) => {
  const parent = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-zip-'));
  const folder = path.join(parent, 'levels');
  fs.renameSync(threeLevels(), folder);
  // A level of the same name in a folder below: the same download name.
  fs.mkdirSync(path.join(folder, 'sub'));
  for (const name of h.sources(h.examples, ['jungle'])) fs.copyFileSync(name, path.join(folder, 'sub', path.basename(name)));
  await h.open(page);
  await page.setInputFiles('#folder', folder);
  const levels = ['levels/broken', 'levels/jungle', 'levels/nomap', 'levels/sub/jungle'];
  for (const level of levels) await page.locator(`[data-level="${level}"] li`).first().waitFor();
  const convertAll = async () => {
    await page.getByRole('button', {name: 'Convert all'}).click();
    await page.locator('dialog[open]').getByRole('button', {name: 'Yes'}).click();
    for (const level of levels) await page.locator(`[data-level="${level}"][data-converted]`).waitFor();
  };
  const saved = async (link) => {
    const [download] = await Promise.all([page.waitForEvent('download'), link.click()]);
    return fs.readFileSync(await download.path());
  };
  await convertAll();
  const singles = {};
  for (const level of levels) {
    const link = page.locator(`[data-level="${level}"] a[download$=".lev"]`);
    if (await link.count()) singles[`${level}.lev`] = await saved(link);
  }
  expect(Object.keys(singles).sort()).toEqual(['levels/broken.lev', 'levels/jungle.lev', 'levels/sub/jungle.lev']);
  const zip = page.locator('#summary a[download="levels.zip"]');
  const zipFile = path.join(parent, 'levels.zip');
  fs.writeFileSync(zipFile, await saved(zip));
  expect(zipEntries(zipFile)).toEqual(singles);

  // A new batch, then levels gone, let the zip before go.
  const gone = (url) => page.evaluate((href) => fetch(href).then(() => 'read', () => 'gone'), url);
  const first = await zip.getAttribute('href');
  await convertAll();
  expect(await gone(first)).toBe('gone');
  const second = await zip.getAttribute('href');
  await page.getByRole('button', {name: 'Clear all'}).click();
  await expect(zip).toHaveCount(0);
  expect(await gone(second)).toBe('gone');
});
