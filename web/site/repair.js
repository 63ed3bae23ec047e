// SPDX-License-Identifier: MIT
// Repairing a level's illegal colours: the engine writes a copy of its
// attribute map in which each illegal pixel takes the colour most common
// around it, offered as a download, shown on the map before and after
// with the pixels it changed, and, where the map's folder is open to the
// page, saved beside the map (or over it, once the designer confirms).
import {button, element} from './dom.js';
import {existing, writeInto} from './folders.js';

export class Repairs {
  // `ask(text)`: a promise of true for yes; `folderOf(path)`: a promise of
  // the directory handle holding the held file `path`, or null.
  constructor(bridge, ask, folderOf) {
    Object.assign(this, {bridge, ask, folderOf});
    this.urls = new Map();  // level -> its repaired map's link URL
  }

  forget(level) {
    const url = this.urls.get(level);
    if (url) URL.revokeObjectURL(url);
    this.urls.delete(level);
  }

  // The level's repair controls: a "Repair colours" button where its map
  // has illegal pixels. `repaired(view)` gets the repair's view;
  // `mapPath` is the held path of the level's map.
  controls(level, illegal, mapPath, repaired) {
    const shown = element('div', {class: 'repair'});
    if (illegal === 0) return shown;
    const results = element('div', {class: 'repair-results', role: 'status'});
    shown.append(button('Repair colours', async () => {
      results.replaceChildren('Repairing…');
      const answer = await this.bridge.repair(level).catch((error) => ({error: error.message}));
      this.forget(level);
      if (answer.error) {
        results.replaceChildren(element('p', {'data-message': ''}, answer.error));
        return;
      }
      this.urls.set(level, URL.createObjectURL(answer.file));
      const link = element('a', {download: answer.name, href: this.urls.get(level)}, `Download ${answer.name}`);
      // The engine names the copy where the worker wrote it; the designer knows it by its name.
      const at = answer.text.indexOf(`${answer.name}: `);
      const text = at > 0 && answer.text[at - 1] === '/' ? answer.text.slice(at) : answer.text;
      results.replaceChildren(element('p', {'data-message': ''}, text), link);
      const folder = mapPath ? await this.folderOf(mapPath) : null;
      if (folder) {
        const mapName = mapPath.split('/').pop();
        const saved = element('p', {role: 'status'});
        results.append(' ',
                       button(`Save as ${answer.name} beside ${mapName}`, () => this.save(folder, answer.name, answer.file, saved)),
                       ' ',
                       button(`Replace ${mapName}…`, () => this.save(folder, mapName, answer.file, saved, true)),
                       saved);
      }
      await repaired(answer.view);
    }), ' ', element('span', {class: 'help'}, `${illegal} illegal pixel${illegal === 1 ? '' : 's'}: each takes the legal colour most common around it, in a copy.`),
    results);
    return shown;
  }

  // Writes `file` as `name` into `folder`, asking first when a file of that
  // name is there; `source`: it is the level's own map.
  async save(folder, name, file, said, source = false) {
    if ((await folder.requestPermission?.({mode: 'readwrite'}) ?? 'granted') !== 'granted') {
      said.textContent = `Not saved: ${folder.name} may not be written.`;
      return;
    }
    const question = source
      ? `Replace ${name}, the level's own attribute map in ${folder.name}, with the repaired map? The map as it is now is lost.`
      : `${folder.name} holds ${name} already. Replace it?`;
    const there = (await existing(folder, [name])).length > 0;
    if ((source || there) && !(await this.ask(question))) {
      said.textContent = `Nothing written into ${folder.name}.`;
      return;
    }
    try {
      await writeInto(folder, [{name, file}]);
      said.textContent = `Saved ${name} in ${folder.name}.`;
    } catch (error) {
      said.textContent = `Not saved: ${error.message}`;
    }
  }
}
