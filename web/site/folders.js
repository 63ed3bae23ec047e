// SPDX-License-Identifier: MIT
// Folders and files the browser lets the page keep open (the File System
// Access API's handles, from a drop or the folder picker): read as the page
// reads dropped files, watched for saves, and written into.

// The files of `root`, a file or a folder, each {path, file, handle}: the
// paths begin with the root's own name, as those of a dropped folder do.
export async function filesIn(root, parent = '') {
  const path = parent + root.name;
  if (root.kind === 'file') return [{path, file: await root.getFile(), handle: root}];
  const found = [];
  for await (const child of root.values()) found.push(...await filesIn(child, path + '/'));
  return found;
}

// What changed between two lists of files: the files that are new or
// whose time or size of their last save differs, and the paths gone.
export function changes(before, now) {
  const old = new Map(before.map((seen) => [seen.path, seen.file]));
  const changed = now.filter(({path, file}) => {
    const was = old.get(path);
    return !was || was.lastModified !== file.lastModified || was.size !== file.size;
  });
  const present = new Set(now.map(({path}) => path));
  return {changed, removed: before.map(({path}) => path).filter((path) => !present.has(path))};
}

// Looks at the watched handles about every `interval` ms and hands each
// change to `changed` (as `changes` gives it), one at a time: a look
// starts only when the last change has been dealt with.
export class FolderWatch {
  constructor(changed, interval = 500) {
    this.changed = changed;
    this.interval = interval;
    this.roots = [];  // {handle, files}
    this.timer = null;
  }

  // Starts watching `handle`; returns its files as they are now.
  async add(handle) {
    const files = await filesIn(handle);
    for (const root of this.roots) {
      if (await root.handle.isSameEntry(handle)) {
        root.files = files;
        return files;
      }
    }
    this.roots.push({handle, files});
    if (!this.timer) this.timer = setTimeout(() => this.look(), this.interval);
    return files;
  }

  // The folder handle holding the watched file at `path` (as its files
  // list it), or null when it is not in a watched folder.
  async folderOf(path) {
    const parts = path.split('/');
    for (const {handle} of this.roots) {
      if (handle.kind !== 'directory' || parts[0] !== handle.name || parts.length < 2) continue;
      let folder = handle;
      try {
        for (const part of parts.slice(1, -1)) folder = await folder.getDirectoryHandle(part);
        return folder;
      } catch {
        return null;  // gone since
      }
    }
    return null;
  }

  async look() {
    try {
      for (const root of this.roots) {
        let now;
        try {
          now = await filesIn(root.handle);
        } catch {
          now = [];  // the folder or file is gone, or no longer readable
        }
        const found = changes(root.files, now);
        root.files = now;
        if (found.changed.length || found.removed.length) await this.changed(found);
      }
    } finally {
      this.timer = setTimeout(() => this.look(), this.interval);
    }
  }
}

// Writes each {name, file} into the folder `folder`, replacing any file
// of that name; the browser swaps each in whole when its writing is done.
export async function writeInto(folder, files) {
  for (const {name, file} of files) {
    const writable = await (await folder.getFileHandle(name, {create: true})).createWritable();
    await writable.write(file);
    await writable.close();
  }
}

// The names of `names` that the folder holds already.
export async function existing(folder, names) {
  const held = [];
  for (const name of names) {
    try {
      await folder.getFileHandle(name);
      held.push(name);
    } catch {
      // not there
    }
  }
  return held;
}

// Whether `file` can still be read: a picked file saved again since it was
// picked can no longer be (the browser allows only the version picked).
export async function readable(file) {
  try {
    await file.slice(0, 1).arrayBuffer();
    return true;
  } catch {
    return false;
  }
}
