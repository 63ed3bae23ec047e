// SPDX-License-Identifier: MIT
// The map view: the check's picture of a level's attribute map, zoomed and
// panned, a pin on each problem with a place, and over its corner, while
// part of the map is out of view, an overview of the whole map with the
// part in view framed, where a click centres the view. Positions are in map pixels, (0, 0) the top left corner; `scale` is
// canvas pixels per map pixel.

const kOverviewSide = 180;  // CSS pixels, the overview's longer side
const kPlaceScale = 8;  // the least zoom at which a chosen place is shown

export class MapView {
  constructor({canvas, overview, caption, position}) {
    Object.assign(this, {canvas, overview, caption, position});
    this.context = canvas.getContext('2d');
    this.shown = null;  // {level, bitmap, width, height, problems, chosen}
    this.x = this.y = 0;  // the map position at the canvas's top left corner
    this.scale = 1;
    new ResizeObserver(() => this.resize()).observe(canvas);
    this.listen();
  }

  // Shows `view` (the check's picture: {width, height, attributes,
  // problems}, or a level file's: {width, height, image}) of `level`
  // with its problems, or a level file's picture with its objects' marks
  // ({x, y, colour}); a chosen problem's or mark's place is centred and
  // zoomed to.
  async show(level, view, problems, chosen = null, marks = []) {
    const same = this.shown && this.shown.level === level && this.shown.width === view.width &&
                 this.shown.height === view.height;
    const bitmap = await pictureOf(view);
    if (this.shown) this.shown.bitmap.close();
    else this.sizeCanvas();
    this.shown = {level, bitmap, width: view.width, height: view.height, problems, chosen, marks};
    if (!same) this.fit();
    if (chosen) {
      this.scale = Math.max(this.scale, kPlaceScale);
      this.centre(chosen.x + 0.5, chosen.y + 0.5);
    }
    this.caption.textContent = chosen ? `${level}: x=${chosen.x} y=${chosen.y}` : level;
    this.drawOverviewBase();
    this.draw();
  }

  // A new check of the level shown: its picture and pins replaced, the
  // part in view kept.
  async update(level, view, problems) {
    if (this.shown && this.shown.level === level) await this.show(level, view, problems);
  }

  // Nothing shown: the level's map is gone or cannot be read.
  clear() {
    if (!this.shown) return;
    this.shown.bitmap.close();
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

  draw() {
    if (!this.shown) return;
    const {context, canvas, scale, x, y} = this;
    const {bitmap, width, height, problems, chosen, marks} = this.shown;
    context.imageSmoothingEnabled = false;
    context.clearRect(0, 0, canvas.width, canvas.height);
    context.drawImage(bitmap, -x * scale, -y * scale, width * scale, height * scale);
    for (const problem of problems) {
      if (problem.x === null) continue;
      const at = [(problem.x + 0.5 - x) * scale, (problem.y + 0.5 - y) * scale];
      pin(context, at, problem === chosen);
    }
    for (const shown of marks) mark(context, [(shown.x + 0.5 - x) * scale, (shown.y + 0.5 - y) * scale], shown);
    this.drawOverview();
  }

  // The overview's picture, drawn once per map; the frame goes over it.
  drawOverviewBase() {
    const {bitmap, width, height} = this.shown;
    const ratio = window.devicePixelRatio || 1;
    const side = Math.max(width, height);
    this.overview.style.width = `${Math.round(kOverviewSide * width / side)}px`;
    this.overview.style.height = `${Math.round(kOverviewSide * height / side)}px`;
    this.overview.width = Math.max(1, Math.round(kOverviewSide * ratio * width / side));
    this.overview.height = Math.max(1, Math.round(kOverviewSide * ratio * height / side));
    this.overviewBase = document.createElement('canvas');
    this.overviewBase.width = this.overview.width;
    this.overviewBase.height = this.overview.height;
    this.overviewBase.getContext('2d').drawImage(bitmap, 0, 0, this.overview.width, this.overview.height);
  }

  // Only while part of the map is out of view.
  drawOverview() {
    const {width, height} = this.shown;
    const [right, bottom] = [this.x + this.canvas.width / this.scale, this.y + this.canvas.height / this.scale];
    this.overview.hidden = this.x <= 0 && this.y <= 0 && right >= width && bottom >= height;
    if (this.overview.hidden) return;
    const context = this.overview.getContext('2d');
    const per = this.overview.width / this.shown.width;  // overview pixels per map pixel
    context.drawImage(this.overviewBase, 0, 0);
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

  listen() {
    const {canvas, overview} = this;
    canvas.addEventListener('keydown', (event) => {
      if (!this.shown) return;
      const far = event.shiftKey ? 0.5 : 0.125;
      const moves = {ArrowLeft: [-far, 0], ArrowRight: [far, 0], ArrowUp: [0, -far], ArrowDown: [0, far]};
      const zooms = {'+': 2, '=': 2, '-': 0.5, '_': 0.5};
      if (moves[event.key]) this.pan(...moves[event.key]);
      else if (zooms[event.key]) this.zoom(zooms[event.key]);
      else if (event.key === '0' || event.key === 'Home') {
        this.fit();
        this.draw();
      } else return;
      event.preventDefault();
    });
    canvas.addEventListener('wheel', (event) => {
      if (!this.shown) return;
      event.preventDefault();
      this.zoom(event.deltaY < 0 ? 1.25 : 0.8);
    });
    let dragFrom = null;
    canvas.addEventListener('pointerdown', (event) => {
      dragFrom = [event.offsetX, event.offsetY];
      canvas.setPointerCapture(event.pointerId);
    });
    canvas.addEventListener('pointerup', () => { dragFrom = null; });
    canvas.addEventListener('pointermove', (event) => {
      if (!this.shown) return;
      const [x, y] = this.mapAt(event, canvas).map(Math.floor);
      const inside = x >= 0 && y >= 0 && x < this.shown.width && y < this.shown.height;
      this.position.textContent = inside ? `x=${x} y=${y}` : '';
      if (!dragFrom) return;
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

// One picture of a view: a level file's own, or the check's problems drawn
// over its attributes.
async function pictureOf(view) {
  if (view.image) return createImageBitmap(view.image);
  const canvas = new OffscreenCanvas(view.attributes.width, view.attributes.height);
  const context = canvas.getContext('2d');
  context.drawImage(view.attributes, 0, 0);
  context.drawImage(view.problems, 0, 0);
  return canvas.transferToImageBitmap();
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
// places), the object's own pixel left clear inside it.
function mark(context, [x, y], {colour}) {
  context.beginPath();
  context.arc(x, y, 9, 0, 2 * Math.PI);
  context.lineWidth = 5;
  context.strokeStyle = '#000';
  context.stroke();
  context.lineWidth = 3;
  context.strokeStyle = colour ? `rgb(${colour.join(',')})` : '#888';
  context.stroke();
}
