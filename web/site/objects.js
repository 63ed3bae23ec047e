// SPDX-License-Identifier: MIT
// The objects a level's markers place, as the level file will store them
// (place, kind and five parameter bytes, in the file's order), counted
// against the limit; the markers past it are told, with the first one's
// place. Each is chosen to show its place on the map; the list is one
// stop for Tab, its items reached by the arrow keys.
import {choosable, element} from './dom.js';

export const kObjectLimit = 1024;

// `objects`: the check's {count, list}; `dropped`: the objects-dropped
// problem or null; `show(place, item)` shows an object's or problem's place.
export function objectList(level, objects, dropped, show) {
  const shown = element('details', {class: 'objects-of', open: ''});
  const count = objects?.count ?? 0;
  const summary = element('summary', {}, `Objects: ${count} of ${kObjectLimit}`);
  shown.append(summary);
  if (!objects) {
    summary.textContent = 'Objects: the map cannot be read';
    return shown;
  }
  const list = element('ul', {class: 'objects', 'aria-label': `Objects of ${level}`});
  for (const object of objects.list) list.append(objectItem(object, (item) => show(object, item)));
  if (dropped) {
    summary.textContent += `, and ${objects.dropped} markers past the limit`;
    const item = element('li', {class: 'dropped', 'data-dropped': objects.dropped}, dropped.message);
    list.append(choosable(item, () => show(dropped, item)));
  }
  shown.append(roving(list));
  return shown;
}

// A long list is one stop for Tab: the arrow keys, Home and End move
// within it, Enter or Space chooses.
export function roving(list) {
  const items = () => [...list.querySelectorAll(':scope > li[tabindex]')];
  items().forEach((item, at) => { item.tabIndex = at === 0 ? 0 : -1; });
  list.addEventListener('keydown', (event) => {
    const all = items();
    const at = all.indexOf(document.activeElement);
    const to = {ArrowDown: at + 1, ArrowUp: at - 1, Home: 0, End: all.length - 1}[event.key];
    if (at < 0 || to === undefined || !all[to]) return;
    event.preventDefault();
    all[at].tabIndex = -1;
    all[to].tabIndex = 0;
    all[to].focus();
  });
  list.addEventListener('focusin', (event) => {
    if (!event.target.matches('li[tabindex]')) return;
    for (const item of items()) item.tabIndex = item === event.target ? 0 : -1;
  });
  return list;
}

// One object {x, y, kind, parameters}: `choose(item)` when chosen.
export function objectItem({x, y, kind, parameters}, choose) {
  const attributes = {'data-object': '', 'data-x': x, 'data-y': y, 'data-kind': kind};
  if (parameters) attributes['data-bytes'] = parameters.join(' ');
  const text = `kind ${kind} at x=${x} y=${y}` + (parameters ? `: bytes ${parameters.join(' ')}` : '');
  const item = element('li', attributes, text);
  return choosable(item, () => choose(item));
}
