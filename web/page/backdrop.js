// SPDX-License-Identifier: MIT
// The backdrop behind the input box. A text box cannot colour characters, so the backdrop holds
// the same text, laid out alike, with marks as elements around pieces of it, and the box above
// it is transparent. It is built from text nodes and <mark> elements only, so pasted markup
// stays text.
//
// Until the first marks the box draws its own field and the backdrop is not shown; from then
// on the backdrop follows the box's size, scroll bar and scroll position.
'use strict';
// eslint-disable-next-line no-unused-vars
function QuillmarkBackdrop(txtDebugData) {
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
    const box = txtDebugData.parentElement;
    const backdrop = box.querySelector('.backdrop');
    let following = false;

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

    // From here on the backdrop draws the field. Its resize observer lays it out before the next
    // frame is drawn (the box resized by hand or by the window, or its scroll bar come or gone),
    // so that starting forces no layout of its own.
    function follow() {
        if (following) return;
        following = true;
        txtDebugData.addEventListener('scroll', followScroll);
        new ResizeObserver(layOut).observe(txtDebugData);
        box.classList.add('marking');
    }

    // The text cut where any mark begins or ends; each piece inside a mark is a <mark> that
    // knows its fields. Returns, per field, its marks. A zero-width space at the end gives a
    // trailing line break its line, as the box shows it.
    function fill(text, runs, notes) {
        follow();
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
            const mark = Object.assign(document.createElement('mark'), { textContent: piece });
            if (fault) mark.className = 'fault';
            fields.forEach((has, field) => has && pieces[field].push(mark));
            nodes.push(mark);
        }
        nodes.push(document.createTextNode('\u200b'));
        backdrop.replaceChildren(...nodes);
        // Its scroll position is set before the next frame is drawn, so that filling forces no
        // layout of its own.
        requestAnimationFrame(followScroll);
        return pieces;
    }

    // Scrolls the box to a mark where it stands outside the box's view, as the pointer cannot
    // reach what the keyboard can.
    function reveal(mark) {
        const { scrollTop, clientHeight } = txtDebugData;
        const { offsetTop, offsetHeight } = mark;
        if (offsetTop >= scrollTop && offsetTop + offsetHeight <= scrollTop + clientHeight) return;
        txtDebugData.scrollTop = offsetTop - clientHeight / 3;
        followScroll();
    }

    return { follow, fill, empty: () => backdrop.replaceChildren(), reveal };
}
