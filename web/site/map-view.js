// SPDX-License-Identifier: MIT
// The map view: a level's map in layers (its picture, its attribute map,
// its problems, its objects, and what a repair changed or a legend's
// chosen code highlights), zoomed and panned, a pin on each problem with a
// place, and over its corner, while part of the map is out of view, an
// overview of the whole map with the part in view framed, where a click
// centres the view. Positions are in map pixels, (0, 0) the top left
// corner; `scale` is canvas pixels per map pixel. A layer's bitmap holds
// one pixel per `step` x `step` map pixels.
import {reduced} from './reduce.js';

const kOverviewSide = 180;  // CSS pixels, the overview's longer side
const kPlaceScale = 8;  // the least zoom at which a chosen place is shown
const kPinReach = 12;  // CSS pixels around a pin or ring that a click chooses it in
// The background: a checkerboard of two colours that no palette colour,
// marker colour or dimmed grey is.
const kChecker = ['#d9c2e6', '#b3e0d9'];
const kCheckerSide = 8;

// The layers drawn, bottom first; those whose pixels must never be lost
// when zoomed out are drawn from their smaller copies (reduce.js).
const kLayers = [
  {name: 'picture', kept: false, full: true},
  {name: 'attributes', kept: false},
  {name: 'highlight', kept: true},
  {name: 'problems', kept: true},
  {name: 'changed', kept: true},
];

export class MapView {
  constructor({canvas, overview, caption, position}) {
    Object.assign(this, {canvas, overview, caption, position});
    this.context = canvas.getContext('2d');
    // {level, width, height, step, layers: {name: bitmap}, pins, marks, chosen}
    this.shown = null;
    this.x = this.y = 0;  // the map position at the canvas's top left corner
    this.scale = 1;
    // How each layer is drawn: {on, alpha}; objects are the rings, pins go with problems.
    this.settings = Object.fromEntries(['picture', 'attributes', 'highlight', 'problems', 'changed', 'objects']
      .map((name) => [name, {on: true, alpha: 1}]));
    this.cross = null;  // the pixel the keyboard inspects, marked
    this.listeners = {point: () => {}, pin: () => {}, mark: () => {}};
    this.pattern = null;
    new ResizeObserver(() => this.resize()).observe(canvas);
    this.listen();
  }

  // `listener(...)` for 'point' (x, y, by: 'pointer' or 'keys'), 'pin'
  // (problem) and 'mark' (object mark) on the map.
  on(event, listener) {
    this.listeners[event] = listener;
  }

  // Shows `scene` of `level`: {width, height, step, layers, pins, marks},
  // `layers` the bitmaps by name, `pins` problems with a place, `marks`
  // objects to ring ({x, y, colour}); a chosen place ({x, y}) is centred
  // and zoomed to. The scene's bitmaps stay its owner's.
  show(level, scene, chosen = null) {
    const same = this.shown && this.shown.level === level && this.shown.width === scene.width &&
                 this.shown.height === scene.height;
    if (!this.shown) this.sizeCanvas();
    this.shown = {level, ...scene, chosen};
    if (!same) this.fit();
    if (chosen) {
      this.scale = Math.max(this.scale, kPlaceScale);
      this.centre(chosen.x + 0.5, chosen.y + 0.5);
    }
    this.caption.textContent = chosen ? `${level}: x=${chosen.x} y=${chosen.y}` : level;
    this.draw();
  }

  // One layer of the scene shown replaced (null takes it away).
  setLayer(name, bitmap) {
    if (!this.shown) return;
    this.shown.layers = {...this.shown.layers, [name]: bitmap};
    this.draw();
  }

  // How a layer is drawn: {on, alpha} in part or whole.
  setLayerLook(name, look) {
    Object.assign(this.settings[name], look);
    this.draw();
  }

  // Nothing shown: the level's map is gone or cannot be read.
  clear() {
    if (!this.shown) return;
    this.shown = null;
    this.context.clearRect(0, 0, this.canvas.width, this.canvas.height);
    this.caption.textContent = this.position.textContent = '';
  }

  fit() {
    const {width, height} = this.shown;
    this.scale = Math.min(this.canvas.width / width, this.canvas.height / height);
    this.centre(width / 2, height / 2);
  }

  // Puts the map position (x, y) at the middle of the canvas; the middle
  // never leaves the map.
  centre(x, y) {
    const {width, height} = this.shown;
    x = Math.min(Math.max(x, 0), width);
    y = Math.min(Math.max(y, 0), height);
    this.x = x - this.canvas.width / 2 / this.scale;
    this.y = y - this.canvas.height / 2 / this.scale;
  }

  middle() {
    return [this.x + this.canvas.width / 2 / this.scale, this.y + this.canvas.height / 2 / this.scale];
  }

  // The map pixel in the middle of the view.
  middlePixel() {
    const [x, y] = this.middle().map(Math.floor);
    return [Math.min(x, this.shown.width - 1), Math.min(y, this.shown.height - 1)];
  }

  // Centres the pixel (x, y), zoomed in at least to show it plainly.
  goTo(x, y) {
    if (!this.shown) return;
    this.scale = Math.max(this.scale, kPlaceScale);
    this.centre(x + 0.5, y + 0.5);
    this.cross = [x, y];
    this.draw();
  }

  zoom(factor) {
    const [x, y] = this.middle();
    this.scale = Math.min(Math.max(this.scale * factor, 1 / 64), 64);
    this.centre(x, y);
    this.draw();
  }

  // Moves the view by a share of its own size.
  pan(right, down) {
    const [x, y] = this.middle();
    this.centre(x + right * this.canvas.width / this.scale, y + down * this.canvas.height / this.scale);
    this.draw();
  }

  // Moves the view by whole map pixels.
  step(right, down) {
    const [x, y] = this.middle();
    this.centre(x + right, y + down);
    this.draw();
  }

  // The canvas's pixels, one a device pixel.
  sizeCanvas() {
    const ratio = window.devicePixelRatio || 1;
    this.canvas.width = Math.max(1, Math.round(this.canvas.clientWidth * ratio));
    this.canvas.height = Math.max(1, Math.round(this.canvas.clientHeight * ratio));
  }

  resize() {
    if (!this.shown) return;
    const [x, y] = this.middle();
    this.sizeCanvas();
    this.centre(x, y);
    this.draw();
  }

  background(context) {
    if (!this.pattern) {
      const tile = new OffscreenCanvas(2 * kCheckerSide, 2 * kCheckerSide);
      const drawing = tile.getContext('2d');
      drawing.fillStyle = kChecker[0];
      drawing.fillRect(0, 0, tile.width, tile.height);
      drawing.fillStyle = kChecker[1];
      drawing.fillRect(0, 0, kCheckerSide, kCheckerSide);
      drawing.fillRect(kCheckerSide, kCheckerSide, kCheckerSide, kCheckerSide);
      this.pattern = context.createPattern(tile, 'repeat');
    }
    return this.pattern;
  }

  // Draws the scene's layers at `scale` with the map's top left corner at
  // canvas position `origin`.
  drawLayers(context, origin, scale) {
    const {layers, width, height, step} = this.shown;
    context.imageSmoothingEnabled = false;
    for (const {name, kept, full} of kLayers) {
      const bitmap = layers[name];
      const look = this.settings[name];
      if (!bitmap || !look.on || look.alpha <= 0) continue;
      context.globalAlpha = look.alpha;
      if (full) {
        context.drawImage(bitmap, origin[0], origin[1], width * scale, height * scale);
        continue;
      }
      // Fewer canvas pixels than the bitmap's: its smaller copy whose
      // pixels are each at least one canvas pixel, so none is lost.
      const times = kept && scale * step < 1 ? Math.ceil(Math.log2(1 / (scale * step))) : 0;
      const shown = reduced(bitmap, times, () => this.draw()) ?? bitmap;
      const cell = step * scale * (bitmap.width / shown.width);
      context.drawImage(shown, origin[0], origin[1], shown.width * cell, shown.height * cell);
    }
    context.globalAlpha = 1;
  }

  draw() {
    if (!this.shown) return;
    const {context, canvas, scale, x, y} = this;
    const {pins, marks, chosen} = this.shown;
    context.fillStyle = this.background(context);
    context.fillRect(0, 0, canvas.width, canvas.height);
    this.drawLayers(context, [-x * scale, -y * scale], scale);
    const at = (place) => [(place.x + 0.5 - x) * scale, (place.y + 0.5 - y) * scale];
    const isChosen = (place) => chosen !== null && place.x === chosen.x && place.y === chosen.y;
    if (this.settings.objects.on) {
      context.globalAlpha = this.settings.objects.alpha;
      // Rings shrink as the map is zoomed out, so that crowded objects stay apart.
      const radius = Math.min(Math.max(scale * 3, 4), 9);
      for (const shown of marks) mark(context, at(shown), shown, isChosen(shown), radius);
    }
    if (this.settings.problems.on) {
      context.globalAlpha = this.settings.problems.alpha;
      for (const problem of pins) if (problem.x !== null) pin(context, at(problem), isChosen(problem));
    }
    context.globalAlpha = 1;
    if (this.cross) crossHair(context, at({x: this.cross[0], y: this.cross[1]}), scale);
    this.drawOverview();
  }

  // Only while part of the map is out of view: the whole map, the part
  // in view framed.
  drawOverview() {
    const {width, height} = this.shown;
    const [right, bottom] = [this.x + this.canvas.width / this.scale, this.y + this.canvas.height / this.scale];
    this.overview.hidden = this.x <= 0 && this.y <= 0 && right >= width && bottom >= height;
    if (this.overview.hidden) return;
    const ratio = window.devicePixelRatio || 1;
    const side = Math.max(width, height);
    const [cssWidth, cssHeight] = [Math.round(kOverviewSide * width / side), Math.round(kOverviewSide * height / side)];
    this.overview.style.width = `${cssWidth}px`;
    this.overview.style.height = `${cssHeight}px`;
    this.overview.width = Math.max(1, Math.round(cssWidth * ratio));
    this.overview.height = Math.max(1, Math.round(cssHeight * ratio));
    const context = this.overview.getContext('2d');
    const per = this.overview.width / width;  // overview pixels per map pixel
    context.fillStyle = this.background(context);
    context.fillRect(0, 0, this.overview.width, this.overview.height);
    this.drawLayers(context, [0, 0], per);
    const frame = [this.x * per, this.y * per, this.canvas.width / this.scale * per, this.canvas.height / this.scale * per];
    context.lineWidth = 2;
    context.strokeStyle = '#000';
    context.strokeRect(...frame);
    context.strokeStyle = '#ffeb3b';
    context.setLineDash([4, 3]);
    context.strokeRect(...frame);
    context.setLineDash([]);
  }

  // The map position under a pointer event on `target`.
  mapAt(event, target) {
    const per = target === this.canvas ? this.scale : this.overview.width / this.shown.width;
    const ratio = target.width / target.clientWidth;
    const origin = target === this.canvas ? [this.x, this.y] : [0, 0];
    return [origin[0] + event.offsetX * ratio / per, origin[1] + event.offsetY * ratio / per];
  }

  // The pin or ring nearest a click, within reach.
  pickedAt(event) {
    const ratio = this.canvas.width / this.canvas.clientWidth;
    const reach = kPinReach * ratio / this.scale;
    const [x, y] = this.mapAt(event, this.canvas);
    const near = (place) => Math.hypot(place.x + 0.5 - x, place.y + 0.5 - y) <= reach;
    const nearest = (places) => places.filter(near).sort((a, b) =>
      Math.hypot(a.x + 0.5 - x, a.y + 0.5 - y) - Math.hypot(b.x + 0.5 - x, b.y + 0.5 - y))[0];
    const problem = this.settings.problems.on ? nearest(this.shown.pins.filter((pinned) => pinned.x !== null)) : null;
    if (problem) return ['pin', problem];
    const object = this.settings.objects.on ? nearest(this.shown.marks) : null;
    return object ? ['mark', object] : null;
  }

  keyDown(event) {
    if (!this.shown) return false;
    const far = event.shiftKey ? 0.5 : 0.125;
    const moves = {ArrowLeft: [-1, 0], ArrowRight: [1, 0], ArrowUp: [0, -1], ArrowDown: [0, 1]};
    const zooms = {'+': 2, '=': 2, '-': 0.5, '_': 0.5};
    const move = moves[event.key];
    if (move && (event.ctrlKey || event.metaKey)) this.step(...move);
    else if (move) this.pan(move[0] * far, move[1] * far);
    else if (zooms[event.key]) this.zoom(zooms[event.key]);
    else if (event.key === '0' || event.key === 'Home') {
      this.fit();
      this.draw();
    } else return false;
    // The keyboard's inspector: the pixel in the middle of the view.
    this.cross = this.middlePixel();
    this.draw();
    this.listeners.point(...this.cross, 'keys');
    return true;
  }

  listen() {
    const {canvas, overview} = this;
    canvas.addEventListener('keydown', (event) => {
      if (this.keyDown(event)) event.preventDefault();
    });
    canvas.addEventListener('wheel', (event) => {
      if (!this.shown) return;
      event.preventDefault();
      this.zoom(event.deltaY < 0 ? 1.25 : 0.8);
    });
    let dragFrom = null, dragged = false;
    canvas.addEventListener('pointerdown', (event) => {
      dragFrom = [event.offsetX, event.offsetY];
      dragged = false;
      canvas.setPointerCapture(event.pointerId);
    });
    canvas.addEventListener('pointerup', (event) => {
      const clicked = dragFrom && !dragged && this.shown;
      dragFrom = null;
      if (!clicked) return;
      const picked = this.pickedAt(event);
      if (picked) this.listeners[picked[0]](picked[1]);
    });
    canvas.addEventListener('pointermove', (event) => {
      if (!this.shown) return;
      const [x, y] = this.mapAt(event, canvas).map(Math.floor);
      const inside = x >= 0 && y >= 0 && x < this.shown.width && y < this.shown.height;
      this.position.textContent = inside ? `x=${x} y=${y}` : '';
      if (inside && !dragFrom) this.listeners.point(x, y, 'pointer');
      if (!dragFrom) return;
      if (Math.hypot(event.offsetX - dragFrom[0], event.offsetY - dragFrom[1]) < 3 && !dragged) return;
      dragged = true;
      const ratio = canvas.width / canvas.clientWidth / this.scale;
      this.x -= (event.offsetX - dragFrom[0]) * ratio;
      this.y -= (event.offsetY - dragFrom[1]) * ratio;
      dragFrom = [event.offsetX, event.offsetY];
      this.draw();
    });
    const jump = (event) => {
      if (!this.shown || !(event.buttons & 1)) return;
      this.centre(...this.mapAt(event, overview));
      this.draw();
    };
    overview.addEventListener('pointerdown', (event) => {
      overview.setPointerCapture(event.pointerId);
      jump(event);
    });
    overview.addEventListener('pointermove', jump);
  }
}

function pin(context, [x, y], chosen) {
  context.beginPath();
  context.arc(x, y, chosen ? 10 : 6, 0, 2 * Math.PI);
  context.lineWidth = chosen ? 5 : 4;
  context.strokeStyle = '#000';
  context.stroke();
  context.lineWidth = chosen ? 3 : 2;
  context.strokeStyle = chosen ? '#ffeb3b' : '#00e5ff';
  context.stroke();
}

// An object's mark: a ring in its kind's colour (grey for a kind no marker
// places), the object's own pixel left clear inside it; a chosen one
// ringed again in white.
function mark(context, [x, y], {colour}, chosen, radius) {
  context.beginPath();
  context.arc(x, y, radius, 0, 2 * Math.PI);
  context.lineWidth = radius > 5 ? 5 : 3;
  context.strokeStyle = '#000';
  context.stroke();
  context.lineWidth = radius > 5 ? 3 : 1.5;
  context.strokeStyle = colour ? `rgb(${colour.join(',')})` : '#888';
  context.stroke();
  if (!chosen) return;
  context.beginPath();
  context.arc(x, y, radius + 5, 0, 2 * Math.PI);
  context.lineWidth = 3;
  context.strokeStyle = '#fff';
  context.stroke();
}

// The pixel the keyboard inspects: its square outlined, with ticks
// reaching out so that it is found when zoomed out.
function crossHair(context, [x, y], scale) {
  const half = Math.max(scale / 2, 3);
  context.lineWidth = 3;
  context.strokeStyle = '#000';
  context.strokeRect(x - half - 1, y - half - 1, 2 * half + 2, 2 * half + 2);
  context.lineWidth = 1.5;
  context.strokeStyle = '#fff';
  context.strokeRect(x - half - 1, y - half - 1, 2 * half + 2, 2 * half + 2);
  for (const [dx, dy] of [[1, 0], [-1, 0], [0, 1], [0, -1]]) {
    context.beginPath();
    context.moveTo(x + dx * (half + 3), y + dy * (half + 3));
    context.lineTo(x + dx * (half + 12), y + dy * (half + 12));
    context.stroke();
  }
}
