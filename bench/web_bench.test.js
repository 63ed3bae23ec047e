// SPDX-License-Identifier: MIT
// The page in headless Chromium against the browser's read floor. For each
// level folder in ZUR_BENCH_LEVELS (bench/web_bench.sh makes a terrain and
// a noise level), three runs of: the drop to the check's first problem
// listed and to the map view shown, the conversion, and the floor (a worker
// reading the dropped map front to back in the read-ahead's block size,
// bench/web_bench_floor.js). Then, for the level in ZUR_BENCH_LARGE_LEVEL,
// the tab's memory after its check and after its first and twentieth
// conversion.
const {test} = require('@playwright/test');
const fs = require('fs');
const path = require('path');

const kMiB = 1 << 20;
const kConversions = 20;

function levelFiles(folder) {
  return fs.readdirSync(folder).filter((name) => !/\.lev$/i.test(name)).map((name) => path.join(folder, name));
}

function levelName(folder) {
  return fs.readdirSync(folder).find((name) => /\.txt$/i.test(name)).replace(/\.txt$/i, '');
}

// The floor's worker is served beside the site, so that it imports the
// read-ahead's block size as the page has it.
async function serveFloor(page) {
  await page.route('**/web_bench_floor.js', (route) => route.fulfill({
    path: path.join(__dirname, 'web_bench_floor.js'),
    contentType: 'text/javascript',
    headers: {'Cross-Origin-Embedder-Policy': 'require-corp', 'Cross-Origin-Resource-Policy': 'same-origin'},
  }));
}

async function open(page) {
  await page.goto('/');
  await page.waitForFunction(() => window.crossOriginIsolated);
}

// Records in the page the moment each mark's test first holds (Playwright
// notices it only some polls later): marks is {name: [selector, text]}, the
// text of the selected element, or null for any element. The page's
// benchMarks resolves once all have held.
function watchFor(page, marks) {
  return page.evaluate((wanted) => {
    window.benchMarks = new Promise((resolve) => {
      const held = {};
      const observer = new MutationObserver(() => {
        for (const [name, [selector, text]] of Object.entries(wanted)) {
          const found = document.querySelector(selector);
          if (!(name in held) && found && (text === null || found.textContent === text)) {
            held[name] = performance.timeOrigin + performance.now();
          }
        }
        if (Object.keys(held).length < Object.keys(wanted).length) return;
        observer.disconnect();
        resolve(held);
      });
      observer.observe(document.body, {subtree: true, childList: true, characterData: true, attributes: true});
    });
  }, marks);
}

// Milliseconds from `start` to each mark.
async function marksSince(page, start) {
  const marks = await page.evaluate(() => window.benchMarks);
  return Object.fromEntries(Object.entries(marks).map(([name, at]) => [name, Math.round(at - start)]));
}

// Milliseconds from the drop to the check's first problem (or its "none")
// listed and to the map view shown.
async function drop(page, folder, level) {
  await watchFor(page, {checked: [`[data-level="${level}"] li`, null], view: ['#map-level', level]});
  const start = Date.now();
  await page.setInputFiles('#sources', levelFiles(folder));
  return marksSince(page, start);
}

// Milliseconds from the click to the level file's link on the page.
async function convert(page, level) {
  await watchFor(page, {converted: [`[data-level="${level}"] a[download="${level}.lev"]`, null]});
  const start = Date.now();
  await page.locator(`[data-level="${level}"]`).getByRole('button', {name: 'Convert'}).click();
  return (await marksSince(page, start)).converted;
}

// The floor: the level's map, picked through an input of the bench's own
// (so that the page does not see it), read by a worker of its own.
async function readFloor(page, folder) {
  await page.evaluate(() => {
    const input = Object.assign(document.createElement('input'), {type: 'file', id: 'bench-floor', hidden: true});
    document.body.append(input);
  });
  await page.setInputFiles('#bench-floor', levelFiles(folder).filter((name) => /\.tga$/i.test(name)));
  return page.evaluate(() => new Promise((resolve, reject) => {
    const input = document.getElementById('bench-floor');
    const worker = new Worker('web_bench_floor.js', {type: 'module'});
    worker.onmessage = ({data}) => {
      worker.terminate();
      input.remove();
      resolve(data);
    };
    worker.onerror = (event) => reject(new Error(event.message || 'the floor worker failed'));
    worker.postMessage(input.files[0]);
  }));
}

function median(values) {
  const sorted = [...values].sort((a, b) => a - b);
  return sorted[Math.floor(sorted.length / 2)];
}

test('the page against the browser\'s read floor', async ({page}) => {
  test.setTimeout(900000);
  await serveFloor(page);
  await open(page);
  for (const folder of (process.env.ZUR_BENCH_LEVELS || '').split(':').filter(Boolean)) {
    const level = levelName(folder);
    const runs = [];
    for (let run = 1; run <= 3; ++run) {
      await page.reload();
      await page.waitForFunction(() => window.crossOriginIsolated);
      const {ms, bytes} = await readFloor(page, folder);
      const {checked, view} = await drop(page, folder, level);
      const converted = await convert(page, level);
      runs.push({floor: ms, checked, view, converted});
      console.log(`${level} run ${run}: floor ${ms.toFixed(0)} ms (${(bytes / kMiB).toFixed(0)} MiB), ` +
                  `check ${checked} ms, map view ${view} ms, conversion ${converted} ms`);
    }
    const floor = median(runs.map((run) => run.floor));
    const figures = ['checked', 'view', 'converted'].map((name) => {
      const ms = median(runs.map((run) => run[name]));
      return `${name} ${ms.toFixed(0)} ms = ${(ms / floor).toFixed(2)} × floor`;
    });
    console.log(`${level} medians: floor ${floor.toFixed(0)} ms, ${figures.join(', ')}`);
  }
});

// The processes this test started, and theirs, by Chromium's process type:
// the renderer holds the tab, its workers included; the browser process
// holds the Blobs.
function chromiumProcesses() {
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
        const command = fs.readFileSync(`/proc/${child}/cmdline`, 'utf8');
        if (command.includes('chrom')) found.push({pid: child, type: /--type=([a-z-]+)/.exec(command)?.[1] ?? 'browser'});
      } catch {
        // gone meanwhile
      }
      walk(child);
    }
  };
  walk(process.pid);
  return found;
}

function residentMiB(pid) {
  const status = fs.readFileSync(`/proc/${pid}/status`, 'utf8');
  return Number(/VmRSS:\s+(\d+)/.exec(status)[1]) / 1024;
}

// The tab's memory: the renderer's resident size (the page and its workers,
// their WebAssembly heaps included) and what the browser measures the page
// and its workers at (performance.measureUserAgentSpecificMemory, after a
// garbage collection).
async function tabMemory(page) {
  const measured = await page.evaluate(async () => {
    const {bytes, breakdown} = await performance.measureUserAgentSpecificMemory();
    const byScope = {};
    for (const {bytes: part, attribution, types} of breakdown) {
      for (const {scope, url} of attribution) {
        const name = `${scope === 'Window' ? 'page' : url.split('/').pop()} ${types.join('+')}`;
        byScope[name] = (byScope[name] || 0) + part / attribution.length;
      }
    }
    return {bytes, byScope};
  });
  const processes = chromiumProcesses();
  const renderer = processes.filter(({type}) => type === 'renderer').reduce((sum, {pid}) => sum + residentMiB(pid), 0);
  const browser = processes.filter(({type}) => type === 'browser').reduce((sum, {pid}) => sum + residentMiB(pid), 0);
  return {renderer, browser, measured: measured.bytes / kMiB, byScope: measured.byScope};
}

function describe({renderer, browser, measured, byScope}) {
  const scopes = Object.entries(byScope).map(([name, bytes]) => `${name} ${(bytes / kMiB).toFixed(1)}`).join(', ');
  return `renderer ${renderer.toFixed(0)} MiB resident, measured ${measured.toFixed(1)} MiB (${scopes}); ` +
         `browser process ${browser.toFixed(0)} MiB`;
}

test('the tab\'s memory over twenty conversions', async ({page}) => {
  const folder = process.env.ZUR_BENCH_LARGE_LEVEL;
  test.skip(!folder, 'no large level given');
  test.setTimeout(900000);
  const level = levelName(folder);
  await open(page);
  const {checked, view} = await drop(page, folder, level);
  console.log(`checked in ${checked} ms, map view shown at ${view} ms: ${describe(await tabMemory(page))}`);
  const times = [];
  const after = {};
  for (let conversion = 1; conversion <= kConversions; ++conversion) {
    times.push(await convert(page, level));
    if (conversion !== 1 && conversion !== kConversions) continue;
    after[conversion] = await tabMemory(page);
    console.log(`after conversion ${conversion}: ${describe(after[conversion])}`);
  }
  const [first, last] = [after[1], after[kConversions]];
  console.log(`conversions ${median(times)} ms (median of ${kConversions}); after ${kConversions} ÷ after 1: ` +
              `renderer ${(last.renderer / first.renderer).toFixed(2)}, measured ${(last.measured / first.measured).toFixed(2)}, ` +
              `browser process ${(last.browser / first.browser).toFixed(2)}`);
});
