// SPDX-License-Identifier: MIT
// The page's questions, asked in its dialog.

// Asks `text` with Yes and No; Escape answers no. A promise of true for yes.
export function ask(text) {
  const question = document.getElementById('question');
  document.getElementById('question-text').textContent = text;
  question.returnValue = '';
  question.showModal();
  return new Promise((resolve) => {
    question.addEventListener('close', () => resolve(question.returnValue === 'yes'), {once: true});
  });
}
