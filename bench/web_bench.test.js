// SPDX-License-Identifier: MIT
// Times the page's check and conversion of the level in ZUR_BENCH_LEVEL
// (the terrain level bench/web_bench.sh makes), in headless Chromium; then,
// for the larger level in ZUR_BENCH_LARGE_LEVEL, what the tab and the
// engine's worker hold once its map view is open and once it is converted.
const {test} = require('@playwright/test');
const fs = require('fs');
const path = require('path');

const kMiB = 1 << 20;

function levelFiles(folder) {
  return fs.readdirSync(folder).filter((name) => !/\.lev$/i.test(name)).map((name) => path.join(folder, name));
}

// The moment, in the page, at which an element matching `selector` is first
// there: Playwright notices it only some polls later.
function watchFor(page, selector) {
  return page.evaluate((wanted) => {
    window.benchShown = null;
    const observer = new MutationObserver(() => {
      if (document.querySelector(wanted)) {
        window.benchShown = Date.now();
        observer.disconnect();
      }
    });
    observer.observe(document.body, {subtree: true, childList: true});
  }, selector);
}

async function shownAt(page, selector) {
  await page.locator(selector).first().waitFor({timeout: 300000});
  return page.evaluate(() => window.benchShown);
}

// Milliseconds from the drop to the check's first problem (or its "none")
// on the page.
async function dropAndCheck(page, folder) {
  const listed = '[data-level="terrain"] li';
  await watchFor(page, listed);
  const start = Date.now();
  await page.setInputFiles('#sources', levelFiles(folder));
  return (await shownAt(page, listed)) - start;
}

// Milliseconds from the click to the level file's link on the page.
async function convert(page) {
  const link = '[data-level="terrain"] a[download="terrain.lev"]';
  await watchFor(page, link);
  const start = Date.now();
  await page.locator('[data-level="terrain"]').getByRole('button', {name: 'Convert'}).click();
  return (await shownAt(page, link)) - start;
}

// The processes this test started, and theirs: Chromium's renderers hold
// the tab, its workers included.
function renderers() {
  const children = new Map();
  for (const pid of fs.readdirSync('/proc').filter((name) => /^\d+$/.test(name))) {
    try {
      const parent = Number(fs.readFileSync(`/proc/${pid}/stat`, 'utf8').replace(/^.*\) /, '').split(' ')[1]);
      children.set(parent, [...(children.get(parent) || []), Number(pid)]);
    } catch {
      // gone meanwhile
    }
  }
  const found = [];
  const walk = (pid) => {
    for (const child of children.get(pid) || []) {
      try {
        if (fs.readFileSync(`/proc/${child}/cmdline`, 'utf8').includes('--type=renderer')) found.push(child);
      } catch {
        // gone meanwhile
      }
      walk(child);
    }
  };
  walk(process.pid);
  return found;
}

// Each renderer's resident size now and the largest it reached (the tab's
// own and any other, such as the service worker's).
function rendererMemory() {
  const sizes = renderers().map((pid) => {
    const status = fs.readFileSync(`/proc/${pid}/status`, 'utf8');
    const size = (field) => (Number(new RegExp(`${field}:\\s+(\\d+)`).exec(status)[1]) / 1024).toFixed(0);
    return `${size('VmRSS')} MiB (peak ${size('VmHWM')} MiB)`;
  });
  return `renderers ${sizes.join(', ')}`;
}

async function pageHeap(page) {
  const client = await page.context().newCDPSession(page);
  await client.send('Performance.enable');
  const {metrics} = await client.send('Performance.getMetrics');
  await client.detach();
  return `page's JS heap ${(metrics.find((m) => m.name === 'JSHeapUsedSize').value / kMiB).toFixed(0)} MiB`;
}

// The engine's heap, read in its worker.
async function engineHeap(page) {
  const worker = page.workers().find((w) => w.url().endsWith('/worker.js'));
  const bytes = await worker.evaluate(async () => (await engine).HEAP8.length);
  return `worker's wasm heap ${(bytes / kMiB).toFixed(0)} MiB`;
}

test('check and convert in the page', async ({page}) => {
  test.setTimeout(300000);
  const folder = process.env.ZUR_BENCH_LEVEL;
  await page.goto('/');
  await page.waitForFunction(() => window.crossOriginIsolated);
  for (let run = 1; run <= 3; ++run) {
    await page.reload();
    await page.waitForFunction(() => window.crossOriginIsolated);
    const checked = await dropAndCheck(page, folder);
    console.log(`run ${run}: page check ${checked} ms, page conversion ${await convert(page)} ms`);
  }
});

test('memory with a large map', async ({page}) => {
  const folder = process.env.ZUR_BENCH_LARGE_LEVEL;
  test.skip(!folder, 'no large level given');
  test.setTimeout(600000);
  await page.goto('/');
  await page.waitForFunction(() => window.crossOriginIsolated);
  const checked = await dropAndCheck(page, folder);
  await page.locator('[data-level="terrain"]').getByRole('button', {name: 'Show map'}).click();
  await page.waitForTimeout(1000);
  console.log(`checked in ${checked} ms, map view open: ${rendererMemory()}; ${await pageHeap(page)}; ` +
              `${await engineHeap(page)}`);
  const converted = await convert(page);
  console.log(`converted in ${converted} ms: ${rendererMemory()}; ${await pageHeap(page)}; ` +
              `${await engineHeap(page)}`);
});
