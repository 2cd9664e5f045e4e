// SPDX-License-Identifier: MIT
// Links each result with the characters of the input it was cut from, both ways. Pointing at a
// result or its caption, or focusing a result, marks its characters in the input box; a caret
// or selection in the box frames the results those characters feed. After "DeBug" every word
// that is not eight upper-case hexadecimal digits is marked as a fault and its note listed.
//
// The marks are drawn by the backdrop behind the box (backdrop.js).
//
// Marks hold only while the box holds exactly the text last decoded: an edit, Reset, Trim or
// Restore clears them until the next "DeBug". The module counts code points; the box counts
// UTF-16 units: positions are turned from one into the other here.
'use strict';
// eslint-disable-next-line no-unused-vars
function QuillmarkProvenance(txtDebugData, results) {
    const captionOf = (result) => document.querySelector(`label[for="${result.id}"]`);
    const make = (tag, props) => Object.assign(document.createElement(tag), props);

    // ---- Elements ---------------------------------------------------------------------------

    const backdrop = QuillmarkBackdrop(txtDebugData);
    const noteList = make('ul', { id: 'lstInputNotes', className: 'inputNotes', hidden: true });
    noteList.setAttribute('aria-label', 'Words not read as meant');
    txtDebugData.parentElement.after(noteList);
    const announcer = make('p', { id: 'caretFields', className: 'offscreen' });
    announcer.setAttribute('aria-live', 'polite');
    const descriptions = make('div', { hidden: true });
    // One per result, made when the results exist (they are built from the module's fields).
    const describers = [];
    noteList.after(announcer, descriptions);

    // ---- State -------------------------------------------------------------------------------

    let module = null;
    let shown = null;  // while marks hold: the text, its fields' marks and its notes
    let pointed = -1;  // the result under the pointer
    let focused = -1;  // the result with keyboard focus
    let lit = -1;      // the result whose characters are marked
    let fed = 0;       // the results framed, one bit per result
    const utf8 = new TextDecoder('utf-8', { ignoreBOM: true });
    const take = (data, size) => utf8.decode(module.HEAPU8.subarray(data, data + size));

    // Code point positions of the module and UTF-16 positions of the box, both ways. Without
    // surrogates they agree. A lone surrogate reaches the module as one U+FFFD: one code point.
    function positionsOf(text) {
        if (!/[\uD800-\uDFFF]/.test(text)) return { unitOf: (p) => p, pointOf: (u) => u };
        const units = [];
        const points = new Uint32Array(text.length + 1);
        for (let u = 0; u < text.length;) {
            const high = text.charCodeAt(u);
            const low = text.charCodeAt(u + 1);
            const pair = high >= 0xd800 && high <= 0xdbff && low >= 0xdc00 && low <= 0xdfff;
            points[u] = units.length;
            if (pair) points[u + 1] = units.length;
            units.push(u);
            u += pair ? 2 : 1;
        }
        points[text.length] = units.length;
        units.push(text.length);
        const unitOf = (p) => units[Math.min(p, units.length - 1)];
        return { unitOf, pointOf: (u) => points[Math.min(u, text.length)] };
    }

    // ---- Marks -------------------------------------------------------------------------------

    function light(field) {
        if (field === lit) return;
        if (lit >= 0 && shown) for (const mark of shown.pieces[lit]) mark.classList.remove('lit');
        lit = shown ? field : -1;
        if (lit >= 0) for (const mark of shown.pieces[lit]) mark.classList.add('lit');
    }
    const lightPointedOrFocused = () => light(pointed >= 0 ? pointed : focused);

    // A focused result's first mark, scrolled into the box's view.
    function reveal(field) {
        const mark = shown && shown.pieces[field][0];
        if (mark) backdrop.reveal(mark);
    }

    function frame(bits) {
        if (bits === fed) return;
        fed = bits;
        results.forEach((result, i) => result.classList.toggle('fed', ((bits >> i) & 1) === 1));
    }

    function say(text) {
        if (announcer.textContent !== text) announcer.textContent = text;
    }

    // The fields the caret or selection touches, framed and told; the notes on the word at the
    // caret as the box's title.
    function followCaret() {
        if (!shown) return;
        if (txtDebugData.value !== shown.text) {
            clear();
            return;
        }
        if (document.activeElement !== txtDebugData) {
            frame(0);
            return;
        }
        const { pointOf } = shown.positions;
        const start = pointOf(txtDebugData.selectionStart);
        const end = pointOf(txtDebugData.selectionEnd);
        const bits = module._WebFieldsAt(start, end) >>> 0;
        frame(bits);
        // Two words can share a character (an empty word at the end): every note there.
        const notesAt = (p) => {
            const found = [];
            for (let i; (i = module._WebNoteAt(p, found.length)) >= 0;) found.push(shown.notes[i].text);
            return found;
        };
        let noteTexts = notesAt(start);
        if (!noteTexts.length && start === end && start > 0) noteTexts = notesAt(start - 1);
        if (noteTexts.length) txtDebugData.title = noteTexts.join('\n');
        else txtDebugData.removeAttribute('title');
        const names = results.filter((_, i) => (bits >> i) & 1)
            .map((result) => captionOf(result).textContent);
        say([names.length ? `Feeds ${names.join(', ')}` : '', ...noteTexts].filter(Boolean).join('. '));
    }

    // ---- Descriptions ------------------------------------------------------------------------

    // Writes only what changes, as every decode describes every result again.
    function describe(result, i, text) {
        const describer = describers[i];
        if (describer.textContent !== text) describer.textContent = text;
        const ids = (result.getAttribute('aria-describedby') || '').split(' ')
            .filter((id) => id && id !== describer.id);
        if (text) ids.push(describer.id);
        const value = ids.join(' ');
        if (value === '') result.removeAttribute('aria-describedby');
        else if (result.getAttribute('aria-describedby') !== value) result.setAttribute('aria-describedby', value);
    }

    function describeInput(withNotes) {
        const ids = (txtDebugData.getAttribute('aria-describedby') || '').split(' ')
            .filter((id) => id && id !== noteList.id);
        if (withNotes) ids.push(noteList.id);
        txtDebugData.setAttribute('aria-describedby', ids.join(' '));
    }

    // ---- What the page calls -----------------------------------------------------------------

    // Marks and notes of the text the module decoded last, which the box holds; `sources`
    // tells per result where its caption came from.
    function decoded(sources) {
        link();
        const text = txtDebugData.value;
        const positions = positionsOf(text);
        const noteCount = module._WebLocate();
        const table = new Uint32Array(module.HEAPU8.buffer, module._WebSpanTable(),
            module._WebSpanTableSize());
        const runs = [];
        for (let at = 0; runs.length < results.length;) {
            const list = [];
            for (let n = table[at++]; n > 0; --n, at += 2) {
                const [start, length] = [table[at], table[at + 1]];
                list.push([positions.unitOf(start), positions.unitOf(start + length)]);
            }
            runs.push(list);
        }
        const notes = Array.from({ length: noteCount }, (_, i) => {
            const start = module._WebNoteStart(i);
            return {
                word: module._WebNoteWord(i),
                start: positions.unitOf(start),
                end: positions.unitOf(start + module._WebNoteLength(i)),
                text: take(module._WebNoteText(i), module._WebNoteTextSize(i)),
            };
        });
        clear();
        shown = { text, positions, notes, pieces: backdrop.fill(text, runs, notes) };
        noteList.replaceChildren(...notes.map((note) => make('li', { textContent: note.text })));
        noteList.hidden = notes.length === 0;
        describeInput(notes.length > 0);
        results.forEach((result, i) => {
            const [first, last] = [module._WebFieldWord(i), module._WebFieldLastWord(i)];
            const warnings = notes.filter((n) => n.word >= first && n.word <= last)
                .map((n) => n.text);
            if (warnings.length) result.title = [result.title, ...warnings].filter(Boolean).join('\n');
            describe(result, i, [sources[i], ...warnings].filter(Boolean).join('\n'));
        });
        lightPointedOrFocused();
        followCaret();
    }

    // No marks until the next "DeBug"; the results' descriptions stay with the results.
    function clear() {
        if (!shown) return;
        light(-1);
        frame(0);
        shown = null;
        backdrop.empty();
        noteList.replaceChildren();
        noteList.hidden = true;
        describeInput(false);
        txtDebugData.removeAttribute('title');
        say('');
    }

    // Links the results built from the module's fields with their characters, at the first
    // decode (or the first clearing): before there are marks, nothing needs the links, and made
    // when the page first went idle they held up whatever came next by a frame's layout.
    let linked = false;
    function link() {
        if (linked) return;
        linked = true;
        backdrop.follow();
        describers.push(...results.map((result) => make('span', { id: `${result.id}Source` })));
        descriptions.append(...describers);
        results.forEach((result, i) => {
            for (const target of [result, captionOf(result)]) {
                target.addEventListener('pointerenter', () => {
                    pointed = i;
                    lightPointedOrFocused();
                });
                target.addEventListener('pointerleave', () => {
                    if (pointed === i) pointed = -1;
                    lightPointedOrFocused();
                });
            }
            result.addEventListener('focus', () => {
                focused = i;
                lightPointedOrFocused();
                reveal(i);
            });
            result.addEventListener('blur', () => {
                if (focused === i) focused = -1;
                lightPointedOrFocused();
            });
        });
    }

    // ---- Wiring ------------------------------------------------------------------------------

    txtDebugData.addEventListener('input', clear);
    for (const name of ['select', 'selectionchange', 'keyup', 'pointerup', 'focus', 'blur'])
        txtDebugData.addEventListener(name, followCaret);
    document.addEventListener('selectionchange', followCaret);
    for (const id of ['cmdReset', 'cmdTrim', 'cmdRestore'])
        document.getElementById(id).addEventListener('click', clear);

    return {
        // The module is ready and the result rows are built from its fields.
        useModule(loaded) {
            module = loaded;
        },
        decoded,
        clear,
        // The results' descriptions belong to shown results: gone when the results are cleared.
        clearResults() {
            link();
            results.forEach((result, i) => describe(result, i, ''));
        },
    };
}
