// SPDX-License-Identifier: MIT
// A batch's level files in one zip, each under its level's path (a level
// in a subfolder keeps it), written by fflate (web/vendor/fflate), which
// index.html loads as a plain script ahead of the page's modules: its
// minified build sets `self.fflate`.

// `files`: level name -> its level file. Stored, not deflated: a level file
// is mostly its JPEG pictures, which deflate hardly shrinks, and the zip is
// made on the page's own thread.
export async function levelsZip(files) {
  const entries = {};
  for (const [level, file] of Object.entries(files)) {
    entries[`${level}.lev`] = [new Uint8Array(await file.arrayBuffer()), {level: 0}];
  }
  return new Blob([self.fflate.zipSync(entries)], {type: 'application/zip'});
}
