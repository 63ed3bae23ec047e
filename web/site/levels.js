// SPDX-License-Identifier: MIT
// The sources held and the levels the engine finds among them, each level
// in an element of its own: checked at once (and again when one of its
// sources changes), its problems listed, its conversions' messages,
// progress and level file shown, its buttons disabled while it converts;
// the files that belong to no level listed apart; the summary and the
// buttons for all.
import {button, element} from './dom.js';
import {readable} from './folders.js';
import {levelsZip} from './levels-zip.js';
import {objectList} from './objects.js';
import {Kind} from './protocol.js';
import {problemItems} from './problems.js';
import {highlighted, release} from './reduce.js';
import {Repairs} from './repair.js';
import {Stepper} from './stepping.js';

function isLevelFile(path) {
  return /\.lev$/i.test(path);
}

// The attribute map's bitmaps of a scene (map-panel.js), which its level
// owns.
function releaseScene(scene, keep = null) {
  if (!scene) return;
  const {attributes, problems, picture} = scene.layers;
  for (const bitmap of [attributes, problems, scene.repair?.after, scene.repair?.changed]) release(bitmap);
  if (picture !== keep) release(picture);
}

// Marks `item` as the one chosen among its list's, scrolled into view
// within its list; with `reveal` (chosen on the map) the page scrolls to it.
export function markChosen(item, {reveal = false} = {}) {
  for (const other of item.closest('section').querySelectorAll('[aria-current]')) other.removeAttribute('aria-current');
  item.setAttribute('aria-current', 'true');
  if (reveal) {
    item.scrollIntoView({block: 'nearest'});
    return;
  }
  const list = item.closest('ul');
  const [box, frame] = [item.getBoundingClientRect(), list.getBoundingClientRect()];
  if (box.top < frame.top) list.scrollTop -= frame.top - box.top;
  else if (box.bottom > frame.bottom) list.scrollTop += box.bottom - frame.bottom;
}

export class LevelsPanel {
  // `ask(text)`: a promise of true for yes; `folderOf(path)`: a promise of
  // the folder holding a watched file, or null.
  constructor(bridge, map, levelFiles, ask, folderOf) {
    Object.assign(this, {bridge, map, levelFiles});
    this.held = new Map();  // path as dropped -> {path, file, handle (when watched)}
    this.levels = [];  // the level names the engine finds among the held files
    // level name -> {scene, items: Map(problem -> its item)} of its last check
    this.views = new Map();
    this.pictures = new Map();  // level name -> {file, bitmap}: its picture as last decoded
    this.stepper = new Stepper(bridge);
    this.repairs = new Repairs(bridge, ask, folderOf);
    map.view.on('pin', (problem) => this.choosePin(problem));
    map.view.on('mark', (mark) => this.chooseMark(mark));
    this.downloads = new Map();  // level name -> the URL of its level file's link
    this.zip = null;  // the URL of the summary's link to the last "Convert all"'s level files
    this.converting = 0;  // batches not yet ended
    this.section = document.getElementById('levels');
    this.others = document.getElementById('other-files');
    this.summary = document.getElementById('summary');
    this.convertAll = document.getElementById('convert-all');
    this.checkAll = document.getElementById('check-again');
    this.clearAll = document.getElementById('clear-all');
    this.convertAll.addEventListener('click', () => this.convert(this.levels, {counted: true}));
    this.checkAll.addEventListener('click', () => this.checkAgain(this.levels));
    this.clearAll.addEventListener('click', () => this.remove([...this.held.keys()]));
  }

  // The buttons for all wait while any batch converts.
  enableAll() {
    const busy = this.converting > 0;
    this.convertAll.disabled = this.checkAll.disabled = busy || this.levels.length === 0;
    this.clearAll.disabled = busy || this.held.size === 0;
  }

  // A level's own files, the level files aside: those whose longest level
  // prefix is its own, so that removing "a" keeps the sources of "ab".
  filesOf(level) {
    return [...this.held.keys()].filter((path) => {
      if (isLevelFile(path)) return false;
      const longest = this.levelsOf(path).reduce((a, b) => (b.length > a.length ? b : a), '');
      return longest === level;
    });
  }

  forgetDownload(level) {
    const url = this.downloads.get(level);
    if (url) URL.revokeObjectURL(url);
    this.downloads.delete(level);
  }

  // The summary's zip goes with the summary it is in.
  forgetZip() {
    if (this.zip) URL.revokeObjectURL(this.zip);
    this.zip = null;
  }

  // The level files of a "Convert all" in one zip, after its `count` in the
  // summary; unless the summary was written anew (levels went, or another
  // batch began) while the zip was made.
  async offerZip(files, count) {
    const zip = await levelsZip(files);
    if (!count.isConnected) return;
    this.zip = URL.createObjectURL(zip);
    const link = element('a', {download: 'levels.zip', href: this.zip}, 'Download all as levels.zip');
    count.after(element('p'));
    count.nextSibling.append(link);
  }

  elementOf(level) {
    let shown = this.section.querySelector(`[data-level="${CSS.escape(level)}"]`);
    if (shown) return shown;
    shown = element('article', {'data-level': level, 'aria-label': level});
    const actions = element('p', {class: 'actions'});
    actions.append(button('Convert', () => this.convert([level]), {'data-busy-off': ''}), ' ',
                   button('Check again', () => this.checkAgain([level]), {'data-busy-off': ''}), ' ',
                   button('Show map', () => this.showMap(level).then(() => this.map.focus())), ' ',
                   button('Remove', () => this.remove(this.filesOf(level)), {'data-busy-off': ''}));
    shown.append(element('h2', {}, level), actions, element('p', {class: 'note', role: 'status'}),
                 element('ul', {class: 'problems', 'aria-label': `Problems of ${level}`}),
                 element('p', {class: 'count'}), element('div', {class: 'repair'}), element('div', {class: 'objects-of'}),
                 element('progress', {max: 100, value: 0, 'aria-label': `Conversion of ${level}`, hidden: ''}),
                 element('div', {class: 'messages'}));
    this.section.append(shown);
    return shown;
  }

  // The held source of a file name the engine gave, letter case aside
  // when no name matches exactly.
  sourceOf(name) {
    const wanted = name.toLowerCase();
    return this.held.get(name) ?? [...this.held.values()].find(({path}) => path.toLowerCase() === wanted);
  }

  async check(level) {
    const shown = this.elementOf(level);
    const {report, count, view, legend} = await this.bridge.check(level);
    const {problems, objects, illegal_colours: illegal} = report.levels[0];
    const colourOf = (problem) => {
      const found = illegal?.colours.find(({first}) => first.x === problem.x && first.y === problem.y);
      return found ? [found.red, found.green, found.blue] : null;
    };
    this.stepper.forget(level);
    const items = new Map();
    shown.querySelector('.note').textContent = '';
    shown.querySelector('.problems').replaceChildren(...problemItems(problems, {
      showOnMap: (problem) => this.showMap(level, problem).then(() => this.map.reveal()),
      sourceOf: (name) => this.sourceOf(name),
      stepping: (problem) => {
        const colour = problem.code === 'illegal-colours' ? colourOf(problem) : null;
        return colour && this.stepper.controls(level, colour, (place) => {
          this.showMap(level, place).then(() => markChosen(items.get(problem)));
        });
      },
      made: (problem, item) => items.set(problem, item),
    }));
    shown.querySelector('.count').textContent = count;
    const dropped = problems.find(({code}) => code === 'objects-dropped') ?? null;
    shown.querySelector('.objects-of').replaceWith(objectList(level, objects, dropped, (place, item) => {
      this.showMap(level, place).then(() => markChosen(item));
    }));
    const scene = view && this.sceneOf(view, legend, problems, objects);
    const mapPath = this.sourceOf(`${level}.tga`)?.path ?? null;
    this.repairs.forget(level);
    shown.querySelector('.repair').replaceWith(this.repairs.controls(level, scene ? (legend?.illegal ?? illegal?.pixels ?? 0) : 0,
                                                                     mapPath, (repaired) => this.repaired(level, scene, repaired)));
    const before = this.views.get(level)?.scene;
    this.views.set(level, {scene, items});
    if (scene && !this.map.shown) await this.showMap(level);
    else if (scene) await this.map.update(level, scene);
    else this.map.hide(level);
    releaseScene(before, this.pictures.get(level)?.bitmap);
    if (scene) await this.decodePicture(level, scene);
  }

  // What the map shows of a level's check: its attribute map and problems
  // as layers, its picture once decoded, pins on the problems, a ring on
  // each object.
  sceneOf(view, legend, problems, objects) {
    const kindColour = (kind) => this.map.palette?.markers.find((marker) => marker.kind === kind)?.shown ?? null;
    return {
      kind: 'level', width: view.width, height: view.height, step: view.step ?? 1,
      layers: {attributes: view.attributes ?? view.image, problems: view.problems ?? null, picture: null},
      repair: null, pins: problems, legend,
      marks: (objects?.list ?? []).map((object) => ({...object, colour: kindColour(object.kind)})),
    };
  }

  // The level's picture (its JPEG among the held files), decoded by the
  // browser at the size of the map's view; decoded again only when the
  // file changed.
  async decodePicture(level, scene) {
    const source = this.sourceOf(`${level}.jpg`);
    const decoded = this.pictures.get(level);
    if (!source) return;
    if (decoded?.file !== source.file) {
      const size = {resizeWidth: Math.ceil(scene.width / scene.step), resizeHeight: Math.ceil(scene.height / scene.step)};
      const bitmap = await createImageBitmap(source.file, {...size, resizeQuality: 'medium'}).catch(() => null);
      if (decoded) release(decoded.bitmap);
      this.pictures.set(level, {file: source.file, bitmap});
    }
    if (this.views.get(level)?.scene !== scene) return;  // checked again meanwhile
    scene.layers.picture = this.pictures.get(level).bitmap;
    if (this.map.scene === scene) await this.map.refresh();
  }

  // A repair's view of the level: the map after it, and the pixels it
  // changed kept bright over a veil; shown after the repair.
  async repaired(level, scene, view) {
    if (!scene || !view || this.views.get(level)?.scene !== scene) return;
    const changed = await highlighted(view.changed, 'opaque');
    release(view.changed);
    release(scene.repair?.after);
    release(scene.repair?.changed);
    scene.repair = {after: view.after, changed};
    this.map.after = true;
    await this.showMap(level);
  }

  // The map of the level's last check, a chosen place ({x, y}: a problem,
  // an object, a pixel) in its middle.
  async showMap(level, chosen = null) {
    const entry = this.views.get(level);
    if (!entry?.scene) return;
    await this.map.show(level, entry.scene, chosen);
    const item = chosen && entry.items.get(chosen);
    if (item) markChosen(item);
  }

  // A pin clicked on the map: its problem is chosen.
  async choosePin(problem) {
    const level = this.map.shown;
    const item = this.views.get(level)?.items.get(problem);
    if (!item) return;
    await this.showMap(level, problem);
    markChosen(item, {reveal: true});
  }

  // A ring clicked on the map: its object is chosen in the list.
  chooseMark(mark) {
    const owner = document.querySelector(`[data-level="${CSS.escape(this.map.shown)}"], [data-level-file="${CSS.escape(this.map.shown)}"]`);
    const item = owner?.querySelector(`[data-object][data-x="${mark.x}"][data-y="${mark.y}"]`);
    if (!item) return;
    item.click();
    markChosen(item, {reveal: true});
  }

  // The levels whose sources `path` may be: those whose prefix it begins
  // with, letter case aside, in the same folder.
  levelsOf(path) {
    const name = path.toLowerCase();
    return this.levels.filter((level) => {
      const prefix = level.toLowerCase();
      return name.startsWith(prefix) && !name.slice(prefix.length).includes('/');
    });
  }

  // The engine's list of levels is now `names`, after the files at `paths`
  // came, changed or went: levels gone are taken off the page, new ones and
  // those with a source among `paths` are checked.
  async levelsChanged({levels: names, others}, paths) {
    const before = new Set(this.levels);
    for (const level of this.levels.filter((level) => !names.includes(level))) {
      this.elementOf(level).remove();
      this.map.hide(level);
      releaseScene(this.views.get(level)?.scene);
      release(this.pictures.get(level)?.bitmap);
      this.views.delete(level);
      this.pictures.delete(level);
      this.stepper.forget(level);
      this.repairs.forget(level);
      this.forgetDownload(level);
    }
    this.others.hidden = others.length === 0;
    this.others.querySelector('ul').replaceChildren(...others.map((path) => element('li', {'data-other': ''}, path)));
    this.levels = names;
    const touched = new Set(paths.flatMap((path) => this.levelsOf(path)));
    if (names.some((level) => !before.has(level))) this.section.append(...names.map((level) => this.elementOf(level)));
    for (const level of names) if (!before.has(level) || touched.has(level)) await this.check(level);
    const sources = [...this.held.keys()].filter((path) => !isLevelFile(path)).length;
    this.forgetZip();
    this.summary.textContent = `${names.length} level${names.length === 1 ? '' : 's'} found among ${sources} files.`;
    this.enableAll();
  }

  // Takes in files, each {path, file, handle}: a file of a path held before
  // replaces the old one.
  async add(files) {
    if (files.length === 0) return;
    for (const dropped of files) this.held.set(dropped.path, dropped);
    const names = await this.bridge.add(files.map(({path, file}) => ({path, file})));
    await this.levelsChanged(names, files.map(({path}) => path));
    for (const {path} of files.filter(({path}) => isLevelFile(path))) await this.levelFiles.show(path);
  }

  async remove(paths) {
    if (paths.length === 0) return;
    for (const path of paths) {
      this.held.delete(path);
      this.levelFiles.remove(path);
    }
    await this.levelsChanged(await this.bridge.remove(paths), paths);
  }

  // Checks the levels again with their files as they are now: a watched
  // file is read afresh; a picked one saved since it was picked can no
  // longer be read (the browser allows only the version picked), which is
  // told beside its level instead of a check.
  async checkAgain(names) {
    for (const level of names) {
      const sources = [...this.held.values()].filter(({path}) => this.levelsOf(path).includes(level));
      const fresh = [], stale = [];
      for (const source of sources) {
        const file = source.handle ? await source.handle.getFile().catch(() => null) : source.file;
        if (!file || !(await readable(file))) stale.push(source.path);
        else if (file.lastModified !== source.file.lastModified || file.size !== source.file.size) {
          fresh.push({...source, file});
        }
      }
      // The engine could not read a stale file: checked without it, the
      // level would get problems it may not have. Its last check stands.
      if (stale.length) {
        this.elementOf(level).querySelector('.note').textContent =
          `${stale.join(', ')} changed after ${stale.length === 1 ? 'it was' : 'they were'} picked: ` +
          'pick or drop the new version to check it.';
      } else if (fresh.length) await this.add(fresh);  // which checks the level
      else await this.check(level);
    }
  }

  // Converts the levels as one batch: each level's messages, progress and
  // level file shown in its element, the batch's failure summary under the
  // list, and when `counted` how many converted. Each level is busy, its
  // buttons disabled, until the batch ends.
  async convert(names, {counted = false} = {}) {
    const shown = new Map(names.map((level) => [level, this.elementOf(level)]));
    for (const [name, level] of shown) {
      this.forgetDownload(name);
      level.querySelector('.messages').replaceChildren();
      Object.assign(level.querySelector('progress'), {value: 0, hidden: false});
      level.setAttribute('aria-busy', 'true');
      for (const busyOff of level.querySelectorAll('[data-busy-off]')) busyOff.disabled = true;
      delete level.dataset.converted;
    }
    ++this.converting;
    this.enableAll();
    this.forgetZip();
    this.summary.replaceChildren();
    const {files} = await this.bridge.convert(names, (prompt) => {
      const level = shown.get(prompt.level);
      if (prompt.kind === Kind.batch) this.summary.append(element('p', {'data-message': ''}, prompt.text));
      if (level && prompt.kind === Kind.message) level.querySelector('.messages').append(element('p', {'data-message': ''}, prompt.text));
      if (level && prompt.kind === Kind.answered) {
        const answer = prompt.yes ? 'yes' : 'no';
        level.querySelector('.messages').append(element('p', {'data-message': '', 'data-answer': answer}, prompt.text),
                                                 element('p', {class: 'answer'}, `Answered ${answer}.`));
      }
      // The engine's closing 0 clears a window's bar; this one keeps how far
      // its level got.
      const bar = level?.querySelector('progress');
      if (bar && prompt.kind === Kind.progress) bar.value = Math.max(bar.value, prompt.position);
    }).finally(() => {
      for (const level of shown.values()) {
        level.removeAttribute('aria-busy');
        for (const busyOff of level.querySelectorAll('[data-busy-off]')) busyOff.disabled = false;
      }
      --this.converting;
      this.enableAll();
    });
    // Those whose files went while they converted are left out.
    const converted = Object.fromEntries(Object.entries(files).filter(([level]) => this.levels.includes(level)));
    for (const [level, file] of Object.entries(converted)) {
      const name = level.split('/').pop() + '.lev';
      this.forgetDownload(level);
      this.downloads.set(level, URL.createObjectURL(file));
      const link = element('a', {download: name, href: this.downloads.get(level)}, `Download ${name}`);
      shown.get(level).querySelector('.messages').append(link);
    }
    if (counted) {
      const count = element('p', {'data-converted-count': ''}, `${Object.keys(files).length} of ${names.length} converted`);
      this.summary.append(count);
      if (Object.keys(converted).length) await this.offerZip(converted, count);
    }
    // Tests wait for this: every message and link of the batch is shown.
    for (const [level, element_] of shown) element_.dataset.converted = level in files ? 'yes' : 'no';
  }
}
