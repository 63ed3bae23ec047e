// SPDX-License-Identifier: MIT
// The few ways the page's panels make their elements.

export function element(tag, attributes = {}, text = '') {
  const made = document.createElement(tag);
  for (const [name, value] of Object.entries(attributes)) made.setAttribute(name, value);
  if (text) made.textContent = text;
  return made;
}

export function button(text, action, attributes = {}) {
  const made = element('button', {type: 'button', ...attributes}, text);
  made.addEventListener('click', action);
  return made;
}

// An item of a list (a problem, an object) chosen by click, Enter or Space,
// as a button is.
export function choosable(item, choose) {
  item.tabIndex = 0;
  item.addEventListener('click', choose);
  item.addEventListener('keydown', (event) => {
    if (event.key !== 'Enter' && event.key !== ' ') return;
    event.preventDefault();
    choose();
  });
  return item;
}
