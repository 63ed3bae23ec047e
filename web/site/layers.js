// SPDX-License-Identifier: MIT
// The map's layer switches: for each layer a checkbox named for it and an
// opacity slider, and, once a level's colours were repaired, the choice
// between its map before and after the repair and the layer of the pixels
// the repair changed.
import {element} from './dom.js';

const kLayers = [
  {name: 'picture', label: 'Picture', help: 'the level picture, stretched to the map'},
  {name: 'attributes', label: 'Attributes', help: 'the attribute map in the palette\'s colours'},
  {name: 'problems', label: 'Problems', help: 'illegal pixels magenta, markers in their kind\'s colour, pins on problems'},
  {name: 'objects', label: 'Objects', help: 'a ring on each object, in its kind\'s colour'},
  {name: 'changed', label: 'Changed', help: 'the pixels the repair changed, in their new colour, the rest veiled'},
];

export class LayerControls {
  // `look(name, {on, alpha})` and `repaired(after)` are called as the
  // person changes them.
  constructor(place, {look, repaired}) {
    this.controls = new Map();
    const fieldset = element('fieldset', {class: 'layers'});
    fieldset.append(element('legend', {}, 'Layers'));
    for (const {name, label, help} of kLayers) {
      const id = `layer-${name}`;
      const box = element('input', {type: 'checkbox', id, 'aria-describedby': `${id}-help`});
      box.checked = name !== 'changed';
      const slider = element('input', {type: 'range', min: 0, max: 100, value: 100, 'aria-label': `${label} opacity`,
                                       'data-layer-opacity': name});
      const group = element('span', {class: 'layer', 'data-layer': name});
      group.append(box, element('label', {for: id}, label), slider,
                   element('span', {id: `${id}-help`, class: 'visually-hidden'}, help));
      const changed = () => look(name, {on: box.checked, alpha: slider.valueAsNumber / 100});
      box.addEventListener('change', changed);
      slider.addEventListener('input', changed);
      changed();
      this.controls.set(name, {group, box, slider});
      fieldset.append(group);
    }
    const before = element('input', {type: 'radio', name: 'repair-shown', id: 'repair-before', value: 'before'});
    const after = element('input', {type: 'radio', name: 'repair-shown', id: 'repair-after', value: 'after'});
    before.checked = true;
    this.repair = element('span', {class: 'layer', role: 'radiogroup', 'aria-label': 'The map before or after the repair'});
    this.repair.append(before, element('label', {for: 'repair-before'}, 'Before'),
                       after, element('label', {for: 'repair-after'}, 'After'));
    for (const radio of [before, after]) radio.addEventListener('change', () => repaired(after.checked));
    this.after = after;
    this.before = before;
    fieldset.append(this.repair);
    place.replaceChildren(fieldset);
    this.offer({});
  }

  // Shows the switches of the layers the scene has (`has`: {name: true}).
  offer(has) {
    for (const [name, {group, box}] of this.controls) {
      const there = name === 'objects' || name === 'problems' || Boolean(has[name]);
      group.hidden = name === 'changed' && !there;
      box.disabled = !there;
    }
    this.repair.hidden = !has.changed;
  }

  showAfter(after) {
    this.after.checked = after;
    this.before.checked = !after;
  }
}
