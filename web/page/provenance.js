// SPDX-License-Identifier: MIT
// Links each result with the characters of the input it was cut from, both ways. Pointing at a
// result or its caption, or focusing a result, marks its characters in the input box; a caret
// or selection in the box frames the results those characters feed. After "DeBug" every word
// that is not eight upper-case hexadecimal digits is marked as a fault and its note listed.
//
// A text box cannot colour characters, so a backdrop behind the transparent box holds the same
// text, laid out alike, with the marks as elements around pieces of it. The backdrop is built
// from text nodes and <mark> elements only, so pasted markup stays text.
//
// Marks hold only while the box holds exactly the text last decoded: an edit, Reset, Trim or
// Restore clears them until the next "DeBug". The module counts code points; the box counts
// UTF-16 units: positions are turned from one into the other here.
'use strict';
// eslint-disable-next-line no-unused-vars
function QuillmarkProvenance(txtDebugData, results) {
    // What the backdrop must share with the box for each character to stand where the box
    // draws it.
    const kMirrored = [
        'boxSizing', 'fontFamily', 'fontSize', 'fontWeight', 'fontStyle', 'fontStretch',
        'fontVariant', 'fontKerning', 'fontFeatureSettings', 'fontVariationSettings',
        'letterSpacing', 'wordSpacing', 'tabSize', 'textIndent', 'textTransform',
        'textAlign', 'textRendering', 'direction', 'whiteSpace', 'overflowWrap', 'wordBreak',
        'hyphens', 'paddingTop', 'paddingLeft', 'paddingBottom', 'borderTopWidth',
        'borderRightWidth', 'borderBottomWidth', 'borderLeftWidth', 'borderRadius',
    ];
    const captionOf = (result) => document.querySelector(`label[for="${result.id}"]`);
    const make = (tag, props) => Object.assign(document.createElement(tag), props);

    // ---- Elements ---------------------------------------------------------------------------

    const box = make('div', { className: 'inputBox' });
    const backdrop = make('div', { className: 'backdrop' });
    backdrop.setAttribute('aria-hidden', 'true');
    txtDebugData.before(box);
    box.append(backdrop, txtDebugData);
    const noteList = make('ul', { id: 'lstInputNotes', className: 'inputNotes', hidden: true });
    noteList.setAttribute('aria-label', 'Words not read as meant');
    box.after(noteList);
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

    // ---- Backdrop ----------------------------------------------------------------------------

    function layOut() {
        const style = getComputedStyle(txtDebugData);
        for (const name of kMirrored) backdrop.style[name] = style[name];
        // As a factor of the font size, as the box has it: a line height in pixels is rounded
        // otherwise, and over a thousand lines the two drift apart.
        const lineHeight = parseFloat(style.lineHeight) / parseFloat(style.fontSize);
        backdrop.style.lineHeight =
            Number.isFinite(lineHeight) ? String(lineHeight) : style.lineHeight;
        // The box's scroll bar narrows its text; the backdrop has none, so it pads the same width.
        const bar = txtDebugData.offsetWidth - txtDebugData.clientWidth -
            parseFloat(style.borderLeftWidth) - parseFloat(style.borderRightWidth);
        backdrop.style.paddingRight = `${parseFloat(style.paddingRight) + Math.max(0, bar)}px`;
        Object.assign(backdrop.style, {
            left: `${txtDebugData.offsetLeft}px`, top: `${txtDebugData.offsetTop}px`,
            width: `${txtDebugData.offsetWidth}px`, height: `${txtDebugData.offsetHeight}px`,
        });
        followScroll();
    }

    function followScroll() {
        backdrop.scrollTop = txtDebugData.scrollTop;
        backdrop.scrollLeft = txtDebugData.scrollLeft;
    }

    // The text cut where any mark begins or ends; each piece inside a mark is a <mark> that
    // knows its fields. A zero-width space at the end gives a trailing line break its line, as
    // the box shows it.
    function fillBackdrop(text, runs, notes) {
        const cuts = new Set([0, text.length]);
        for (const [start, end] of runs.flat().concat(notes.map((n) => [n.start, n.end]))) {
            cuts.add(start);
            cuts.add(end);
        }
        const sorted = [...cuts].sort((a, b) => a - b);
        const pieces = runs.map(() => []);
        const nodes = [];
        for (let i = 0; i + 1 < sorted.length; ++i) {
            const [start, end] = [sorted[i], sorted[i + 1]];
            const piece = text.slice(start, end);
            const fields = runs.map((list) => list.some(([s, e]) => s <= start && end <= e));
            const fault = notes.some((n) => n.start <= start && end <= n.end);
            if (!fault && !fields.includes(true)) {
                nodes.push(document.createTextNode(piece));
                continue;
            }
            const mark = make('mark', { textContent: piece });
            if (fault) mark.className = 'fault';
            fields.forEach((has, field) => has && pieces[field].push(mark));
            nodes.push(mark);
        }
        nodes.push(document.createTextNode('\u200b'));
        backdrop.replaceChildren(...nodes);
        return pieces;
    }

    // ---- Marks -------------------------------------------------------------------------------

    function light(field) {
        if (field === lit) return;
        if (lit >= 0 && shown) for (const mark of shown.pieces[lit]) mark.classList.remove('lit');
        lit = shown ? field : -1;
        if (lit >= 0) for (const mark of shown.pieces[lit]) mark.classList.add('lit');
    }
    const lightPointedOrFocused = () => light(pointed >= 0 ? pointed : focused);

    // Scrolls the box to a focused result's first mark where it stands outside the box's view,
    // as the pointer cannot reach what the keyboard can.
    function reveal(field) {
        const mark = shown && shown.pieces[field][0];
        if (!mark) return;
        const { scrollTop, clientHeight } = txtDebugData;
        const { offsetTop, offsetHeight } = mark;
        if (offsetTop >= scrollTop && offsetTop + offsetHeight <= scrollTop + clientHeight) return;
        txtDebugData.scrollTop = offsetTop - clientHeight / 3;
        followScroll();
    }

    function frame(bits) {
        if (bits === fed) return;
        fed = bits;
        results.forEach((result, i) => result.classList.toggle('fed', ((bits >> i) & 1) === 1));
    }

    function say(text) {
        if (announcer.textContent !== text) announcer.textContent = text;
    }

    // The fields the caret or selection touches, framed and told; a note on the word at the
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
        let note = module._WebNoteAt(start);
        if (note < 0 && start === end && start > 0) note = module._WebNoteAt(start - 1);
        const noteText = note >= 0 ? shown.notes[note].text : '';
        if (noteText) txtDebugData.title = noteText;
        else txtDebugData.removeAttribute('title');
        const names = results.filter((_, i) => (bits >> i) & 1)
            .map((result) => captionOf(result).textContent);
        say([names.length ? `Feeds ${names.join(', ')}` : '', noteText].filter(Boolean).join('. '));
    }

    // ---- Descriptions ------------------------------------------------------------------------

    function describe(result, i, text) {
        describers[i].textContent = text;
        const ids = (result.getAttribute('aria-describedby') || '').split(' ')
            .filter((id) => id && id !== describers[i].id);
        if (text) ids.push(describers[i].id);
        if (ids.length) result.setAttribute('aria-describedby', ids.join(' '));
        else result.removeAttribute('aria-describedby');
    }

    function describeInput(withNotes) {
        const ids = (txtDebugData.getAttribute('aria-describedby') || '').split(' ')
            .filter((id) => id && id !== noteList.id);
        if (withNotes) ids.push(noteList.id);
        txtDebugData.setAttribute('aria-describedby', ids.join(' '));
    }

    // ---- What the page calls -----------------------------------------------------------------

    // Marks and notes of the text the module decoded last, which the box holds.
    function decoded() {
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
        shown = { text, positions, notes, pieces: fillBackdrop(text, runs, notes) };
        noteList.replaceChildren(...notes.map((note) => make('li', { textContent: note.text })));
        noteList.hidden = notes.length === 0;
        describeInput(notes.length > 0);
        results.forEach((result, i) => {
            const [first, last] = [module._WebFieldWord(i), module._WebFieldLastWord(i)];
            const warnings = notes.filter((n) => n.word >= first && n.word <= last)
                .map((n) => n.text);
            const source = take(module._WebSource(i), module._WebSourceSize(i));
            const title = [result.title, ...warnings].filter(Boolean).join('\n');
            if (warnings.length) result.title = title;
            describe(result, i, [source, ...warnings].filter(Boolean).join('\n'));
        });
        // The backdrop's size follows the box by its resize observer; its scroll position is set
        // before the next frame is drawn, so that a decode forces no layout of its own.
        requestAnimationFrame(followScroll);
        lightPointedOrFocused();
        followCaret();
    }

    // No marks until the next "DeBug"; the results' descriptions stay with the results.
    function clear() {
        if (!shown) return;
        light(-1);
        frame(0);
        shown = null;
        backdrop.replaceChildren();
        noteList.replaceChildren();
        noteList.hidden = true;
        describeInput(false);
        txtDebugData.removeAttribute('title');
        say('');
    }

    // ---- Wiring ------------------------------------------------------------------------------

    txtDebugData.addEventListener('input', clear);
    txtDebugData.addEventListener('scroll', followScroll);
    for (const name of ['select', 'selectionchange', 'keyup', 'pointerup', 'focus', 'blur'])
        txtDebugData.addEventListener(name, followCaret);
    document.addEventListener('selectionchange', followCaret);
    for (const id of ['cmdReset', 'cmdTrim', 'cmdRestore'])
        document.getElementById(id).addEventListener('click', clear);
    // The box resized by hand or by the window, or its scroll bar come or gone.
    new ResizeObserver(layOut).observe(txtDebugData);

    return {
        // The module is ready and the result rows are built from its fields: link them.
        useModule(loaded) {
            module = loaded;
            describers.push(...results.map((result) => make('span', { id: `${result.id}Source` })));
            descriptions.append(...describers);
            results.forEach((result, i) => {
                result.tabIndex = 0;  // after the buttons, in reading order
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
        },
        decoded,
        clear,
        // The results' descriptions belong to shown results: gone when the results are cleared.
        clearResults() { results.forEach((result, i) => describe(result, i, '')); },
    };
}
