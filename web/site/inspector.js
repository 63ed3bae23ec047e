// SPDX-License-Identifier: MIT
// The inspector: what the level file will make of one pixel of the level's
// attribute map (its colour, code and report group; or that it is illegal,
// with the nearest legal colour; or the object its marker places). The
// pixel is the one pointed at, or with the keyboard the one in the middle
// of the view, or one typed into "Go to" as X,Y.
import {element} from './dom.js';
import {latest} from './latest.js';
import {swatch} from './legend.js';

export class Inspector {
  constructor(bridge, map, place) {
    Object.assign(this, {bridge, map});
    this.shown = element('p', {class: 'inspector', 'data-inspector': '', role: 'status', 'aria-live': 'polite'});
    const field = element('input', {type: 'text', id: 'go-to', inputmode: 'numeric', placeholder: 'X,Y',
                                    autocomplete: 'off', 'aria-describedby': 'go-to-help'});
    const form = element('p', {class: 'go-to'});
    form.append(element('label', {for: 'go-to'}, 'Go to'), ' ', field,
                element('span', {id: 'go-to-help', class: 'help'},
                        ' X,Y and Enter: the view moves there and the pixel is inspected. On the map, the pixel ' +
                        'pointed at is inspected; with the keys, the one in the middle of the view (arrow keys ' +
                        'pan, with Ctrl by one pixel).'));
    field.addEventListener('keydown', (event) => {
      if (event.key !== 'Enter') return;
      event.preventDefault();
      this.goTo(field.value);
    });
    this.field = field;
    place.append(this.shown, form);
    this.want = latest(({level, x, y}) => this.bridge.inspect(level, x, y), (answer, {level}) => this.show(answer, level));
    map.view.on('point', (x, y) => this.inspect(x, y));
    map.onShown((name, scene) => {
      if (this.level !== name) this.clear(scene);
    });
    this.clear(null);
  }

  clear(scene) {
    this.level = this.map.shown;
    for (const name of ['x', 'y', 'code', 'nearest', 'kind', 'bytes']) this.shown.dataset[name] = '';
    this.shown.textContent = scene?.kind === 'level-file'
      ? 'The inspector looks at a level\'s sources: drop them to inspect their pixels.'
      : 'Point at the map, or type a place into Go to, to inspect a pixel.';
  }

  inspect(x, y) {
    const scene = this.map.scene;
    if (scene?.kind !== 'level') return;
    this.want({level: this.map.shown, x, y});
  }

  goTo(text) {
    const typed = /^\s*(\d+)\s*[, ]\s*(\d+)\s*$/.exec(text);
    const scene = this.map.scene;
    if (!typed || !scene) {
      this.field.setCustomValidity('Type X,Y: two whole numbers, as 10,40.');
      this.field.reportValidity();
      return;
    }
    const [x, y] = [Number(typed[1]), Number(typed[2])];
    if (x >= scene.width || y >= scene.height) {
      this.field.setCustomValidity(`The map is ${scene.width} x ${scene.height}: x runs to ${scene.width - 1}, y to ${scene.height - 1}.`);
      this.field.reportValidity();
      return;
    }
    this.field.setCustomValidity('');
    this.map.view.goTo(x, y);
    this.map.reveal();
    this.inspect(x, y);
  }

  // The engine's answer for a pixel of `level` (null outside the map).
  show(answer, level) {
    if (level !== this.map.shown) return;
    if (!answer) {
      if (answer === undefined) this.shown.textContent = 'The engine could not inspect this pixel.';
      return;
    }
    const {x, y, colour, code, group, illegal, nearest, marker} = answer;
    Object.assign(this.shown.dataset, {
      x: String(x), y: String(y), code: marker ? 'marker' : illegal ? 'illegal' : String(code),
      nearest: illegal && nearest !== null ? String(nearest) : '',
      kind: marker ? String(marker.kind) : '', bytes: marker ? marker.bytes.join(' ') : '',
    });
    this.level = level;
    const parts = [swatch(colour), `x=${x} y=${y}: colour (${colour.join(', ')}) `];
    if (marker) {
      parts.push(element('strong', {}, `marker of object kind ${marker.kind}`),
                 `, parameter bytes ${marker.bytes.join(' ')}; the pixel under it becomes code ${code} (${group})`);
    } else if (illegal) {
      const near = this.map.palette?.codes.find((entry) => entry.code === nearest);
      parts.push(element('strong', {}, 'illegal'), `: nearest legal colour code ${nearest}`);
      if (near) parts.push(' ', swatch(near.colour), `(${near.colour.join(', ')}), ${near.group}`);
    } else {
      parts.push(element('strong', {}, `code ${code}`), `, ${group}`);
    }
    this.shown.replaceChildren(...parts);
  }
}
