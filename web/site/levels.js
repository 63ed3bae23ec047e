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
import {Kind} from './protocol.js';
import {problemItems} from './problems.js';

function isLevelFile(path) {
  return /\.lev$/i.test(path);
}

export class LevelsPanel {
  constructor(bridge, map, levelFiles) {
    Object.assign(this, {bridge, map, levelFiles});
    this.held = new Map();  // path as dropped -> {path, file, handle (when watched)}
    this.levels = [];  // the level names the engine finds among the held files
    this.views = new Map();  // level name -> {view, problems} of its last check
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
                 element('p', {class: 'count'}),
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
    const {report, count, view} = await this.bridge.check(level);
    const {problems} = report.levels[0];
    shown.querySelector('.note').textContent = '';
    shown.querySelector('.problems').replaceChildren(...problemItems(problems, {
      showOnMap: (problem) => this.showMap(level, problem).then(() => this.map.reveal()),
      sourceOf: (name) => this.sourceOf(name),
    }));
    shown.querySelector('.count').textContent = count;
    this.views.set(level, {view, problems});
    if (view && !this.map.shown) await this.showMap(level);
    else if (view) await this.map.update(level, view, problems);
    else this.map.hide(level);
  }

  // The map of the level's last check, a chosen problem's pixel in its middle.
  async showMap(level, problem = null) {
    const entry = this.views.get(level);
    if (entry?.view) await this.map.show(level, entry.view, entry.problems, problem);
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
      this.views.delete(level);
      this.forgetDownload(level);
      this.map.hide(level);
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
