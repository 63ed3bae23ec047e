// SPDX-License-Identifier: MIT
// The legend: the 34 attribute codes, each with its colour, its report
// group and how many pixels of the map shown have it (illegal pixels
// apart), chosen to highlight its pixels on the map; what the map's pins,
// rings and marker colours mean; and the palette for paint programs.
import {element} from './dom.js';

const kPaletteFiles = [
  {name: 'zurconv.gpl', what: 'GIMP, Krita, Inkscape'},
  {name: 'zurconv.act', what: 'Photoshop'},
  {name: 'zurconv-paintnet.txt', what: 'Paint.NET'},
];

export function swatch(colour) {
  const shown = element('span', {class: 'swatch', 'aria-hidden': 'true'});
  shown.style.backgroundColor = `rgb(${colour.join(',')})`;
  return shown;
}

export class Legend {
  // `place`: the element the legend goes into.
  constructor(bridge, map, place) {
    Object.assign(this, {bridge, map});
    this.list = element('ul', {class: 'legend', 'data-legend': '', 'aria-label': 'Attribute codes'});
    this.markers = element('ul', {class: 'legend-markers', 'aria-label': 'Marker colours'});
    this.chosen = null;  // the code whose pixels are highlighted
    this.palette = null;
    this.illegal = element('li', {'data-code': 'illegal', 'data-count': '0', hidden: ''});
    const files = element('p', {class: 'palette-files'}, 'The palette for paint programs: ');
    kPaletteFiles.forEach(({name, what}, at) => {
      files.append(element('a', {href: name, download: name}, name), ` (${what})`, at < 2 ? ', ' : '.');
    });
    place.append(
      element('p', {}, 'Each code\'s colour, its report group and its pixels in the map shown. ' +
                       'Choose a code to highlight its pixels on the map.'),
      this.list,
      element('p', {}, 'On the map, a pin (a ring in cyan, yellow when chosen) marks each problem\'s place; ' +
                       'with the Problems layer, illegal pixels are magenta and markers in their kind\'s colour below; ' +
                       'with the Objects layer, each object is ringed in the same colour. A marker is a pixel whose ' +
                       'blue is one of these values: its red and green give the object\'s five parameter bytes ' +
                       '(the composer below turns one into the other).'),
      this.markers, files);
    map.onShown((name, scene) => this.count(scene?.legend ?? null));
    bridge.palette().then((palette) => this.build(palette), () => {
      this.list.replaceChildren(element('li', {}, 'The palette could not be read from the engine.'));
    });
  }

  build(palette) {
    this.palette = this.map.palette = palette;
    this.list.replaceChildren(...palette.codes.map(({code, colour, group}) => {
      const item = element('li', {'data-code': code, 'data-count': ''});
      const choose = element('button', {type: 'button', 'aria-pressed': 'false',
                                        'aria-label': `Code ${code}, ${group}: highlight its pixels`});
      choose.append(swatch(colour), element('span', {class: 'code'}, String(code)),
                    element('span', {class: 'group'}, group), element('span', {class: 'count'}));
      choose.addEventListener('click', () => this.choose(code));
      item.append(choose);
      return item;
    }), this.illegal);
    this.markers.replaceChildren(...palette.markers.map(({kind, blue, shown}) => {
      const item = element('li', {'data-marker-kind': kind});
      item.append(swatch(shown), `kind ${kind}: blue ${blue}`);
      return item;
    }));
    this.count(this.map.scene?.legend ?? null);
  }

  // The counts of the map shown ({codes, illegal}), or none.
  count(legend) {
    if (!this.palette) return;
    for (const item of this.list.querySelectorAll('li[data-code]:not([data-code="illegal"])')) {
      const count = legend ? legend.codes[Number(item.dataset.code)] : null;
      item.dataset.count = count === null ? '' : String(count);
      item.querySelector('.count').textContent = count === null ? '' : count.toLocaleString('en');
    }
    const illegal = legend?.illegal ?? 0;
    this.illegal.hidden = illegal === 0;
    this.illegal.dataset.count = String(illegal);
    this.illegal.textContent = `illegal colours: ${illegal.toLocaleString('en')} pixels (magenta with the Problems layer)`;
  }

  // Highlights the code's pixels, or none when it was the one chosen.
  choose(code) {
    this.chosen = this.chosen === code ? null : code;
    for (const button of this.list.querySelectorAll('button[aria-pressed]')) {
      button.setAttribute('aria-pressed', String(button.closest('li').dataset.code === String(this.chosen)));
    }
    const colour = this.palette.codes.find(({code}) => code === this.chosen)?.colour ?? null;
    this.map.highlightColourOf(colour);
  }
}
