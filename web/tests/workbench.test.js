// SPDX-License-Identifier: MIT
// The page against the native programs: the same level bytes, the same
// problems, the same level file info; offline after the first visit; no
// request leaves the page's origin.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const os = require('os');
const path = require('path');
const h = require('./helpers');

// Levels as dropped: the examples, and the same sources under names in
// other letter cases, which the source lookup finds as well.
function caseVariant(level, renamed) {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-case-'));
  const names = {'.txt': '.TXT', '.jpg': '.Jpg', 'p.jpg': 'P.JPG', '.tga': '.tGa'};
  for (const [suffix, shown] of Object.entries(names)) {
    fs.copyFileSync(path.join(h.examples, level + suffix), path.join(folder, renamed + shown));
  }
  return folder;
}

const cases = [
  {name: 'jungle', folder: () => h.examples, level: 'jungle'},
  {name: 'broken', folder: () => h.examples, level: 'broken'},
  {name: 'jungle, suffixes in other cases', folder: () => caseVariant('jungle', 'wild'), level: 'wild'},
  {name: 'broken, suffixes in other cases', folder: () => caseVariant('broken', 'Ruins'), level: 'Ruins'},
];

for (const {name, folder, level} of cases) {
  for (const answer of ['yes', 'no']) {
    test(`${name} converts to zurconv's bytes, answering ${answer}`, async ({page}) => {
      const where = folder();
      await h.open(page);
      await h.pick(page, h.sources(where, [level.toLowerCase()]));
      const inPage = await h.convertInPage(page, level, answer);
      const native = h.nativeLevel(where, level, answer);
      expect(inPage === null).toBe(native.bytes === null);
      if (native.bytes) expect(inPage.equals(native.bytes)).toBe(true);
      else {
        // A failure shows the message zurconv prints after the level's line.
        const messages = await page.locator(`[data-level="${level}"] [data-message]`).allInnerTexts();
        const last = messages[messages.length - 1].trim();
        expect(native.stderr).toContain(last);
      }
    });
  }
  test(`${name}: the page's problems are zurconv --check --json's, errors first`, async ({page}) => {
    const where = folder();
    await h.open(page);
    await h.pick(page, h.sources(where, [level.toLowerCase()]));
    const shown = page.locator(`[data-level="${level}"]`);
    await shown.locator('li').first().waitFor();
    const problems = await shown.locator('[data-problem]').evaluateAll((items) => items.map((item) => ({
      code: item.dataset.code, severity: item.dataset.severity, file: item.dataset.file,
      line: item.dataset.line, x: item.dataset.x, y: item.dataset.y})));
    const field = (value) => (value === null ? '' : String(value));
    const expected = h.nativeCheck(where, level).levels[0].problems.map((problem) => ({
      code: problem.code, severity: problem.severity, file: problem.file,
      line: field(problem.line), x: field(problem.x), y: field(problem.y)}));
    expect(problems).toEqual(h.errorsFirst(expected));
  });
}

test('a missing source fails with the conversion\'s message', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-missing-'));
  for (const suffix of ['.txt', '.jpg', 'p.jpg']) {
    fs.copyFileSync(path.join(h.examples, 'jungle' + suffix), path.join(folder, 'jungle' + suffix));
  }
  await h.open(page);
  await h.pick(page, h.sources(folder, ['jungle']));
  expect(await h.convertInPage(page, 'jungle', 'no')).toBeNull();
  const native = h.nativeLevel(folder, 'jungle', 'no');
  const message = (await page.locator('[data-level="jungle"] [data-message]').last().innerText()).trim();
  expect(message.length).toBeGreaterThan(0);
  expect(native.stderr).toContain(message);
});

test('a converted level\'s bar reaches its end, a failed one\'s stops short of it', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-progress-'));
  for (const name of fs.readdirSync(h.examples).filter((name) => name.startsWith('jungle'))) {
    fs.copyFileSync(path.join(h.examples, name), path.join(folder, name));
    if (!name.endsWith('.tga')) fs.copyFileSync(path.join(h.examples, name), path.join(folder, name.replace('jungle', 'nomap')));
  }
  await h.open(page);
  await h.pick(page, h.sources(folder, ['jungle', 'nomap']));
  for (const [level, end] of [['jungle', true], ['nomap', false]]) {
    expect(await h.convertInPage(page, level, 'yes') !== null, level).toBe(end);
    const shown = page.locator(`[data-level="${level}"]`);
    const bar = shown.getByRole('progressbar', {name: `Conversion of ${level}`});
    const value = await bar.evaluate((shownBar) => shownBar.value);
    if (end) expect(value, level).toBe(100);
    else expect(value, level).toBeLessThan(100);
    expect(await shown.getAttribute('aria-busy'), level).toBeNull();
  }
});

test('a dropped level file shows zurlev info --json', async ({page}) => {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-info-'));
  const native = h.nativeLevel(h.examples, 'jungle', 'yes');
  fs.writeFileSync(path.join(folder, 'jungle.lev'), native.bytes);
  await h.open(page);
  await h.pick(page, [path.join(folder, 'jungle.lev')]);
  const shown = await page.locator('[data-level-file="jungle.lev"] [data-info]').innerText();
  expect(JSON.parse(shown)).toEqual(h.nativeInfo(folder, 'jungle.lev')[0]);
});

test('after the first visit the page works with no network, and asks nothing of other origins', async ({page, context}) => {
  const requests = [];
  page.on('request', (request) => requests.push(new URL(request.url()).origin));
  await h.open(page);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.reload();
  await page.evaluate(() => navigator.serviceWorker.ready);
  await context.setOffline(true);
  await page.reload();
  await page.waitForFunction(() => window.crossOriginIsolated);
  await h.pick(page, h.sources(h.examples, ['jungle']));
  const inPage = await h.convertInPage(page, 'jungle', 'yes');
  expect(inPage.equals(h.nativeLevel(h.examples, 'jungle', 'yes').bytes)).toBe(true);
  const origin = new URL(page.url()).origin;
  expect(requests.filter((seen) => seen !== origin && seen !== 'blob:' && seen !== 'null')).toEqual([]);
});

// Generated levels, made from jungle without knowing its formats: a
// keyword line of its config dropped, its attribute map cut short, its
// picture left out. Converted together with "Convert all", each gives
// zurconv's bytes or its message, and the batch zurconv's failure summary.
function generatedLevels() {
  const folder = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-generated-'));
  const config = fs.readFileSync(path.join(h.examples, 'jungle.txt'), 'latin1').split('\n');
  const keywords = config.flatMap((line, at) => (line.startsWith('/') ? [at] : [])).filter((_, n) => n % 2 === 0);
  const map = fs.readFileSync(path.join(h.examples, 'jungle.tga'));
  const levels = [];
  const add = (name, {text = config, tga = map, picture = true}) => {
    fs.writeFileSync(path.join(folder, name + '.txt'), text.join('\n'), 'latin1');
    fs.writeFileSync(path.join(folder, name + '.tga'), tga);
    if (picture) fs.copyFileSync(path.join(h.examples, 'jungle.jpg'), path.join(folder, name + '.jpg'));
    fs.copyFileSync(path.join(h.examples, 'junglep.jpg'), path.join(folder, name + 'p.jpg'));
    levels.push(name);
  };
  for (const at of keywords) add(`dropped${at}`, {text: config.filter((_, line) => line !== at)});
  add('cut-half', {tga: map.subarray(0, map.length >> 1)});
  add('cut-one', {tga: map.subarray(0, map.length - 1)});
  add('no-picture', {picture: false});
  return {folder, levels};
}

test('generated levels converted all at once give zurconv\'s bytes, messages and failure summary', async ({page}) => {
  const {folder, levels} = generatedLevels();
  await h.open(page);
  await h.pick(page, levels.flatMap((level) => h.sources(folder, [level])).filter((file, at, all) => all.indexOf(file) === at));
  for (const level of levels) await page.locator(`[data-level="${level}"] li`).first().waitFor();
  await page.getByRole('button', {name: 'Convert all'}).click();
  const asked = page.locator('dialog[open]');
  while ((await page.locator('[data-level][data-converted]').count()) < levels.length) {
    if (await asked.isVisible()) await asked.getByRole('button', {name: 'No'}).click();
    await page.waitForTimeout(20);
  }
  const batch = h.nativeBatch(folder, levels, 'no');
  for (const level of levels) {
    const native = h.nativeLevel(folder, level, 'no');
    const link = page.locator(`[data-level="${level}"] a[download="${level}.lev"]`);
    expect(await link.count(), level).toBe(native.bytes ? 1 : 0);
    if (native.bytes) {
      // The link's own bytes, read in the page: headless Chromium stops reporting a page's
      // downloads after about a dozen (the single conversions' tests download theirs).
      const bytes = await link.evaluate(async (a) => [...new Uint8Array(await (await fetch(a.href)).arrayBuffer())]);
      expect(Buffer.from(bytes).equals(native.bytes), level).toBe(true);
    } else {
      // The failure's message, its level's line first as in every batch.
      const messages = await page.locator(`[data-level="${level}"] [data-message]`).allInnerTexts();
      const last = messages[messages.length - 1].trim();
      expect(last.startsWith(`${level}:\n`), level).toBe(true);
      expect(batch.stderr, level).toContain(last.slice(level.length + 2));
    }
  }
  const summary = (await page.locator('#summary [data-message]').allInnerTexts()).map((text) => text.trim());
  // zurconv names itself before the summary; the page shows it alone.
  const failed = batch.stderr.split('\n').filter((line) => / levels failed: /.test(line))
    .map((line) => line.replace(/^zurconv: /, ''));
  expect(failed.length).toBe(1);
  expect(summary).toEqual(failed);
});
