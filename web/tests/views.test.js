// SPDX-License-Identifier: MIT
// What a chosen problem shows (its line of the config file, its pixel in
// the middle of the map view), the map view's keys and overview, and the
// page at 1280 × 800 in both colour schemes: its picture is docs/page.png.
const {test, expect} = require('@playwright/test');
const fs = require('fs');
const path = require('path');
const h = require('./helpers');

async function pickBroken(page) {
  await h.open(page);
  await h.pick(page, h.sources(h.examples, ['broken', 'jungle']));
  await page.locator('[data-level="broken"] [data-problem]').first().waitFor();
  await page.locator('[data-level="jungle"] li').first().waitFor();
}

// The map pixel under the middle of the map view, as the view tells it.
async function middle(page) {
  const box = await page.locator('#map-view').boundingBox();
  await page.mouse.move(box.x + box.width / 2, box.y + box.height / 2);
  const [, x, y] = (await page.locator('#map-position').innerText()).match(/x=(\d+) y=(\d+)/);
  return [Number(x), Number(y)];
}

test('choosing a config problem shows its line of the config file', async ({page}) => {
  await pickBroken(page);
  const lines = fs.readFileSync(path.join(h.examples, 'broken.txt'), 'latin1').split('\n');
  const placed = page.locator('[data-level="broken"] [data-problem]:not([data-line=""])');
  expect(await placed.count()).toBeGreaterThan(5);
  for (const item of await placed.all()) {
    const line = Number(await item.getAttribute('data-line'));
    await item.click();
    const excerpt = page.locator('[data-level="broken"] .excerpt');
    await expect(excerpt.locator('figcaption')).toHaveText(`broken.txt, line ${line}`);
    expect((await excerpt.locator('mark').innerText()).trim()).toBe(lines[line - 1].trim());
  }
});

test('choosing a problem with a place puts its pixel in the middle of the map view', async ({page}) => {
  await pickBroken(page);
  const placed = page.locator('[data-level="broken"] [data-problem]:not([data-x=""])');
  expect(await placed.count()).toBeGreaterThan(2);
  for (const item of await placed.all()) {
    const at = [Number(await item.getAttribute('data-x')), Number(await item.getAttribute('data-y'))];
    await item.focus();
    await page.keyboard.press('Enter');
    await expect(page.locator('#map-level')).toHaveText(`broken: x=${at[0]} y=${at[1]}`);
    expect(await middle(page)).toEqual(at);
    if ((await item.getAttribute('data-code')) === 'illegal-colours') {
      const colour = await page.locator('#map-view').evaluate((canvas) => [...canvas.getContext('2d')
        .getImageData(Math.floor(canvas.width / 2), Math.floor(canvas.height / 2), 1, 1).data.slice(0, 3)]);
      expect(colour).toEqual([255, 0, 255]);
    }
  }
});

test('the map view pans and zooms by keys, and the overview shows a place when clicked', async ({page}) => {
  await pickBroken(page);
  const item = page.locator('[data-level="broken"] [data-code="illegal-colours"]').first();
  await item.click();
  const start = await middle(page);
  const view = page.locator('#map-view');
  await view.focus();
  await page.keyboard.press('ArrowRight');
  await page.keyboard.press('ArrowDown');
  const moved = await middle(page);
  expect(moved[0]).toBeGreaterThan(start[0]);
  expect(moved[1]).toBeGreaterThan(start[1]);
  await page.keyboard.press('ArrowLeft');
  await page.keyboard.press('ArrowUp');
  expect(await middle(page)).toEqual(start);
  await page.keyboard.press('-');
  expect(await middle(page)).toEqual(start);

  // The whole map by key, and the middle of the overview, are the same
  // place; the overview is there only while part of the map is not.
  await page.keyboard.press('0');
  const whole = await middle(page);
  const overview = page.locator('#map-overview');
  await expect(overview).toBeHidden();
  await page.keyboard.press('+');
  await page.keyboard.press('+');
  expect(await middle(page)).toEqual(whole);
  const box = await overview.boundingBox();
  await overview.click({position: {x: 2, y: 2}});
  const corner = await middle(page);
  expect(corner[0]).toBeLessThan(whole[0] / 8);
  expect(corner[1]).toBeLessThan(whole[1] / 8);
  await overview.click({position: {x: box.width / 2 - 2, y: box.height / 2 - 2}});
  const back = await middle(page);
  expect(Math.abs(back[0] - whole[0])).toBeLessThanOrEqual(1);
  expect(Math.abs(back[1] - whole[1])).toBeLessThanOrEqual(1);
});

// WCAG's contrast of two CSS colours "rgb(r, g, b)".
function contrast(one, other) {
  const luminance = (colour) => {
    const [r, g, b] = colour.match(/[\d.]+/g).slice(0, 3).map((value) => {
      const c = Number(value) / 255;
      return c <= 0.03928 ? c / 12.92 : ((c + 0.055) / 1.055) ** 2.4;
    });
    return 0.2126 * r + 0.7152 * g + 0.0722 * b;
  };
  const [light, dark] = [luminance(one), luminance(other)].sort((a, b) => b - a);
  return (light + 0.05) / (dark + 0.05);
}

// Each visible text's colour and the colour behind it.
function textColours(page) {
  return page.evaluate(() => [...document.querySelectorAll('h1, h2, p, li, figcaption, pre, mark, button, label')]
    .filter((shown) => shown.checkVisibility() && shown.textContent.trim())
    .map((shown) => {
      let behind = shown;
      while (/rgba\(.*, 0\)$|transparent/.test(getComputedStyle(behind).backgroundColor)) behind = behind.parentElement;
      return {text: shown.textContent.trim().slice(0, 40), colour: getComputedStyle(shown).color,
              background: getComputedStyle(behind).backgroundColor};
    }));
}

test.describe('at 1280 × 800', () => {
  test.use({viewport: {width: 1280, height: 800}});
  test('the list and the chosen place are in view together, every control is labelled and reached by Tab, every text readable in both schemes', async ({page}) => {
    await pickBroken(page);
    const chosen = page.locator('[data-level="broken"] [data-problem][data-x="10"][data-y="40"]');
    await chosen.click();
    await expect(page.locator('#map-level')).toHaveText('broken: x=10 y=40');
    expect(await page.evaluate(() => document.scrollingElement.scrollWidth)).toBeLessThanOrEqual(1280);
    const inView = async (shown) => {
      const box = await shown.boundingBox();
      return box.y >= 0 && box.y + box.height <= 800;
    };
    for (const shown of [chosen, page.locator('#map-view'), page.locator('#map-overview')]) expect(await inView(shown)).toBe(true);

    // The picture: the whole map beside a config problem's line.
    await page.evaluate(() => window.scrollTo(0, 0));
    await page.getByRole('button', {name: 'Whole map'}).click();
    await page.locator('[data-level="broken"] [data-code="bad-yes-no"]').click();
    await page.mouse.move(0, 0);
    expect(await inView(page.locator('[data-level="broken"] .excerpt'))).toBe(true);
    await page.screenshot({path: process.env.ZUR_WEB_SCREENSHOT || test.info().outputPath('page.png')});

    const unlabelled = await page.evaluate(() => [...document.querySelectorAll('button, input, canvas, [tabindex]')]
      .filter((control) => !control.closest('[hidden], dialog:not([open])'))
      .filter((control) => !(control.labels?.length || control.getAttribute('aria-label') || control.textContent.trim()))
      .map((control) => control.outerHTML));
    expect(unlabelled).toEqual([]);

    const reached = new Set();
    await page.locator('body').focus();
    for (let tab = 0; tab < 80; ++tab) {
      await page.keyboard.press('Tab');
      reached.add(await page.evaluate(() => {
        const at = document.activeElement;
        return at.id || (at.dataset.problem !== undefined ? 'problem' : at.textContent.trim());
      }));
    }
    for (const control of ['sources', 'folder', 'convert-all', 'check-again', 'Convert', 'Check again',
                           'Show map', 'problem', 'zoom-in', 'zoom-out', 'zoom-fit', 'map-view']) {
      expect(reached, control).toContain(control);
    }

    for (const colorScheme of ['light', 'dark']) {
      await page.emulateMedia({colorScheme});
      const texts = await textColours(page);
      expect(texts.length).toBeGreaterThan(20);
      for (const {text, colour, background} of texts) {
        expect(contrast(colour, background), `${colorScheme}: ${text}: ${colour} on ${background}`).toBeGreaterThanOrEqual(4.5);
      }
    }
  });
});
