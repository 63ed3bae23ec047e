// SPDX-License-Identifier: MIT
// The dropped files as the engine's worker holds them: each File under the
// path it was dropped with, read by the engine through its system
// (web/page_system.h). A file dropped again replaces the one before, which
// stays readable where the engine has it open.

export class DroppedFiles {
  // `readAhead`: the ReadAhead that reads large files, or null.
  constructor(readAhead) {
    this.readAhead = readAhead;
    this.files = new Map();  // path -> {file, identity}
    this.opened = new Map();  // number -> File
    this.identities = 0;
    this.openings = 0;
  }

  // `files`: [{path, file}].
  add(files) {
    for (const {path, file} of files) this.files.set(path, {file, identity: ++this.identities});
  }

  remove(paths) {
    for (const path of paths) this.files.delete(path);
  }

  paths() {
    return [...this.files.keys()];
  }

  // {identity, size} of the file at `path`, or null: the identity tells a
  // file dropped again from the one before.
  find(path) {
    const found = this.files.get(path);
    return found ? {identity: found.identity, size: found.file.size} : null;
  }

  // A number to read the file at `path` by, or 0 when there is none.
  open(path) {
    const found = this.files.get(path);
    if (!found) return 0;
    this.opened.set(++this.openings, found.file);
    return this.openings;
  }

  close(number) {
    this.opened.delete(number);
  }

  // Fills `into` with the file's bytes from `position` on, as far as the
  // file goes: their count, or -1 when the file cannot be read. A file
  // larger than a block, where the engine reads on from its last read, is
  // read through the read-ahead; a file saved again after it was picked
  // can no longer be read through the File the page holds.
  read(number, position, into) {
    const file = this.opened.get(number);
    const count = Math.max(0, Math.min(into.length, file.size - position));
    try {
      const direction = this.readAhead?.follows(file, position, count);
      if (direction) {
        this.readAhead.read(file, into.subarray(0, count), position, count, direction);
        return count;
      }
      const bytes = new Uint8Array(new FileReaderSync().readAsArrayBuffer(file.slice(position, position + count)));
      into.set(bytes);
      return bytes.length;
    } catch {
      return -1;
    }
  }
}
