// SPDX-License-Identifier: MIT
// A switch's console log, made up and the same for a seed: BUG messages with dumps wrapped over
// one to ten lines among timestamps, prompts and other messages that carry hex words too. Each
// message's true dump (its BUG word's line and its words 1 to 30 joined by single spaces) comes
// with it.
'use strict';

function consoleLog({ bytes, seed = 26, wordsPerLine = 0 }) {
    let state = seed >>> 0;
    const next = () => (state = (Math.imul(state, 1103515245) + 12345) >>> 0) / 2 ** 32;
    const pick = (list) => list[Math.floor(next() * list.length)];
    const hex = (digits) => Array.from({ length: digits }, () => pick('0000000123456789ABCDEF')).join('');
    const other = () => pick([
        () => `${hex(2)}:${hex(2)}:${hex(2)} 10/12/2026`, () => '>', () => 'OK', () => '',
        () => `ERR${hex(4)} ${hex(4)} ${hex(8)}`, () => `INI${hex(3)} ${hex(8)} ${hex(8)}`,
        () => `.LD 32`, () => `TN ${hex(3)} ${hex(2)}`,
    ])();
    const lines = [];
    const dumps = [];
    let size = 0;
    const add = (line) => {
        lines.push(line);
        size += line.length + 1;
    };
    while (size < bytes) {
        for (let i = Math.floor(next() * 4); i > 0; --i) add(other());
        const count = pick([13, 13, 20, 24, 30, 9, 35]);
        const words = Array.from({ length: count }, () => hex(8));
        const bug = `BUG${1000 + Math.floor(next() * 9000)}`;
        dumps.push({ line: lines.length + 1, bug, text: words.slice(0, 30).join(' ') });
        const perLine = wordsPerLine || 4 + Math.floor(next() * 5);
        let line = `${pick(['', '  '])}${bug}`;
        words.forEach((word, i) => {
            if (i > 0 && i % perLine === 0) {
                add(line);
                line = pick(['', ' ', '    ']);
            } else line += ' ';
            line += word;
        });
        add(line);
        add(pick(['', '>', 'OK']));  // no hex word: the dump ends here
    }
    return { text: `${lines.join('\n')}\n`, dumps };
}

module.exports = { consoleLog };
