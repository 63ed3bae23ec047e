// SPDX-License-Identifier: MIT
// A level's problems as its check found them, one item each, the errors
// before the warnings (each in the check's order). A problem with
// a place is chosen to show it: a pixel on the map, a line of the config
// file in an excerpt under the item.
import {choosable, element} from './dom.js';
import {readable} from './folders.js';

function field(value) {
  return value === null || value === undefined ? '' : String(value);
}

// The items of `problems`; `showOnMap(problem)` shows a pixel's problem,
// `sourceOf(name)` is the held source {file} of a file name the engine gave,
// `stepping(problem)` the controls that step through its pixels or null,
// `made(problem, item)` is told each item.
export function problemItems(problems, {showOnMap, sourceOf, stepping = () => null, made = () => {}}) {
  if (problems.length === 0) return [element('li', {}, 'No problems found.')];
  const errorsFirst = [...problems.filter(({severity}) => severity === 'error'),
                       ...problems.filter(({severity}) => severity !== 'error')];
  return errorsFirst.map((problem) => {
    // The problem's own element holds its line alone; its controls go beside it.
    const item = element('span', {
      'data-problem': '', 'data-code': problem.code, 'data-severity': problem.severity,
      'data-file': field(problem.file), 'data-line': field(problem.line),
      'data-x': field(problem.x), 'data-y': field(problem.y),
    });
    const place = problem.line !== null ? `:${problem.line}` : '';
    item.textContent = `${problem.file}${place}: ${problem.severity}: ${problem.message} [${problem.code}]`;
    if (problem.x !== null) choosable(item, () => showOnMap(problem));
    else if (problem.line !== null) choosable(item, () => showLine(item, problem, sourceOf(problem.file)));
    const listed = element('li');
    listed.append(item);
    const steps = stepping(problem);
    if (steps) listed.append(' ', steps);
    made(problem, item);
    return listed;
  });
}

// A config problem's line, with the lines around it, under its item.
async function showLine(item, problem, source) {
  const excerpt = element('figure', {class: 'excerpt'});
  item.closest('[data-level]').querySelector('.excerpt')?.remove();
  item.after(excerpt);
  if (!source || !(await readable(source.file))) {
    excerpt.textContent = `${problem.file} can no longer be read: pick or drop it again.`;
    return;
  }
  const lines = new TextDecoder('windows-1252').decode(await source.file.arrayBuffer()).split('\n');
  const shown = element('pre');
  for (let number = Math.max(1, problem.line - 2); number <= Math.min(lines.length, problem.line + 2); ++number) {
    const text = lines[number - 1].replace(/\r$/, '');
    const line = element(number === problem.line ? 'mark' : 'span', {class: 'line', 'data-number': number}, text || ' ');
    shown.append(line, '\n');
  }
  excerpt.append(element('figcaption', {}, `${problem.file}, line ${problem.line}`), shown);
}
