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
    // trailing line break its line, as the box shows it. One sweep over the marks' ends in
    // order keeps how many runs of each field (and how many faults) hold the current piece.
    function fill(text, runs, notes) {
        follow();
        const kFault = runs.length;
        const ends = [];  // position, field (kFault for a faulty word), +1 at a start, -1 at an end
        runs.forEach((list, field) => {
            for (const [start, end] of list) if (start < end) ends.push([start, field, 1], [end, field, -1]);
        });
        for (const { start, end } of notes) if (start < end) ends.push([start, kFault, 1], [end, kFault, -1]);
        ends.sort((a, b) => a[0] - b[0]);
        const depth = new Int32Array(kFault + 1);
        const pieces = runs.map(() => []);
        const nodes = document.createDocumentFragment();
        let marked = 0;  // how many runs and faults hold the current piece
        for (let i = 0, at = 0; at < text.length || i < ends.length;) {
            const next = i < ends.length ? Math.min(ends[i][0], text.length) : text.length;
            if (next > at) {
                const piece = text.slice(at, next);
                if (marked === 0) {
                    nodes.append(piece);
                } else {
                    const mark = document.createElement('mark');
                    mark.textContent = piece;
                    if (depth[kFault] > 0) mark.className = 'fault';
                    for (let field = 0; field < kFault; ++field) if (depth[field] > 0) pieces[field].push(mark);
                    nodes.append(mark);
                }
                at = next;
            }
            for (; i < ends.length && Math.min(ends[i][0], text.length) === next; ++i) {
                depth[ends[i][1]] += ends[i][2];
                marked += ends[i][2];
            }
            if (i === ends.length && next === text.length) break;
        }
        nodes.append('\u200b');
        backdrop.replaceChildren(nodes);
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
