// SPDX-License-Identifier: MIT
// The map panel: the map view (map-view.js) with its zoom buttons and layer
// switches (layers.js), shown while there is a level's map or a level
// file's picture to show. It keeps the scene shown and what the person
// chose to see of it: the map before or after a repair, a legend code's
// pixels highlighted.
import {LayerControls} from './layers.js';
import {MapView} from './map-view.js';
import {highlighted, release} from './reduce.js';

export class MapPanel {
  constructor() {
    this.section = document.getElementById('map');
    this.canvas = document.getElementById('map-view');
    this.view = new MapView({
      canvas: this.canvas, overview: document.getElementById('map-overview'),
      caption: document.getElementById('map-level'), position: document.getElementById('map-position'),
    });
    this.scene = null;  // the scene shown, as given to show()
    this.after = false;  // the repaired map shown instead of the source's
    this.highlightColour = null;  // the colour whose pixels are highlighted
    this.highlight = null;  // {of: the bitmap it was made from, colour, bitmap}
    this.listeners = [];
    this.layers = new LayerControls(document.getElementById('map-layers'), {
      look: (name, look) => this.view.setLayerLook(name, look),
      repaired: (after) => {
        this.after = after;
        this.refresh();
      },
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

  // `listener(name, scene)` is called whenever another scene is shown, or
  // the scene shown changes (null when none is).
  onShown(listener) {
    this.listeners.push(listener);
  }

  // Shows `name`'s scene: {kind ('level' or 'level-file'), width, height,
  // step, layers: {picture, attributes, problems}, repair: {after,
  // changed} or null, pins, marks, legend}; a chosen place ({x, y}) is
  // centred. The scene's bitmaps stay its owner's.
  async show(name, scene, chosen = null) {
    const another = this.scene !== scene;
    this.section.hidden = false;
    this.scene = scene;
    if (another && this.after && !scene.repair) this.after = false;
    this.layers.showAfter(this.after);
    this.view.show(name, {...scene, layers: this.layersOf(scene)}, chosen);
    if (chosen) this.reveal();
    for (const listener of this.listeners) listener(name, scene);
    await this.highlightAgain();
  }

  // A new scene of `name`, shown only if `name` is: the part in view kept.
  async update(name, scene) {
    if (this.shown === name) await this.show(name, scene);
  }

  // The scene shown changed in place (a picture decoded, a repair made).
  async refresh() {
    if (!this.scene) return;
    this.layers.showAfter(this.after);
    await this.show(this.shown, this.scene, this.view.shown.chosen);
  }

  layersOf(scene) {
    const {picture, attributes, problems} = scene.layers;
    const shown = {picture, attributes, problems};
    if (scene.repair) {
      shown.changed = scene.repair.changed;
      if (this.after) shown.attributes = scene.repair.after;
    }
    if (this.highlight && this.highlight.of === shown.attributes) shown.highlight = this.highlight.bitmap;
    this.layers.offer(shown);
    return shown;
  }

  // Highlights the pixels of `colour` ([r, g, b], or null for none) in the
  // attribute map shown.
  async highlightColourOf(colour) {
    this.highlightColour = colour;
    await this.highlightAgain();
  }

  async highlightAgain() {
    const attributes = this.view.shown?.layers.attributes ?? null;
    const colour = this.highlightColour;
    const current = this.highlight;
    if (current && current.of === attributes && current.colour === colour) return;
    this.highlight = null;
    if (current) {
      this.view.setLayer('highlight', null);
      release(current.bitmap);
    }
    if (!attributes || !colour) return;
    const making = this.highlight = {of: attributes, colour, bitmap: null};
    const bitmap = await highlighted(attributes, colour);
    if (this.highlight !== making) {
      release(bitmap);
      return;
    }
    making.bitmap = bitmap;
    this.view.setLayer('highlight', bitmap);
  }

  // Hides the panel if it shows `name`.
  hide(name) {
    if (this.shown !== name) return;
    this.view.clear();
    this.scene = null;
    this.section.hidden = true;
    for (const listener of this.listeners) listener(null, null);
  }

  // Brings the map into the window when it is not wholly in it (a narrow
  // window puts it under the lists).
  focus() {
    this.canvas.focus();
  }

  // Scrolls the page, if need be, until the whole map view is in the window.
  reveal() {
    const {top, bottom} = this.canvas.getBoundingClientRect();
    if (top < 0 || bottom > window.innerHeight) this.canvas.scrollIntoView({block: 'nearest'});
  }
}
