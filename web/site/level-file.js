// SPDX-License-Identifier: MIT
// The level files dropped, each in an element of its own: zurlev info's
// document of it, its picture and its objects on the map, and its sources
// unpacked, as downloads or into a folder. A file that is not sound is
// told so first, with the first problem found, and is not unpacked.
import {button, element} from './dom.js';
import {existing, writeInto} from './folders.js';
import {markChosen} from './levels.js';
import {objectItem, roving} from './objects.js';
import {release} from './reduce.js';

export class LevelFilesPanel {
  // `ask(text)`: a promise of true for yes.
  constructor(bridge, map, ask) {
    Object.assign(this, {bridge, map, ask});
    this.section = document.getElementById('level-files');
    this.downloads = new Map();  // path -> the URLs of its unpacked files' links
    this.scenes = new Map();  // path -> the scene of its picture (map-panel.js)
  }

  forgetScene(path) {
    release(this.scenes.get(path)?.layers.attributes);
    this.scenes.delete(path);
  }

  forgetDownloads(path) {
    for (const url of this.downloads.get(path) ?? []) URL.revokeObjectURL(url);
    this.downloads.delete(path);
  }

  elementOf(path) {
    return this.section.querySelector(`[data-level-file="${CSS.escape(path)}"]`);
  }

  // Shows the level file at `path` (as dropped), in place of the one shown
  // before under that path.
  async show(path) {
    const [document_] = await this.bridge.info(path);
    const shown = element('article', {'data-level-file': path, 'aria-label': path});
    const results = element('div', {class: 'messages'});
    const actions = element('p', {class: 'actions'});
    const verdict = element('p', {class: 'verdict', 'data-verdict': ''});
    if (document_.sound) {
      actions.append(button('Unpack', () => this.unpack(path, results)));
      if ('showDirectoryPicker' in window) {
        actions.append(' ', button('Unpack into a folder…', () => this.unpackInto(path, results)));
      }
    } else {
      verdict.textContent = `Not a level file: ${document_.problems[0]?.text ?? 'it is not sound'}.`;
    }
    const {marks, view} = await this.bridge.picture(path);
    // The picture in the palette's colours is its attribute layer; its
    // objects are ringed.
    const scene = view && {kind: 'level-file', width: view.width, height: view.height, step: view.step ?? 1,
                           layers: {attributes: view.image}, repair: null, pins: [], marks, legend: null};
    if (view) {
      actions.append(' ', button('Show picture', () => this.map.show(path, scene).then(() => this.map.focus())));
    }
    shown.append(element('h2', {}, path), verdict,
                 element('pre', {'data-info': ''}, JSON.stringify(document_, null, 2)), actions,
                 this.objectList(path, scene, marks ?? []), results);
    const old = this.elementOf(path);
    this.forgetDownloads(path);
    if (this.map.shown === path) this.map.hide(path);
    this.forgetScene(path);
    if (scene) this.scenes.set(path, scene);
    if (old) old.replaceWith(shown);
    else this.section.append(shown);
  }

  remove(path) {
    this.forgetDownloads(path);
    this.elementOf(path)?.remove();
    this.map.hide(path);
    this.forgetScene(path);
  }

  // The objects of a level file with a picture, each chosen to show its
  // place on the picture.
  objectList(path, scene, marks) {
    const list = element('ul', {class: 'objects', 'aria-label': `Objects of ${path}`});
    if (!scene) return list;
    for (const mark of marks) {
      const parameters = mark.parameters ?? mark.bytes ?? null;
      list.append(objectItem({...mark, parameters}, (item) => this.map.show(path, scene, mark).then(() => markChosen(item))));
    }
    return roving(list);
  }

  // Unpacks into the worker's memory; shows the engine's error or the
  // differences it found, and returns the files, each {name, file}.
  async unpacked(path, results) {
    const answer = await this.bridge.unpack(path);
    this.forgetDownloads(path);
    results.replaceChildren();
    for (const problem of answer.problems) results.append(element('p', {'data-message': ''}, problem));
    if (answer.error) results.append(element('p', {'data-message': ''}, answer.error));
    for (const difference of answer.differences) results.append(element('p', {'data-message': ''}, difference));
    return answer.files;
  }

  async unpack(path, results) {
    const list = element('ul');
    const urls = [];
    for (const {name, file} of await this.unpacked(path, results)) {
      const item = element('li');
      urls.push(URL.createObjectURL(file));
      item.append(element('a', {download: name, href: urls.at(-1)}, name));
      list.append(item);
    }
    this.downloads.set(path, urls);
    results.append(list);
  }

  // Writes the unpacked sources into a folder the person picks, asking
  // first when any of them would replace a file there.
  async unpackInto(path, results) {
    let folder;
    try {
      folder = await window.showDirectoryPicker({id: 'unpack', mode: 'readwrite'});
    } catch {
      return;  // not picked
    }
    const files = await this.unpacked(path, results);
    if (files.length === 0) return;
    const there = await existing(folder, files.map(({name}) => name));
    if (there.length && !(await this.ask(`${folder.name} holds ${there.join(', ')} already. Replace ${there.length === 1 ? 'it' : 'them'}?`))) {
      results.append(element('p', {role: 'status'}, `Nothing written into ${folder.name}.`));
      return;
    }
    await writeInto(folder, files);
    results.append(element('p', {role: 'status'}, `Written into ${folder.name}: ${files.map(({name}) => name).join(', ')}`));
  }
}
