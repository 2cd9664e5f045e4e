// SPDX-License-Identifier: MIT
// A whole console log in the page: opened from a file (the "Open log…" button or a file dropped
// anywhere on the page) or pasted, when the paste holds more than one BUG message. The module's
// log reader finds the messages, block by block with a pause between blocks so that the page
// keeps answering; they are listed as they come, and counted in bars when the log has ended.
// Choosing a message puts its dump into the input box and decodes it. The log is read where it
// is, in the browser: nothing of it is sent anywhere.
'use strict';
// eslint-disable-next-line no-unused-vars
function QuillmarkLogView({ open, captionOf }) {
    // A block takes the module some tens of milliseconds: input waits no longer than that.
    const kBlockBytes = 1 << 18;
    const kBlockChars = 1 << 17;
    const kShownNames = 8;  // per field; the rest are summed up in one line
    const make = (tag, props, ...children) => {
        const element = Object.assign(document.createElement(tag), props);
        element.append(...children);
        return element;
    };

    // ---- Elements ---------------------------------------------------------------------------

    // The file button is built when the page is idle once the module is ready (it opens
    // nothing before); the view itself when the first log is opened. Neither is laid out
    // before the first paint.
    let view = null;
    let heading;
    let list;
    let chosenNotes;
    let chart;
    function addFileButton() {
        if (document.getElementById('logFile')) return;
        const file = make('input', { type: 'file', id: 'logFile', className: 'offscreen' });
        file.accept = '.txt,.log,text/plain';
        const fileButton = make('label', { htmlFor: 'logFile', className: 'fileButton' }, 'Open log\u2026');
        document.querySelector('.commands').append(file, fileButton);
        file.addEventListener('change', () => {
            openFile(file.files[0]);
            file.value = '';
        });
    }
    function buildView() {
        if (view) return;
        heading = make('h2', { id: 'logHeading' });
        list = make('ol', { id: 'dumpList', tabIndex: 0 });
        list.setAttribute('role', 'listbox');
        list.setAttribute('aria-labelledby', 'logHeading');
        chosenNotes = make('p', { id: 'dumpNotes', className: 'hint' });
        chosenNotes.setAttribute('aria-live', 'polite');
        chart = make('div', { id: 'logSummary' });
        view = make('section', { id: 'logView', hidden: true },
            heading, make('div', { className: 'logParts' }, make('div', {}, list, chosenNotes), chart));
        view.setAttribute('aria-labelledby', 'logHeading');
        document.querySelector('.results').before(view);
        list.addEventListener('scroll', () => {
            if (renderQueued) return;
            renderQueued = true;
            requestAnimationFrame(() => { renderQueued = false; render(); });
        }, { passive: true });
        list.addEventListener('keydown', (event) => {
            let to = null;
            if (event.key in kSteps) to = Math.min(total - 1, Math.max(0, Math.max(chosen, 0) + kSteps[event.key]));
            else if (event.key === 'Home') to = 0;
            else if (event.key === 'End') to = total - 1;
            else if (event.key === 'Enter') to = Math.max(chosen, 0);
            if (to === null) return;
            event.preventDefault();
            choose(to);
        });
        list.addEventListener('click', (event) => {
            const item = event.target.closest('li[role="option"]');
            if (item) choose(Number(item.id.slice(4)));
        });
    }

    // ---- Reading ----------------------------------------------------------------------------

    let module = null;
    let reading = 0;  // the log being read; a newer one stops an older
    let busy = false;
    let name = '';
    // The messages as the module handed them, a block at a time: per block its first message,
    // the module's table (kColumns numbers a message) and the texts those numbers measure.
    // A message's texts are made only when it is shown or chosen.
    const kColumns = 6;
    let blocks = [];
    let total = 0;
    let chosen = -1;
    const utf8 = new TextDecoder('utf-8', { ignoreBOM: true });
    const encoder = new TextEncoder();

    // Hands a block to the reader; `finish` ends the log. Keeps what the block completed and
    // returns how many messages that is.
    function feed(bytes, finish) {
        if (bytes) module.HEAPU8.set(bytes, module._WebInput(bytes.length));
        const count = finish ? module._WebLogFinish() : module._WebLogFeed();
        if (count === 0) return 0;
        const table = new Uint32Array(module.HEAPU8.buffer, module._WebLogTable(), count * kColumns).slice();
        const starts = new Uint32Array(count + 1);
        for (let i = 0; i < count; ++i) {
            let size = 0;
            for (let c = 2; c < kColumns; ++c) size += table[i * kColumns + c];
            starts[i + 1] = starts[i] + size;
        }
        const at = module._WebAnswer();
        const texts = module.HEAPU8.slice(at, at + starts[count]);
        blocks.push({ first: total, count, table, starts, texts });
        total += count;
        return count;
    }

    function message(index) {
        let low = 0;
        for (let high = blocks.length - 1; low < high;) {
            const middle = (low + high + 1) >> 1;
            if (blocks[middle].first <= index) low = middle;
            else high = middle - 1;
        }
        const { first, table, starts, texts } = blocks[low];
        const row = (index - first) * kColumns;
        let at = starts[index - first];
        const [bug, mainPM, text, noteText] = [2, 3, 4, 5].map((c) => {
            const piece = utf8.decode(texts.subarray(at, at + table[row + c]));
            at += table[row + c];
            return piece;
        });
        return { line: table[row], notes: table[row + 1], bug, mainPM, text, noteText };
    }

    // Where a block of a text that starts at `at` ends, never cutting a character in two.
    function blockEnd(text, at) {
        const end = Math.min(at + kBlockChars, text.length);
        const last = text.charCodeAt(end - 1);
        return end < text.length && last >= 0xd800 && last <= 0xdbff ? end - 1 : end;
    }

    // The blocks of a file, or of a text as UTF-8.
    async function* blocksOf(source) {
        if (typeof source !== 'string') {
            for (let at = 0; at < source.size; at += kBlockBytes) {
                yield new Uint8Array(await source.slice(at, at + kBlockBytes).arrayBuffer());
            }
            return;
        }
        for (let at = 0; at < source.length;) {
            const end = blockEnd(source, at);
            yield encoder.encode(source.slice(at, end));
            at = end;
            await new Promise((resolve) => setTimeout(resolve));
        }
    }

    // `fresh`: the reader starts anew; otherwise it has read the log's beginning already.
    function start(title, fresh = true) {
        if (fresh) {
            module._WebLogStart();
            blocks = [];
            total = 0;
        }
        buildView();
        ++reading;
        busy = true;
        name = title;
        chosen = -1;
        list.scrollTop = 0;
        list.removeAttribute('aria-activedescendant');
        chart.replaceChildren();
        chosenNotes.textContent = '';
        heading.textContent = `${name}: reading\u2026`;
        view.hidden = false;
        render();
    }

    async function read(source) {
        const run = reading;
        try {
            for await (const bytes of blocksOf(source)) {
                if (run !== reading) return;
                if (feed(bytes, false) > 0) render();
            }
        } catch (error) {
            if (run === reading) heading.textContent = `${name}: cannot be read (${error.message})`;
            busy = false;
            return;
        }
        if (run !== reading) return;
        feed(null, true);
        finished();
    }

    function finished() {
        busy = false;
        heading.textContent = `${name}: ${total} BUG ${total === 1 ? 'message' : 'messages'}`;
        render();
        summarise();
        if (total > 0 && chosen < 0) choose(0);
    }

    // ---- The list ---------------------------------------------------------------------------

    // A log may hold a hundred thousand messages: the list holds elements for the rows in view
    // only, all of one height, and margins stand for the rest, so the scroll bar tells the
    // whole log. Each row says where it stands among all (aria-posinset, aria-setsize).
    let rowHeight = 0;
    function render() {
        if (!rowHeight) {
            list.append(make('li', {}, 'x'));
            rowHeight = list.firstElementChild.getBoundingClientRect().height || 24;
        }
        const first = Math.max(0, Math.floor(list.scrollTop / rowHeight) - 4);
        const last = Math.min(total, first + Math.ceil((list.clientHeight || 400) / rowHeight) + 8);
        const items = [];
        for (let index = first; index < last; ++index) {
            const { line, notes, bug, mainPM, noteText } = message(index);
            const item = make('li', { id: `dump${index}` },
                make('span', { className: 'line' }, `${line}`), make('span', {}, bug), make('span', {}, mainPM));
            item.dataset.line = line;
            item.setAttribute('role', 'option');
            item.setAttribute('aria-selected', `${index === chosen}`);
            item.setAttribute('aria-posinset', `${index + 1}`);
            item.setAttribute('aria-setsize', `${total}`);
            if (notes > 0) {
                const mark = make('span', { className: 'noted', title: noteText.trimEnd() }, '!');
                mark.setAttribute('aria-label', notes === 1 ? 'one note' : `${notes} notes`);
                item.append(mark);
            }
            items.push(item);
        }
        if (items.length > 0) {
            items[0].style.marginTop = `${first * rowHeight}px`;
            items[items.length - 1].style.marginBottom = `${(total - last) * rowHeight}px`;
        }
        list.replaceChildren(...items);
    }
    let renderQueued = false;

    function choose(index) {
        if (index < 0 || index >= total) return;
        chosen = index;
        // The list scrolls to the row; the page stays where it is.
        const top = index * rowHeight;
        if (top < list.scrollTop) list.scrollTop = top;
        else if (top + rowHeight > list.scrollTop + list.clientHeight) list.scrollTop = top + rowHeight - list.clientHeight;
        render();
        list.setAttribute('aria-activedescendant', `dump${index}`);
        const { line, bug, text, noteText } = message(index);
        chosenNotes.textContent = `Line ${line}, ${bug}` + (noteText ? `: ${noteText.trimEnd().replace(/\n/g, '; ')}` : '');
        open(text);
    }

    const kSteps = { ArrowDown: 1, ArrowUp: -1, PageDown: 10, PageUp: -10 };

    // ---- The counts -------------------------------------------------------------------------

    // One group of bars, each as long as its count against the group's largest, the number
    // written beside it (the bar itself is hidden from screen readers).
    function bars(title, rows) {
        const most = Math.max(1, ...rows.map(([, count]) => count));
        const group = make('ul', { className: 'bars' });
        for (const [label, count] of rows) {
            const fill = make('span', { className: 'fill' });
            fill.style.width = `${(100 * count) / most}%`;
            const bar = make('span', { className: 'bar' }, fill);
            bar.setAttribute('aria-hidden', 'true');
            group.append(make('li', {}, make('span', { className: 'name' }, label), bar,
                make('span', { className: 'count' }, `${count}`)));
        }
        chart.append(make('h3', {}, title), group);
    }

    function summarise() {
        module._WebLogSummary();
        const text = utf8.decode(module.HEAPU8.subarray(module._WebAnswer(), module._WebAnswer() + module._WebAnswerSize()));
        const groups = new Map();
        for (const line of text.split('\n')) {
            if (line === '') continue;
            const [key, label, count] = line.split('\t');
            if (!groups.has(key)) groups.set(key, []);
            groups.get(key).push([label, Number(count)]);
        }
        for (const [key, rows] of groups) {
            const shown = rows.slice(0, kShownNames);
            const rest = rows.slice(kShownNames);
            if (rest.length > 0) {
                shown.push([`${rest.length} other names`, rest.reduce((sum, [, count]) => sum + count, 0)]);
            }
            bars(key === '' ? 'The log' : captionOf(key), shown);
        }
    }

    // ---- Ways in ----------------------------------------------------------------------------

    function openFile(chosenFile) {
        if (!module || !chosenFile) return;
        start(chosenFile.name);
        read(chosenFile);
    }

    const carriesFiles = (event) => event.dataTransfer && Array.from(event.dataTransfer.types).includes('Files');
    document.addEventListener('dragover', (event) => {
        if (carriesFiles(event)) event.preventDefault();
    });
    document.addEventListener('paste', (event) => {
        if (!event.defaultPrevented && event.clipboardData &&
            pasted(event.clipboardData.getData('text/plain'))) event.preventDefault();
    });
    document.addEventListener('drop', (event) => {
        if (!carriesFiles(event)) return;
        event.preventDefault();
        openFile(event.dataTransfer.files[0]);
    });

    // A pasted text is a log when the reader finds more than one message in it: read at once
    // until the second one ends, then on as a log. Otherwise it is for the input box (false).
    function pasted(text) {
        if (!module || busy) return false;
        const shown = [blocks, total];  // the log listed before, if this is no log
        module._WebLogStart();
        blocks = [];
        total = 0;
        let at = 0;
        while (at < text.length && total < 2) {
            const end = blockEnd(text, at);
            feed(encoder.encode(text.slice(at, end)), false);
            at = end;
        }
        const ended = total < 2;
        if (ended) feed(null, true);
        if (total < 2) {
            [blocks, total] = shown;
            return false;
        }
        start('Pasted log', false);
        if (ended) finished();
        else read(text.slice(at));
        return true;
    }

    return {
        useModule(loaded) {
            module = loaded;
        },
        addFileButton,
        pasted,
    };
}
