// SPDX-License-Identifier: MIT
// Checking again: a source saved after it was picked is told, the new
// version picked again is checked (and only its level), and a watched
// folder's saved or removed source has its level checked again unasked.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

// broken's sources copied into `folder`, and the changed config that
// answers two of its problems: /PARA says yes, /CIVIL is in range.
function brokenIn(folder) {
  fs.mkdirSync(folder, {recursive: true});
  for (const name of h.sources(h.examples, ['broken'])) fs.copyFileSync(name, path.join(folder, path.basename(name)));
}
function saveChangedConfig(folder) {
  const lines = fs.readFileSync(path.join(folder, 'broken.txt'), 'latin1').split('\n');
  const after = (keyword) => lines.indexOf(keyword) + 1;
  lines[after('/PARA')] = 'yes';
  lines[after('/CIVIL')] = '30';
  fs.writeFileSync(path.join(folder, 'broken.txt'), lines.join('\n'), 'latin1');
}

function shownProblems(page, level) {
  return page.locator(`[data-level="${level}"] [data-problem]`).evaluateAll((items) => items.map((item) => ({
    code: item.dataset.code, file: item.dataset.file, line: item.dataset.line, x: item.dataset.x, y: item.dataset.y})));
}
function nativeProblems(folder, level) {
  const field = (value) => (value === null ? '' : String(value));
  return h.errorsFirst(h.nativeCheck(folder, level).levels[0].problems).map(({code, file, line, x, y}) => ({
    code, file, line: field(line), x: field(x), y: field(y)}));
}

test('a source saved after it was picked is told; picked again, its level alone is checked again', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-again-'));
  brokenIn(folder);
  for (const name of h.sources(h.examples, ['jungle'])) fs.copyFileSync(name, path.join(folder, path.basename(name)));
  await h.open(page);
  await h.pick(page, h.sources(folder, ['broken', 'jungle']));
  const broken = page.locator('[data-level="broken"]');
  await broken.locator('[data-problem]').first().waitFor();
  await page.locator('[data-level="jungle"] li').first().waitFor();
  const before = await shownProblems(page, 'broken');
  // Marks jungle's shown problems: a check of jungle would replace them.
  await page.locator('[data-level="jungle"] .problems').evaluate((list) => { list.firstChild.marked = true; });

  saveChangedConfig(folder);
  await broken.getByRole('button', {name: 'Check again'}).click();
  // Said alone: the version picked is not checked as if it were empty.
  await expect(broken.locator('.note')).toHaveText('broken.txt changed after it was picked: pick or drop the new version to check it.');
  expect(await shownProblems(page, 'broken')).toEqual(before);

  await h.pick(page, [path.join(folder, 'broken.txt')]);
  const expected = nativeProblems(folder, 'broken');
  expect(expected).not.toEqual(before);
  await expect.poll(() => shownProblems(page, 'broken')).toEqual(expected);
  await expect(broken.locator('.note')).toBeEmpty();
  expect(await page.locator('[data-level="jungle"] .problems').evaluate((list) => list.firstChild.marked)).toBe(true);
});

test('a watched folder\'s level is checked again when its config is saved and when a source goes', async ({page}) => {
  const parent = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-watch-'));
  const folder = path.join(parent, 'levels');
  brokenIn(folder);
  const files = fs.readdirSync(folder).map((name) => [name, fs.readFileSync(path.join(folder, name)).toString('base64')]);
  // The folder the browser keeps open is the origin's own here: the
  // folder picker cannot be driven headless.
  await h.open(page);
  await page.evaluate(async (contents) => {
    const root = await navigator.storage.getDirectory();
    const levels = await root.getDirectoryHandle('levels', {create: true});
    for (const [name, base64] of contents) {
      const writable = await (await levels.getFileHandle(name, {create: true})).createWritable();
      await writable.write(Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)));
      await writable.close();
    }
    const {watchHandles} = await import('./app.js');
    await watchHandles([levels]);
  }, files);
  await expect.poll(() => shownProblems(page, 'levels/broken')).toEqual(nativeProblems(parent, 'levels/broken'));

  saveChangedConfig(folder);
  const saved = fs.readFileSync(path.join(folder, 'broken.txt')).toString('base64');
  await page.evaluate(async (base64) => {
    const levels = await (await navigator.storage.getDirectory()).getDirectoryHandle('levels');
    const writable = await (await levels.getFileHandle('broken.txt')).createWritable();
    await writable.write(Uint8Array.from(atob(base64), (c) => c.charCodeAt(0)));
    await writable.close();
  }, saved);
  await expect.poll(() => shownProblems(page, 'levels/broken')).toEqual(nativeProblems(parent, 'levels/broken'));

  // A source gone: its level fails for want of it, as the check says, and
  // its map is no longer shown.
  await expect(page.locator('#map')).toBeVisible();
  fs.rmSync(path.join(folder, 'broken.tga'));
  await page.evaluate(async () => {
    const levels = await (await navigator.storage.getDirectory()).getDirectoryHandle('levels');
    await levels.removeEntry('broken.tga');
  });
  await expect.poll(() => shownProblems(page, 'levels/broken')).toEqual(nativeProblems(parent, 'levels/broken'));
  await expect(page.locator('#map')).toBeHidden();
});
