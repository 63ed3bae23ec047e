// SPDX-License-Identifier: MIT
// The map beside or above the problems, whatever the window: a problem
// chosen from the far end of a long list has the map view in full sight.
const {test, expect} = require('@playwright/test');
const h = require('./helpers');

for (const viewport of [{width: 800, height: 600}, {width: 1366, height: 768}]) {
  test(`at ${viewport.width} x ${viewport.height} a problem chosen has the map view in the window`, async ({page}) => {
    await page.setViewportSize(viewport);
    await h.open(page);
    await h.pick(page, h.sources(h.examples, ['broken', 'jungle']));
    const placed = page.locator('[data-level="broken"] [data-problem]:not([data-x=""])');
    await placed.first().waitFor();
    await page.locator('[data-level="jungle"] li').first().waitFor();
    const last = placed.last();
    await last.click();
    // In the window, and not cut off by its panel.
    const within = (inner, outer) => inner.x >= outer.x && inner.y >= outer.y &&
      inner.x + inner.width <= outer.x + outer.width && inner.y + inner.height <= outer.y + outer.height;
    await expect.poll(async () => {
      const view = await page.locator('#map-view').boundingBox();
      return within(view, {x: 0, y: 0, ...viewport}) && within(view, await page.locator('#map').boundingBox());
    }).toBe(true);
    await expect(page.locator('#map-level')).toContainText('broken');
  });
}
