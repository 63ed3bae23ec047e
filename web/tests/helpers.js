// SPDX-License-Identifier: MIT
// What the tests share: the native programs to compare with, a level's
// sources generated into a folder, and the page driven through its inputs.
const {execFileSync, spawnSync} = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const root = path.join(__dirname, '..', '..');
const zurconv = process.env.ZUR_REFERENCE_ZURCONV || path.join(root, 'build', 'release', 'cli', 'zurconv');
const zurlev = process.env.ZUR_REFERENCE_ZURLEV || path.join(path.dirname(zurconv), 'zurlev');
const examples = path.join(root, 'examples');

// Runs zurconv in `folder` on `level`; returns its level file's bytes or null.
function nativeLevel(folder, level, answer) {
  const out = fs.mkdtempSync(path.join(os.tmpdir(), 'zur-native-'));
  for (const name of fs.readdirSync(folder)) fs.copyFileSync(path.join(folder, name), path.join(out, name));
  const run = spawnSync(zurconv, [answer === 'yes' ? '--yes' : '--no', level], {cwd: out, encoding: 'utf8'});
  const file = path.join(out, `${level}.lev`);
  return {bytes: fs.existsSync(file) ? fs.readFileSync(file) : null, stderr: run.stderr, stdout: run.stdout};
}

// Runs zurconv in `folder` on the levels as one batch.
function nativeBatch(folder, levels, answer) {
  return spawnSync(zurconv, [answer === 'yes' ? '--yes' : '--no', ...levels], {cwd: folder, encoding: 'utf8'});
}

function nativeCheck(folder, level) {
  const run = spawnSync(zurconv, ['--check', '--json', level], {cwd: folder, encoding: 'utf8'});
  return JSON.parse(run.stdout);
}

function nativeInfo(folder, file) {
  return JSON.parse(execFileSync(zurlev, ['info', '--json', file], {cwd: folder, encoding: 'utf8'}));
}

// Problems as the page lists them: the errors first, each severity in the
// check's order.
function errorsFirst(problems) {
  return [...problems.filter(({severity}) => severity === 'error'), ...problems.filter(({severity}) => severity !== 'error')];
}

// The files of `folder` whose names start with one of `levels`.
function sources(folder, levels) {
  return fs.readdirSync(folder).filter((name) => levels.some((level) => name.toLowerCase().startsWith(level)))
    .map((name) => path.join(folder, name));
}

async function open(page) {
  await page.goto('/');
  await page.waitForFunction(() => window.crossOriginIsolated);
}

async function pick(page, files) {
  await page.setInputFiles('#sources', files);
}

// Converts `level` in the page, answering the illegal colour question (if
// asked) with `answer`; returns the level file's bytes or null.
async function convertInPage(page, level, answer) {
  const shown = page.locator(`[data-level="${level}"]`);
  await shown.locator('[data-problem], li').first().waitFor();
  const asked = page.locator('dialog[open]');
  await shown.getByRole('button', {name: 'Convert'}).click();
  for (;;) {
    if (await asked.isVisible()) await asked.getByRole('button', {name: answer === 'yes' ? 'Yes' : 'No'}).click();
    if (await page.locator(`[data-level="${level}"][data-converted]`).count()) break;
    await page.waitForTimeout(20);
  }
  const link = shown.locator(`a[download="${level.split('/').pop()}.lev"]`);
  if (!(await link.count())) return null;
  const [download] = await Promise.all([page.waitForEvent('download'), link.click()]);
  return fs.readFileSync(await download.path());
}

module.exports = {examples, errorsFirst, nativeLevel, nativeBatch, nativeCheck, nativeInfo, sources, open, pick, convertInPage, zurconv, zurlev};
