// SPDX-License-Identifier: MIT
// The map panel: the map view (map-view.js) with its zoom buttons, shown
// while there is a level's map or a level file's picture to show.
import {MapView} from './map-view.js';

export class MapPanel {
  constructor() {
    this.section = document.getElementById('map');
    this.canvas = document.getElementById('map-view');
    this.view = new MapView({
      canvas: this.canvas, overview: document.getElementById('map-overview'),
      caption: document.getElementById('map-level'), position: document.getElementById('map-position'),
    });
    document.getElementById('zoom-in').addEventListener('click', () => this.view.zoom(2));
    document.getElementById('zoom-out').addEventListener('click', () => this.view.zoom(0.5));
    document.getElementById('zoom-fit').addEventListener('click', () => {
      this.view.fit();
      this.view.draw();
    });
  }

  // The level or level file shown, or null.
  get shown() {
    return this.view.shown?.level ?? null;
  }

  // Shows `name`'s view (MapView.show says what each argument is).
  async show(name, view, problems, chosen = null, marks = []) {
    this.section.hidden = false;
    await this.view.show(name, view, problems, chosen, marks);
  }

  // A new check's view of `name`, shown only if `name` is.
  async update(name, view, problems) {
    await this.view.update(name, view, problems);
  }

  // Hides the panel if it shows `name`.
  hide(name) {
    if (this.shown !== name) return;
    this.view.clear();
    this.section.hidden = true;
  }

  focus() {
    this.canvas.focus();
  }

  // Scrolls the page, if need be, until the whole map view is in the window.
  reveal() {
    const {top, bottom} = this.canvas.getBoundingClientRect();
    if (top < 0 || bottom > window.innerHeight) this.canvas.scrollIntoView({block: 'nearest'});
  }
}
