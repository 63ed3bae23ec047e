// SPDX-License-Identifier: MIT
// The marker composer: an object kind and its five parameter bytes give
// the colour to paint its marker in, and a colour gives the object it
// places, or that it places none.
import {element} from './dom.js';
import {latest} from './latest.js';
import {swatch} from './legend.js';

function numberField(id, label, max) {
  const field = element('input', {type: 'number', id, min: 0, max, value: 0, step: 1, required: ''});
  const wrapped = element('span', {class: 'field'});
  wrapped.append(element('label', {for: id}, label), field);
  return [wrapped, field];
}

function byteOf(field) {
  const value = field.valueAsNumber;
  return Number.isInteger(value) && value >= 0 && value <= 255 ? value : null;
}

export class Composer {
  constructor(bridge, place) {
    const kind = element('select', {id: 'compose-kind'});
    for (let value = 0; value <= 4; ++value) kind.append(element('option', {value}, `kind ${value}`));
    const kindField = element('span', {class: 'field'});
    kindField.append(element('label', {for: 'compose-kind'}, 'Object kind'), kind);
    const bytes = [];
    const forward = element('fieldset', {class: 'composer'});
    forward.append(element('legend', {}, 'An object → the colour to paint'), kindField);
    for (let at = 0; at < 5; ++at) {
      const [wrapped, field] = numberField(`compose-byte-${at}`, `Byte ${9 + at}`, 255);
      bytes.push(field);
      forward.append(wrapped);
    }
    const colourOut = element('output', {'data-composed': '', for: 'compose-kind', 'aria-live': 'polite'});
    forward.append(colourOut);

    const back = element('fieldset', {class: 'composer'});
    back.append(element('legend', {}, 'A colour → the object it places'));
    const channels = ['Red', 'Green', 'Blue'].map((name) => {
      const [wrapped, field] = numberField(`decompose-${name.toLowerCase()}`, name, 255);
      back.append(wrapped);
      return field;
    });
    const objectOut = element('output', {'data-decomposed': '', 'aria-live': 'polite'});
    back.append(objectOut);
    place.append(forward, back);

    // Each answer tells what it answers (`data-for`), so that it is never
    // taken for the answer to fields changed since.
    const compose = latest(({kind, bytes}) => bridge.compose(kind, bytes), (colour, asked) => {
      colourOut.dataset.colour = colour ? colour.join(' ') : '';
      colourOut.dataset.for = `${asked.kind} ${asked.bytes.join(' ')}`;
      if (colour) colourOut.replaceChildren(swatch(colour), `paint R G B: ${colour.join(' ')}`);
      else colourOut.textContent = colour === null ? 'No marker colour gives these bytes.' : 'The engine could not answer.';
    });
    const decompose = latest((colour) => bridge.decompose(colour), (object, colour) => {
      objectOut.dataset.kind = object ? String(object.kind) : '';
      objectOut.dataset.bytes = object ? object.bytes.join(' ') : '';
      objectOut.dataset.for = colour.join(' ');
      const shown = swatch(colour);
      if (object) objectOut.replaceChildren(shown, `object kind ${object.kind}, bytes ${object.bytes.join(' ')}`);
      else objectOut.replaceChildren(shown, object === null ? 'not a marker' : 'The engine could not answer.');
    });
    const composeNow = () => {
      const values = bytes.map(byteOf);
      if (values.includes(null)) colourOut.textContent = 'Each byte is a whole number from 0 to 255.';
      else compose({kind: Number(kind.value), bytes: values});
    };
    const decomposeNow = () => {
      const values = channels.map(byteOf);
      if (values.includes(null)) objectOut.textContent = 'Each channel is a whole number from 0 to 255.';
      else decompose(values);
    };
    kind.addEventListener('change', composeNow);
    for (const field of bytes) field.addEventListener('input', composeNow);
    for (const field of channels) field.addEventListener('input', decomposeNow);
    composeNow();
    decomposeNow();
  }
}
