// SPDX-License-Identifier: MIT
// Stepping through the pixels of an illegal colour, one after another in
// row order, each shown on the map. A level's places of each colour are
// asked of the engine once, and forgotten when the level is checked again.
import {element} from './dom.js';

export class Stepper {
  constructor(bridge) {
    this.bridge = bridge;
    this.cache = new Map();  // level -> Map(colour as "r,g,b" -> promise of {places, more})
  }

  forget(level) {
    this.cache.delete(level);
  }

  places(level, colour) {
    if (!this.cache.has(level)) this.cache.set(level, new Map());
    const colours = this.cache.get(level);
    const key = colour.join();
    if (!colours.has(key)) {
      const asked = this.bridge.places(level, colour);
      asked.catch(() => colours.delete(key));
      colours.set(key, asked);
    }
    return colours.get(key);
  }

  // Previous and Next, and where they are, for the pixels of `colour`;
  // `show(place)` shows each place reached.
  controls(level, colour, show) {
    const shown = element('span', {class: 'stepping'});
    const status = element('span', {class: 'step-status', role: 'status'});
    let at = -1;
    const step = async (by) => {
      let found;
      try {
        found = await this.places(level, colour);
      } catch (error) {
        status.textContent = `The pixels could not be listed: ${error.message}`;
        return;
      }
      const {places, more} = found;
      if (places.length === 0) return;
      at = Math.min(Math.max(at + by, 0), places.length - 1);
      const total = more ? `${places.length}+ (first ${places.length} listed)` : String(places.length);
      status.textContent = `pixel ${at + 1} of ${total}`;
      Object.assign(status.dataset, {at: at + 1, of: places.length, more: String(more)});
      show(places[at]);
    };
    shown.append(element('button', {type: 'button'}, 'Previous'), ' ', element('button', {type: 'button'}, 'Next'), ' ',
                 status);
    const [previous, next] = shown.querySelectorAll('button');
    previous.addEventListener('click', () => step(-1));
    next.addEventListener('click', () => step(1));
    // The problem's item chooses itself on a click or Enter; its buttons
    // are not the item.
    for (const type of ['click', 'keydown']) shown.addEventListener(type, (event) => event.stopPropagation());
    return shown;
  }
}
