// SPDX-License-Identifier: MIT
// Files in: picked, a picked folder, or dropped (folders walked; kept open
// and watched where the browser gives handles for them, and a level checked
// again when one of its files is saved), handed to the levels panel.
import {FolderWatch} from './folders.js';

function picked(input) {
  return [...input.files].map((file) => ({path: file.webkitRelativePath || file.name, file}));
}

// The files under a dropped entry, each {path, file}.
async function entries(entry, into) {
  if (entry.isFile) {
    const file = await new Promise((resolve, reject) => entry.file(resolve, reject));
    into.push({path: entry.fullPath.replace(/^\//, ''), file});
    return;
  }
  const reader = entry.createReader();
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (batch.length === 0) return;
    for (const child of batch) await entries(child, into);
  }
}

export class Sources {
  constructor(levels) {
    this.levels = levels;
    // Watched folders and files are looked at about twice a second.
    this.watch = new FolderWatch(async ({changed, removed}) => {
      if (removed.length) await levels.remove(removed);
      await levels.add(changed);
    });
    this.watching = document.getElementById('watching');
    document.getElementById('sources').addEventListener('change', (event) => levels.add(picked(event.target)));
    document.getElementById('folder').addEventListener('change', (event) => levels.add(picked(event.target)));
    this.listenForFolderPicker();
    this.listenForDrops();
  }

  // Takes in the files of folders and files the browser keeps open, and
  // watches them.
  async watchHandles(handles) {
    const files = [];
    for (const handle of handles) files.push(...await this.watch.add(handle));
    const names = [...new Set(this.watch.roots.map(({handle}) => handle.name + (handle.kind === 'directory' ? '/' : '')))];
    this.watching.textContent = `Watching ${names.join(', ')}: a level is checked again when one of its files is saved.`;
    await this.levels.add(files);
  }

  listenForFolderPicker() {
    const openFolder = document.getElementById('open-folder');
    if (!('showDirectoryPicker' in window)) return;
    openFolder.hidden = false;
    openFolder.addEventListener('click', async () => {
      let folder;
      try {
        folder = await window.showDirectoryPicker({id: 'sources'});
      } catch {
        return;  // not picked
      }
      await this.watchHandles([folder]);
    });
  }

  // While files are dragged over the page, it shows that it takes them.
  listenForDrops() {
    let dragged = 0;
    document.addEventListener('dragenter', () => document.body.classList.toggle('dragging', ++dragged > 0));
    document.addEventListener('dragleave', () => document.body.classList.toggle('dragging', --dragged > 0));
    document.addEventListener('dragover', (event) => event.preventDefault());
    document.addEventListener('drop', async (event) => {
      event.preventDefault();
      dragged = 0;
      document.body.classList.remove('dragging');
      // Handles and entries must both be asked for before the event ends;
      // the entries serve where the browser gives no handle for every item.
      const items = [...event.dataTransfer.items].filter(({kind}) => kind === 'file');
      const asked = 'getAsFileSystemHandle' in DataTransferItem.prototype
        ? items.map((item) => item.getAsFileSystemHandle().catch(() => null)) : [];
      const walked = items.map((item) => item.webkitGetAsEntry());
      const handles = await Promise.all(asked);
      if (handles.length && handles.every(Boolean)) {
        await this.watchHandles(handles);
        return;
      }
      const files = [];
      for (const entry of walked) {
        if (entry) await entries(entry, files);
      }
      this.levels.add(files);
    });
  }
}
